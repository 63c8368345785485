#include "tests/support/ChildProcess.h"

#include <QDeadlineTimer>

#include <algorithm>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
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
    return launch(program, arguments, options, -1);
}

bool ChildProcess::launch(const QString& program, const QStringList& arguments, const Options& options,
                          int outputFd)
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
        const int devNull = ::open("/dev/null", O_RDWR);
        const int out = outputFd >= 0 ? outputFd
                        : outputFile.isEmpty()
                            ? devNull
                            : ::open(outputFile.constData(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        ::dup2(devNull, STDIN_FILENO);
        ::dup2(out, STDOUT_FILENO);
        ::dup2(options.errorsToOutput ? out : devNull, STDERR_FILENO);
        ::execvpe(file.constData(), argv.pointers.data(), envp.pointers.data());
        const int error = errno;
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

std::optional<QByteArray> ChildProcess::output(const QString& program, const QStringList& arguments,
                                               const QProcessEnvironment& environment, int timeoutMs)
{
    int pipeFds[2] = {-1, -1};
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
        return std::nullopt;
    }
    ChildProcess child;
    Options options;
    options.environment = environment;
    // The child's end loses O_CLOEXEC when dup2 places it on its standard output.
    const bool started = child.launch(program, arguments, options, pipeFds[1]);
    closeFd(pipeFds[1]);
    QByteArray text;
    const QDeadlineTimer deadline(timeoutMs);
    bool ended = !started;
    while (!ended && !deadline.hasExpired()) {
        pollfd readable{pipeFds[0], POLLIN, 0};
        if (::poll(&readable, 1, int(std::max<qint64>(deadline.remainingTime(), 1))) <= 0) {
            continue;
        }
        char buffer[4096];
        const ssize_t got = ::read(pipeFds[0], buffer, sizeof buffer);
        if (got > 0) {
            text.append(buffer, got);
        } else if (got == 0 || errno != EINTR) {
            ended = true;
        }
    }
    closeFd(pipeFds[0]);
    if (!started || !ended || !child.waitForFinished(int(std::max<qint64>(deadline.remainingTime(), 1000)))) {
        return std::nullopt;
    }
    if (!WIFEXITED(child.m_status) || WEXITSTATUS(child.m_status) != 0) {
        return std::nullopt;
    }
    return text;
}

} // namespace harmonet::test
