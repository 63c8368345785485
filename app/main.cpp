// Program entry: harmonet [--help] [--version] [FILE]. Help and version are
// answered on the terminal without opening a window. Otherwise the
// interface takes the desktop's language, the main window is created first,
// then the settings window and the lyrics window, each given what it uses;
// then the main window opens the output port chosen in the settings window.
// The player answers the desktop's media controls on the session bus where
// there is one. The program ends when the main window closes.
#include "app/CommandLine.h"
#include "app/HarmonetApplication.h"
#include "core/ErrorReport.h"
#include "player/DesktopMediaControl.h"
#include "player/StartupWindows.h"
#include "player/UnitMain.h"
#include "remote/MprisService.h"
#include "translations/Language.h"


#include <cstdio>
#include <memory>

#include <QCoreApplication>

namespace {

QStringList argumentsOf(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    return arguments;
}

// Prints what the command line asked for; the exit code.
int answer(const harmonet::CommandLine& line)
{
    const QByteArray text = line.text.toLocal8Bit();
    const bool refused = line.action == harmonet::CommandLine::Action::Refuse;
    std::fputs(text.constData(), refused ? stderr : stdout);
    return refused ? 2 : 0;
}

} // namespace

int main(int argc, char** argv)
{
    using harmonet::CommandLine;
    // Qt's own options (-platform, -style) are only known once the
    // application has taken them out: a line it would refuse now may run.
    const CommandLine::Action asked = harmonet::commandLineAction(argumentsOf(argc, argv));
    if (asked == CommandLine::Action::ShowHelp || asked == CommandLine::Action::ShowVersion) {
        QCoreApplication terminal(argc, argv);
        harmonet::installTranslations(terminal);
        return answer(harmonet::readCommandLine(terminal.arguments()));
    }

    harmonet::THarmonetApplication app(argc, argv);
    harmonet::installTranslations(app);
    const CommandLine line = harmonet::readCommandLine(app.arguments());
    if (line.action != CommandLine::Action::Run) {
        return answer(line);
    }
    app.setTitle(QCoreApplication::translate("Application", "Harmonet - Midi Player"));

    // An error while the windows are created ends the start-up with its message.
    std::unique_ptr<harmonet::TfrmMain> frmMain;
    const bool created = harmonet::runGuarded([&] {
        frmMain = std::make_unique<harmonet::TfrmMain>();
        frmMain->SetCommandLine(line.files);
        harmonet::createSecondaryWindows(*frmMain);
    });
    if (!created) {
        return 1;
    }
    harmonet::DesktopMediaControl mediaControl(*frmMain);
    const auto mediaKeys = harmonet::MprisService::publish(mediaControl);
    frmMain->show();
    return app.exec();
}
