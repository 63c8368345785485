#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace harmonet {

namespace {

QString translated(const char* text)
{
    return QCoreApplication::translate("CommandLine", text);
}

// The program's options and what the parser made of the arguments.
struct Parsed {
    QCommandLineParser parser;
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")},
                            translated(QT_TRANSLATE_NOOP("CommandLine", "Shows this help and ends."))};
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")},
                               translated(QT_TRANSLATE_NOOP("CommandLine", "Shows the version and ends."))};
    bool understood = false;

    explicit Parsed(const QStringList& arguments)
    {
        parser.setApplicationDescription(QCoreApplication::translate(
            "CommandLine", "Plays MIDI files for singers learning their part of a choral piece: mute or "
                           "emphasise voices, change the tempo and follow the words."));
        parser.addOption(help);
        parser.addOption(version);
        parser.addPositionalArgument(QStringLiteral("file"), translated(QT_TRANSLATE_NOOP("CommandLine", "The MIDI file to open.")),
                                     translated(QT_TRANSLATE_NOOP("CommandLine", "[file]")));
        understood = parser.parse(arguments);
    }

    CommandLine::Action action() const
    {
        if (!understood) {
            return CommandLine::Action::Refuse;
        }
        if (parser.isSet(help)) {
            return CommandLine::Action::ShowHelp;
        }
        return parser.isSet(version) ? CommandLine::Action::ShowVersion : CommandLine::Action::Run;
    }
};

} // namespace

CommandLine::Action commandLineAction(const QStringList& arguments)
{
    return Parsed(arguments).action();
}

CommandLine readCommandLine(const QStringList& arguments)
{
    const Parsed parsed(arguments);
    CommandLine line;
    line.action = parsed.action();
    switch (line.action) {
    case CommandLine::Action::Refuse:
        line.text = QCoreApplication::translate("CommandLine", "%1: %2\nTry \"%1 --help\".\n")
                        .arg(arguments.isEmpty() ? QStringLiteral("harmonet") : arguments.constFirst(),
                             parsed.parser.errorText());
        break;
    case CommandLine::Action::ShowHelp:
        line.text = parsed.parser.helpText();
        break;
    case CommandLine::Action::ShowVersion:
        line.text = QStringLiteral("Harmonet %1\n").arg(QStringLiteral(HARMONET_VERSION));
        break;
    case CommandLine::Action::Run:
        line.files = parsed.parser.positionalArguments();
        break;
    }
    return line;
}

} // namespace harmonet
