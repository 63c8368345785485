#include "tests/support/PrivateSoundServer.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>

namespace harmonet::test {

namespace {
constexpr int StartSeconds = 15;

QString socketIn(const QTemporaryDir& folder)
{
    return folder.filePath(QStringLiteral("run/native"));
}
} // namespace

PrivateSoundServer::~PrivateSoundServer()
{
    stopRecording();
    stop();
    restoreEnvironment();
}

QString PrivateSoundServer::address() const
{
    return m_folder ? QStringLiteral("unix:") + socketIn(*m_folder) : QString();
}

// The folder, its configuration files and this process's environment are set
// up once; a restart reuses them, so clients find the server on the same socket.
bool PrivateSoundServer::prepareFolder()
{
    if (m_folder) {
        return true;
    }
    auto folder = std::make_unique<QTemporaryDir>();
    if (!folder->isValid()) {
        m_why = QStringLiteral("no temporary folder");
        return false;
    }
    for (const char* sub : {"run", "state", "config"}) {
        QDir(folder->path()).mkpath(QLatin1String(sub));
    }
    const QString server = QStringLiteral("unix:") + socketIn(*folder);
    QFile alsaConfig(folder->filePath(QStringLiteral("asound.conf")));
    QFile clientConfig(folder->filePath(QStringLiteral("client.conf")));
    if (!alsaConfig.open(QIODevice::WriteOnly) || !clientConfig.open(QIODevice::WriteOnly)) {
        m_why = QStringLiteral("cannot write the configuration files");
        return false;
    }
    alsaConfig.write(QStringLiteral("pcm.!default { type pulse server \"%1\" }\n"
                                    "ctl.!default { type pulse server \"%1\" }\n")
                         .arg(server)
                         .toLocal8Bit());
    alsaConfig.close();
    clientConfig.write("autospawn = no\n");
    clientConfig.close();

    m_folder = std::move(folder);
    setEnvironment("ALSA_CONFIG_PATH", alsaConfig.fileName().toLocal8Bit());
    setEnvironment("PULSE_SERVER", server.toLocal8Bit());
    setEnvironment("PULSE_CLIENTCONFIG", clientConfig.fileName().toLocal8Bit());
    return true;
}

bool PrivateSoundServer::start()
{
    if (running()) {
        return true;
    }
    if (QStandardPaths::findExecutable(QStringLiteral("pulseaudio")).isEmpty()
        || QStandardPaths::findExecutable(QStringLiteral("pactl")).isEmpty()) {
        m_why = QStringLiteral("pulseaudio or pactl is not installed");
        return false;
    }
    if (!prepareFolder()) {
        return false;
    }
    const QString folder = m_folder->path();
    const QString socket = socketIn(*m_folder);
    // A killed server leaves its socket behind.
    QFile::remove(socket);

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), folder);
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), folder + QStringLiteral("/run"));
    environment.insert(QStringLiteral("PULSE_RUNTIME_PATH"), folder + QStringLiteral("/run"));
    environment.insert(QStringLiteral("PULSE_STATE_PATH"), folder + QStringLiteral("/state"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), folder + QStringLiteral("/config"));
    environment.remove(QStringLiteral("PULSE_SERVER"));
    environment.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    ChildProcess::Options options;
    options.environment = environment;
    options.outputFile = m_folder->filePath(QStringLiteral("server.log"));
    options.errorsToOutput = true;
    options.dieWithParent = true; // the server must not outlive a test process that crashes
    m_server = std::make_unique<ChildProcess>();
    if (!m_server->start(QStringLiteral("pulseaudio"),
                         {QStringLiteral("-n"), QStringLiteral("--daemonize=no"), QStringLiteral("--exit-idle-time=-1"),
                          QStringLiteral("--use-pid-file=no"), QStringLiteral("--load=module-null-sink"),
                          QStringLiteral("--load=module-native-protocol-unix auth-anonymous=1 socket=") + socket},
                         options)) {
        m_why = QStringLiteral("pulseaudio did not start");
        m_server.reset();
        return false;
    }

    const QDeadlineTimer deadline(StartSeconds * 1000);
    while (!deadline.hasExpired()) {
        if (!m_server->running()) {
            m_why = QStringLiteral("pulseaudio ended at start-up: ") + serverLogTail();
            stop();
            return false;
        }
        if (QFileInfo::exists(socket) && pactl({QStringLiteral("info")})) {
            return true;
        }
        QThread::msleep(50);
    }
    m_why = QStringLiteral("pulseaudio did not answer within %1 s: ").arg(StartSeconds) + serverLogTail();
    stop();
    return false;
}

void PrivateSoundServer::stop()
{
    if (m_server && m_server->running()) {
        m_server->terminate();
        if (!m_server->waitForFinished(3000)) {
            m_server->kill();
            m_server->waitForFinished(3000);
        }
    }
    m_server.reset();
}

