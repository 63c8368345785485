#include "tests/support/PrivatePulseServer.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>

namespace harmonet::test {

PrivatePulseServer::PrivatePulseServer()
    : m_socket(m_dir.filePath(QStringLiteral("native")))
{
    m_hadServer = qEnvironmentVariableIsSet("PULSE_SERVER");
    m_previousServer = qgetenv("PULSE_SERVER");
    qputenv("PULSE_SERVER", ("unix:" + m_socket).toLocal8Bit());
    start();
}

PrivatePulseServer::~PrivatePulseServer()
{
    if (m_recorder) {
        m_recorder->kill();
        m_recorder->waitForFinished(2000);
    }
    stop();
    if (m_hadServer) {
        qputenv("PULSE_SERVER", m_previousServer);
    } else {
        qunsetenv("PULSE_SERVER");
    }
}

QProcessEnvironment PrivatePulseServer::clientEnvironment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PULSE_SERVER"), QStringLiteral("unix:") + m_socket);
    return environment;
}

bool PrivatePulseServer::start()
{
    if (running()) {
        return true;
    }
    if (!m_dir.isValid()) {
        m_why = QStringLiteral("no temporary folder");
        return false;
    }
    if (QStandardPaths::findExecutable(QStringLiteral("pulseaudio")).isEmpty()) {
        m_why = QStringLiteral("pulseaudio is not installed");
        return false;
    }
    QFile::remove(m_socket);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"PULSE_RUNTIME_PATH", "XDG_RUNTIME_DIR", "HOME", "PULSE_STATE_PATH"}) {
        environment.insert(QString::fromLatin1(name), m_dir.path());
    }
    environment.remove(QStringLiteral("PULSE_SERVER"));
    environment.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    m_server = std::make_unique<QProcess>();
    m_server->setProcessEnvironment(environment);
    m_server->setProcessChannelMode(QProcess::MergedChannels);
    m_server->setStandardOutputFile(m_dir.filePath(QStringLiteral("server.log")), QIODevice::Append);
    m_server->start(QStringLiteral("pulseaudio"),
                    {QStringLiteral("-n"), QStringLiteral("--daemonize=no"), QStringLiteral("--exit-idle-time=-1"),
                     QStringLiteral("--use-pid-file=no"), QStringLiteral("--load=module-null-sink"),
                     QStringLiteral("--load=module-native-protocol-unix auth-anonymous=1 socket=") + m_socket});
    if (!m_server->waitForStarted(3000)) {
        m_why = QStringLiteral("pulseaudio did not start: ") + m_server->errorString();
        m_server.reset();
        return false;
    }
    for (int wait = 0; wait < 100 && m_server->state() == QProcess::Running; ++wait) {
        QProcess info;
        info.setProcessEnvironment(clientEnvironment());
        if (QFileInfo::exists(m_socket)) {
            info.start(QStringLiteral("pactl"), {QStringLiteral("info")});
            if (info.waitForFinished(2000) && info.exitCode() == 0) {
                return true;
            }
        }
        QThread::msleep(50);
    }
    QFile log(m_dir.filePath(QStringLiteral("server.log")));
    log.open(QIODevice::ReadOnly);
    m_why = QStringLiteral("pulseaudio did not come up: ") + QString::fromLocal8Bit(log.readAll().right(400));
    stop();
    return false;
}

void PrivatePulseServer::kill()
{
    if (m_server) {
        m_server->kill();
        m_server->waitForFinished(3000);
        m_server.reset();
    }
}

void PrivatePulseServer::stop()
{
    if (m_server) {
        m_server->terminate();
        if (!m_server->waitForFinished(3000)) {
            m_server->kill();
            m_server->waitForFinished(3000);
        }
        m_server.reset();
    }
}

bool PrivatePulseServer::running() const
{
    return m_server && m_server->state() == QProcess::Running;
}

int PrivatePulseServer::playbackStreams() const
{
    QProcess list;
    list.setProcessEnvironment(clientEnvironment());
    list.start(QStringLiteral("pactl"), {QStringLiteral("list"), QStringLiteral("short"), QStringLiteral("sink-inputs")});
    if (!list.waitForFinished(3000) || list.exitCode() != 0) {
        return 0;
    }
    int streams = 0;
    for (const QByteArray& line : list.readAllStandardOutput().split('\n')) {
        streams += line.trimmed().isEmpty() ? 0 : 1;
    }
    return streams;
}

bool PrivatePulseServer::startRecording()
{
    m_recorder = std::make_unique<QProcess>();
    m_recorder->setProcessEnvironment(clientEnvironment());
    QFile::remove(m_dir.filePath(QStringLiteral("monitor.raw")));
    m_recorder->setStandardOutputFile(m_dir.filePath(QStringLiteral("monitor.raw")));
    m_recorder->start(QStringLiteral("parec"),
                      {QStringLiteral("-d"), QStringLiteral("null.monitor"), QStringLiteral("--format=s16le"),
                       QStringLiteral("--rate=44100"), QStringLiteral("--channels=2"), QStringLiteral("--raw"),
                       QStringLiteral("--latency-msec=10")});
    return m_recorder->waitForStarted(3000);
}

std::vector<qint16> PrivatePulseServer::stopRecording()
{
    std::vector<qint16> left;
    if (!m_recorder) {
        return left;
    }
    m_recorder->terminate();
    m_recorder->waitForFinished(3000);
    m_recorder.reset();
    QFile file(m_dir.filePath(QStringLiteral("monitor.raw")));
    file.open(QIODevice::ReadOnly);
    const QByteArray raw = file.readAll();
    const auto* samples = reinterpret_cast<const qint16*>(raw.constData());
    for (qsizetype i = 0; i + 1 < raw.size() / 2; i += 2) {
        left.push_back(samples[i]);
    }
    return left;
}

} // namespace harmonet::test
