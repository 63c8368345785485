#pragma once

#include <QString>
#include <QStringList>

namespace harmonet {

// What the command line asks of the program: harmonet [--help] [--version] [FILE].
struct CommandLine {
    enum class Action { Run, ShowHelp, ShowVersion, Refuse };
    Action action = Action::Run;
    // The arguments after the options, for the main window: the first names
    // the file to open.
    QStringList files;
    // What to print for ShowHelp and ShowVersion (standard output) and for
    // Refuse (standard error, with the exit code 2).
    QString text;
};

// Reads the program's arguments, its own name first. Help and version come
// before anything else on the line; an option the program does not know is
// refused with a pointer to --help. The help's texts are those of the
// language installed; it needs the application object.
CommandLine readCommandLine(const QStringList& arguments);

// Only what the arguments ask, without the texts: it needs no application
// object, so help and version can be answered without a display.
CommandLine::Action commandLineAction(const QStringList& arguments);

} // namespace harmonet
