#include "tests/support/ChildProcess.h"

#include <QDeadlineTimer>
#include <QFile>

#include <algorithm>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace harmonet::test {

namespace {
// Strings prepared before the fork: the child only calls what is safe there.
struct CStrings {
    explicit CStrings(const QStringList& strings)
    {
        for (const QString& string : strings) {
            storage.push_back(string.toLocal8Bit());
        }
        for (QByteArray& string : storage) {
            pointers.push_back(string.data());
        }
        pointers.push_back(nullptr);
    }
    std::vector<QByteArray> storage;
    std::vector<char*> pointers;
};

void closeFd(int& fd)
{
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
}
} // namespace

ChildProcess::~ChildProcess()
{
    if (running()) {
        kill();
        waitForFinished(3000);
    }
}

bool ChildProcess::start(const QString& program, const QStringList& arguments, const Options& options)
{
    return launch(program, arguments, options, ChildSetUp{});
}

bool ChildProcess::launch(const QString& program, const QStringList& arguments, const Options& options,
                          const ChildSetUp& setUp)
{
    const CStrings argv(QStringList{program} + arguments);
    const CStrings envp(options.environment.toStringList());
    const QByteArray file = program.toLocal8Bit();
    const QByteArray outputFile = options.outputFile.toLocal8Bit();
    int started[2] = {-1, -1}; // closed by a successful exec; carries errno otherwise
    if (::pipe2(started, O_CLOEXEC) != 0) {
        return false;
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (options.dieWithParent) {
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        }
        if (setUp.fileSizeLimit) {
            const rlimit limit{rlim_t(*setUp.fileSizeLimit), rlim_t(*setUp.fileSizeLimit)};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        int error = 0;
        if (!setUp.workingDirectory.isEmpty() && ::chdir(setUp.workingDirectory.constData()) != 0) {
            error = errno;
        }
        const int devNull = ::open("/dev/null", O_RDWR);
        const int out = setUp.outputFd >= 0 ? setUp.outputFd
                        : outputFile.isEmpty()
                            ? devNull
                            : ::open(outputFile.constData(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        const int errors = setUp.errorFd >= 0 ? setUp.errorFd : options.errorsToOutput ? out : devNull;
        ::dup2(devNull, STDIN_FILENO);
        ::dup2(out, STDOUT_FILENO);
        ::dup2(errors, STDERR_FILENO);
        if (error == 0) {
            ::execvpe(file.constData(), argv.pointers.data(), envp.pointers.data());
            error = errno;
        }
        [[maybe_unused]] const auto written = ::write(started[1], &error, sizeof error);
        ::_exit(127);
    }
    closeFd(started[1]);
    if (pid < 0) {
        closeFd(started[0]);
        return false;
    }
    m_pid = pid;
    int error = 0;
    ssize_t got = 0;
    do {
        got = ::read(started[0], &error, sizeof error);
    } while (got < 0 && errno == EINTR);
    closeFd(started[0]);
    if (got > 0) {
        waitForFinished(3000);
        return false;
    }
    return true;
}

bool ChildProcess::running()
{
    if (m_pid <= 0) {
        return false;
    }
    int status = 0;
    if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
        m_status = status;
        m_pid = -1;
        return false;
    }
    return true;
}

void ChildProcess::signal(int number)
{
    if (m_pid > 0) {
        ::kill(m_pid, number);
    }
}

void ChildProcess::terminate()
{
    signal(SIGTERM);
}

void ChildProcess::kill()
{
    signal(SIGKILL);
}

std::optional<int> ChildProcess::exitCode()
{
    if (m_pid > 0 && running()) {
        return std::nullopt;
    }
    return WIFEXITED(m_status) ? std::optional<int>(WEXITSTATUS(m_status)) : std::nullopt;
}

bool ChildProcess::waitForFinished(int timeoutMs)
{
    if (!running()) {
        return true;
    }
    // The child's pidfd becomes readable the moment it ends: no polling.
    const int pidFd = int(::syscall(SYS_pidfd_open, m_pid, 0));
    if (pidFd < 0) {
        return !running();
    }
    const QDeadlineTimer deadline(timeoutMs);
    pollfd ended{pidFd, POLLIN, 0};
    while (running() && !deadline.hasExpired()) {
        ::poll(&ended, 1, int(std::max<qint64>(1, deadline.remainingTime())));
    }
    ::close(pidFd);
    return !running();
}

ChildProcess::Result ChildProcess::run(const QString& program, const QStringList& arguments,
                                       const RunOptions& options)
{
    Result result;
    // Read ends first, then the child's ends; each pair closes on exec.
    int outputPipe[2] = {-1, -1};
    int errorPipe[2] = {-1, -1};
    int outputFile = -1;
    if (!options.outputFile.isEmpty()) {
        outputFile = ::open(options.outputFile.toLocal8Bit().constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC,
                            0644);
    }
    if ((options.outputFile.isEmpty() ? ::pipe2(outputPipe, O_CLOEXEC) : (outputFile < 0 ? -1 : 0)) != 0
        || (!options.errorsToOutput && ::pipe2(errorPipe, O_CLOEXEC) != 0)) {
        for (int* fd : {&outputPipe[0], &outputPipe[1], &errorPipe[0], &errorPipe[1], &outputFile}) {
            closeFd(*fd);
        }
        return result;
    }
    ChildSetUp setUp;
    setUp.outputFd = outputFile >= 0 ? outputFile : outputPipe[1];
    setUp.errorFd = options.errorsToOutput ? setUp.outputFd : errorPipe[1];
    setUp.workingDirectory = QFile::encodeName(options.workingDirectory);
    setUp.fileSizeLimit = options.fileSizeLimit;
    Options launchOptions;
    launchOptions.environment = options.environment;
    ChildProcess child;
    result.started = child.launch(program, arguments, launchOptions, setUp);
    for (int* fd : {&outputPipe[1], &errorPipe[1], &outputFile}) {
        closeFd(*fd);
    }

    // Both streams are read as they come, so that a child filling one pipe
    // never waits on a reader stuck on the other.
    struct Stream {
        int& fd;
        QByteArray& text;
    };
    Stream streams[] = {{outputPipe[0], result.output}, {errorPipe[0], result.errors}};
    const QDeadlineTimer deadline(options.timeoutMs);
    const auto anyOpen = [&streams] {
        return std::any_of(std::begin(streams), std::end(streams), [](const Stream& s) { return s.fd >= 0; });
    };
    while (result.started && anyOpen() && !deadline.hasExpired()) {
        pollfd readable[2] = {{streams[0].fd, POLLIN, 0}, {streams[1].fd, POLLIN, 0}};
        if (::poll(readable, 2, int(std::max<qint64>(deadline.remainingTime(), 1))) <= 0) {
            continue;
        }
        for (int i = 0; i < 2; ++i) {
            if (streams[i].fd < 0 || readable[i].revents == 0) {
                continue;
            }
            char buffer[4096];
            const ssize_t got = ::read(streams[i].fd, buffer, sizeof buffer);
            if (got > 0) {
                streams[i].text.append(buffer, got);
            } else if (got == 0 || errno != EINTR) {
                closeFd(streams[i].fd);
            }
        }
    }
    const bool streamsEnded = !anyOpen();
    for (Stream& stream : streams) {
        closeFd(stream.fd);
    }
    if (!result.started) {
        return result;
    }
    // A child writing to a file has no streams: its end is waited for here.
    result.finished = streamsEnded && child.waitForFinished(int(std::max<qint64>(deadline.remainingTime(), 1000)));
    if (!result.finished) {
        child.kill();
        child.waitForFinished(3000);
        return result;
    }
    result.exitCode = child.exitCode();
    return result;
}

std::optional<QByteArray> ChildProcess::output(const QString& program, const QStringList& arguments,
                                               const QProcessEnvironment& environment, int timeoutMs)
{
    RunOptions options;
    options.environment = environment;
    options.timeoutMs = timeoutMs;
    Result result = run(program, arguments, options);
    if (!result.finished || result.exitCode != 0) {
        return std::nullopt;
    }
    return std::move(result.output);
}

} // namespace harmonet::test
