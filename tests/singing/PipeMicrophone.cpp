#include "tests/singing/PipeMicrophone.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace harmonet::test {

namespace {
// How far ahead of its time a sample may be written: about one fragment.
constexpr auto Lead = std::chrono::milliseconds(5);
constexpr auto Step = std::chrono::milliseconds(5);
} // namespace

PipeMicrophone::PipeMicrophone(PrivateSoundServer& server)
    : m_server(server)
{
    // A write into a pipe nobody reads any more fails instead of ending the test.
    std::signal(SIGPIPE, SIG_IGN);
    m_fifo = QDir::temp().filePath(QStringLiteral("harmonet-mic-%1.fifo").arg(getpid()));
}

PipeMicrophone::~PipeMicrophone()
{
    m_stop = true;
    if (m_singer.joinable()) {
        m_singer.join();
    }
    pullOut();
}

bool PipeMicrophone::plugIn()
{
    QFile::remove(m_fifo);
    const std::optional<QString> module = m_server.pactl(
        {QStringLiteral("load-module"), QStringLiteral("module-pipe-source"), QStringLiteral("source_name=mic"),
         QStringLiteral("file=") + m_fifo, QStringLiteral("format=float32le"), QStringLiteral("rate=%1").arg(Rate),
         QStringLiteral("channels=1")});
    if (!module) {
        return false;
    }
    m_module = module->trimmed();
    return m_server.pactl({QStringLiteral("set-default-source"), QStringLiteral("mic")}).has_value();
}

bool PipeMicrophone::pullOut()
{
    if (m_module.isEmpty()) {
        return true;
    }
    const bool unloaded = m_server.pactl({QStringLiteral("unload-module"), m_module}).has_value();
    m_module.clear();
    QFile::remove(m_fifo);
    return unloaded;
}

void PipeMicrophone::sing(std::vector<float> samples, std::chrono::steady_clock::time_point start)
{
    m_singer = std::thread([this, samples = std::move(samples), start] {
        const int fd = ::open(QFile::encodeName(m_fifo).constData(), O_WRONLY | O_NONBLOCK);
        if (fd < 0) {
            return;
        }
        std::size_t at = 0;
        while (!m_stop && at < samples.size()) {
            const auto due = std::chrono::steady_clock::now() - start + Lead;
            const auto until = std::min(samples.size(),
                                        std::size_t(std::max<qint64>(0, std::chrono::duration_cast<std::chrono::microseconds>(due).count())
                                                    * Rate / 1000000));
            while (at < until) {
                const ssize_t written = ::write(fd, samples.data() + at, (until - at) * sizeof(float));
                if (written < 0 && errno == EAGAIN) {
                    break;
                }
                if (written <= 0) {
                    ::close(fd);
                    return;
                }
                at += std::size_t(written) / sizeof(float);
                m_written = qint64(at);
            }
            std::this_thread::sleep_for(Step);
        }
        ::close(fd);
    });
}

void PipeMicrophone::waitUntilSung()
{
    if (m_singer.joinable()) {
        m_singer.join();
    }
}

} // namespace harmonet::test