void PrivateSoundServer::kill()
{
    if (m_server) {
        m_server->kill();
        m_server->waitForFinished(3000);
        m_server.reset();
    }
}

bool PrivateSoundServer::running() const
{
    return m_server && m_server->running();
}

QString PrivateSoundServer::serverLogTail() const
{
    QFile log(m_folder->filePath(QStringLiteral("server.log")));
    if (!log.open(QIODevice::ReadOnly)) {
        return QString();
    }
    return QString::fromLocal8Bit(log.readAll().right(400));
}

QProcessEnvironment PrivateSoundServer::clientEnvironment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PULSE_SERVER"), address());
    environment.insert(QStringLiteral("PULSE_CLIENTCONFIG"), m_folder->filePath(QStringLiteral("client.conf")));
    return environment;
}

std::optional<QString> PrivateSoundServer::pactl(const QStringList& arguments) const
{
    if (!m_folder) {
        return std::nullopt;
    }
    const std::optional<QByteArray> text = ChildProcess::output(
        QStringLiteral("pactl"), QStringList{QStringLiteral("-s"), address()} + arguments, clientEnvironment(), 5000);
    if (!text) {
        return std::nullopt;
    }
    return QString::fromLocal8Bit(*text);
}

std::optional<QList<quint32>> PrivateSoundServer::sinkVolumes() const
{
    const std::optional<QString> text = pactl({QStringLiteral("get-sink-volume"), QStringLiteral("@DEFAULT_SINK@")});
    if (!text) {
        return std::nullopt;
    }
    // "Volume: front-left: 30000 /  46% / -20.34 dB,   front-right: ..."
    static const QRegularExpression channel(QStringLiteral(":\\s*(\\d+)\\s*/"));
    QList<quint32> volumes;
    for (auto match = channel.globalMatch(text->section(QLatin1Char('\n'), 0, 0)); match.hasNext();) {
        volumes.append(match.next().captured(1).toUInt());
    }
    return volumes;
}

std::optional<bool> PrivateSoundServer::sinkMuted() const
{
    const std::optional<QString> text = pactl({QStringLiteral("get-sink-mute"), QStringLiteral("@DEFAULT_SINK@")});
    if (!text) {
        return std::nullopt;
    }
    return text->contains(QStringLiteral("yes"));
}

int PrivateSoundServer::playbackStreams() const
{
    const std::optional<QString> text =
        pactl({QStringLiteral("list"), QStringLiteral("short"), QStringLiteral("sink-inputs")});
    if (!text) {
        return 0;
    }
    int streams = 0;
    for (const QString& line : text->split(QLatin1Char('\n'))) {
        streams += line.trimmed().isEmpty() ? 0 : 1;
    }
    return streams;
}

bool PrivateSoundServer::startRecording()
{
    if (!m_folder) {
        return false;
    }
    stopRecording();
    const QString file = m_folder->filePath(QStringLiteral("monitor.raw"));
    QFile::remove(file);
    ChildProcess::Options options;
    options.environment = clientEnvironment();
    options.outputFile = file;
    m_recorder = std::make_unique<ChildProcess>();
    return m_recorder->start(QStringLiteral("parec"),
                             {QStringLiteral("-d"), QStringLiteral("null.monitor"), QStringLiteral("--format=s16le"),
                              QStringLiteral("--rate=44100"), QStringLiteral("--channels=2"), QStringLiteral("--raw"),
                              QStringLiteral("--latency-msec=10")},
                             options);
}

std::vector<qint16> PrivateSoundServer::stopRecording()
{
    std::vector<qint16> left;
    if (!m_recorder) {
        return left;
    }
    m_recorder->terminate();
    if (!m_recorder->waitForFinished(3000)) {
        m_recorder->kill();
        m_recorder->waitForFinished(2000);
    }
    m_recorder.reset();
    QFile file(m_folder->filePath(QStringLiteral("monitor.raw")));
    if (!file.open(QIODevice::ReadOnly)) {
        return left;
    }
    const QByteArray raw = file.readAll();
    const auto* samples = reinterpret_cast<const qint16*>(raw.constData());
    for (qsizetype i = 0; i + 1 < raw.size() / 2; i += 2) {
        left.push_back(samples[i]);
    }
    return left;
}

void PrivateSoundServer::setEnvironment(const char* name, const QByteArray& value)
{
    if (!m_savedEnvironment.count(name)) {
        m_savedEnvironment[name] =
            qEnvironmentVariableIsSet(name) ? std::optional<QByteArray>(qgetenv(name)) : std::nullopt;
    }
    qputenv(name, value);
}

void PrivateSoundServer::restoreEnvironment()
{
    for (const auto& [name, value] : m_savedEnvironment) {
        if (value) {
            qputenv(name.constData(), *value);
        } else {
            qunsetenv(name.constData());
        }
    }
    m_savedEnvironment.clear();
}

} // namespace harmonet::test
