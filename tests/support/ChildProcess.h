#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <optional>
#include <sys/types.h>

namespace harmonet::test {

// A program run as a child of this process, started with a plain fork and exec.
//
// QProcess starts its children with a vfork-like clone whose child runs for a
// moment in this process's memory and on the starting thread's state.
// ThreadSanitizer does not see that start, and from then on it records none
// of the starting thread's synchronisation: every release that thread makes is
// lost, so correct hand-overs from it to other threads are reported as races.
// A fork it sees and handles, so helpers of threaded tests start their
// programs through this class.
class ChildProcess {
public:
    struct Options {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        // Standard output (and errors, with errorsToOutput) are appended to
        // this file; when empty they go nowhere.
        QString outputFile;
        bool errorsToOutput = false;
        // The child is killed when this process ends, however it ends.
        bool dieWithParent = false;
    };

    // How run() runs a program to its end.
    struct RunOptions {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        // Where the child starts; this process's folder when empty.
        QString workingDirectory;
        // The child's standard output goes to this file instead of the result.
        QString outputFile;
        // Errors come with the output instead of apart.
        bool errorsToOutput = false;
        // The child may write no file beyond this many bytes, as on a full disk.
        // A write beyond raises SIGXFSZ, which ends the child unless it ignores
        // the signal (then the write fails). Unlimited when empty.
        std::optional<quint64> fileSizeLimit;
        int timeoutMs = 60000;
    };

    struct Result {
        bool started = false;
        // Ended within the time given; otherwise it was killed.
        bool finished = false;
        // Set when it ended by exiting, not by a signal.
        std::optional<int> exitCode;
        QByteArray output;
        QByteArray errors;
    };

    ChildProcess() = default;
    ~ChildProcess(); // kills and reaps a child still running
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // False when the program could not be run.
    bool start(const QString& program, const QStringList& arguments, const Options& options);
    bool running();
    void terminate();
    void kill();
    // Polls until the child ended or timeoutMs passed; true when it ended.
    bool waitForFinished(int timeoutMs);
    // The exit code of a child that ended by exiting; nothing while it runs
    // or when a signal ended it.
    std::optional<int> exitCode();

    // Runs a program to its end, reading what it writes as it goes.
    static Result run(const QString& program, const QStringList& arguments, const RunOptions& options);

    // Runs a program to its end; its standard output when it exited with 0
    // within timeoutMs, otherwise nothing (and it is killed).
    static std::optional<QByteArray> output(const QString& program, const QStringList& arguments,
                                            const QProcessEnvironment& environment, int timeoutMs);

private:
    // What the child gets besides its program: open ends for its output and
    // errors (-1: the files of Options), a folder, a file-size limit.
    struct ChildSetUp {
        int outputFd = -1;
        int errorFd = -1;
        QByteArray workingDirectory;
        std::optional<quint64> fileSizeLimit;
    };
    bool launch(const QString& program, const QStringList& arguments, const Options& options,
                const ChildSetUp& setUp);
    void signal(int number);

    pid_t m_pid = -1;
    int m_status = 0;
};

} // namespace harmonet::test
