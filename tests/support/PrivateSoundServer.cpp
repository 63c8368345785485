#include "tests/support/PrivateSoundServer.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>

#include <csignal>
#include <sys/prctl.h>

namespace harmonet::test {

namespace {
constexpr int StartSeconds = 15;
}

PrivateSoundServer::~PrivateSoundServer()
{
    stop();
}

QString PrivateSoundServer::address() const
{
    return m_folder ? QStringLiteral("unix:") + m_folder->filePath(QStringLiteral("run/native")) : QString();
}

bool PrivateSoundServer::start()
{
    if (QStandardPaths::findExecutable(QStringLiteral("pulseaudio")).isEmpty()
        || QStandardPaths::findExecutable(QStringLiteral("pactl")).isEmpty()) {
        m_why = QStringLiteral("pulseaudio or pactl is not installed");
        return false;
    }
    m_folder = std::make_unique<QTemporaryDir>();
    if (!m_folder->isValid()) {
        m_why = QStringLiteral("no temporary folder");
        return false;
    }
    const QString folder = m_folder->path();
    for (const char* sub : {"run", "state", "config"}) {
        QDir(folder).mkpath(QLatin1String(sub));
    }
    const QString server = address();

    QFile alsaConfig(m_folder->filePath(QStringLiteral("asound.conf")));
    QFile clientConfig(m_folder->filePath(QStringLiteral("client.conf")));
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

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), folder);
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), folder + QStringLiteral("/run"));
    environment.insert(QStringLiteral("PULSE_RUNTIME_PATH"), folder + QStringLiteral("/run"));
    environment.insert(QStringLiteral("PULSE_STATE_PATH"), folder + QStringLiteral("/state"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), folder + QStringLiteral("/config"));
    environment.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    m_server = std::make_unique<QProcess>();
    m_server->setProcessEnvironment(environment);
    m_server->setStandardOutputFile(QProcess::nullDevice());
    m_server->setStandardErrorFile(m_folder->filePath(QStringLiteral("server.log")));
    // The server must not outlive a test process that crashes.
    m_server->setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGKILL); });
    m_server->start(QStringLiteral("pulseaudio"),
                    {QStringLiteral("-n"), QStringLiteral("--daemonize=no"), QStringLiteral("--exit-idle-time=-1"),
                     QStringLiteral("--use-pid-file=no"), QStringLiteral("--load=module-null-sink"),
                     QStringLiteral("--load=module-native-protocol-unix auth-anonymous=1 socket=")
                         + folder + QStringLiteral("/run/native")});
    if (!m_server->waitForStarted(5000)) {
        m_why = QStringLiteral("pulseaudio did not start: ") + m_server->errorString();
        stop();
        return false;
    }

    setEnvironment("ALSA_CONFIG_PATH", alsaConfig.fileName().toLocal8Bit());
    setEnvironment("PULSE_SERVER", server.toLocal8Bit());
    setEnvironment("PULSE_CLIENTCONFIG", clientConfig.fileName().toLocal8Bit());

    const QDeadlineTimer deadline(StartSeconds * 1000);
    while (!deadline.hasExpired()) {
        if (m_server->state() != QProcess::Running) {
            m_why = QStringLiteral("pulseaudio ended at start-up");
            stop();
            return false;
        }
        if (pactl({QStringLiteral("info")})) {
            return true;
        }
        QThread::msleep(100);
    }
    m_why = QStringLiteral("pulseaudio did not answer within %1 s").arg(StartSeconds);
    stop();
    return false;
}

void PrivateSoundServer::stop()
{
    if (m_server && m_server->state() != QProcess::NotRunning) {
        m_server->terminate();
        if (!m_server->waitForFinished(3000)) {
            m_server->kill();
            m_server->waitForFinished(3000);
        }
    }
    m_server.reset();
    restoreEnvironment();
}

std::optional<QString> PrivateSoundServer::pactl(const QStringList& arguments) const
{
    if (!m_folder) {
        return std::nullopt;
    }
    QProcess tool;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PULSE_CLIENTCONFIG"), m_folder->filePath(QStringLiteral("client.conf")));
    tool.setProcessEnvironment(environment);
    tool.start(QStringLiteral("pactl"), QStringList{QStringLiteral("-s"), address()} + arguments);
    if (!tool.waitForFinished(5000) || tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0) {
        tool.kill();
        tool.waitForFinished(1000);
        return std::nullopt;
    }
    return QString::fromLocal8Bit(tool.readAllStandardOutput());
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
