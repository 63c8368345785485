#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <map>
#include <memory>
#include <optional>

namespace harmonet::test {

// A PulseAudio server of its own with one null sink, in a private temporary
// folder, with this process's ALSA "default" device and PulseAudio clients
// pointed at it. Nothing of the user's own sound setup is read or touched.
// The server stops when this object goes, and dies with the process if that
// ends first.
class PrivateSoundServer {
public:
    PrivateSoundServer() = default;
    ~PrivateSoundServer();
    PrivateSoundServer(const PrivateSoundServer&) = delete;
    PrivateSoundServer& operator=(const PrivateSoundServer&) = delete;

    // Starts the server and waits until it answers; false, with why(), when
    // none could be started here.
    bool start();
    void stop();

    QString why() const { return m_why; }
    QString address() const;

    // Runs pactl against the server; its standard output, or nothing when it failed.
    std::optional<QString> pactl(const QStringList& arguments) const;

    // The raw volumes of the default sink's channels, as pactl reports them.
    std::optional<QList<quint32>> sinkVolumes() const;
    std::optional<bool> sinkMuted() const;

private:
    void setEnvironment(const char* name, const QByteArray& value);
    void restoreEnvironment();

    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<QProcess> m_server;
    std::map<QByteArray, std::optional<QByteArray>> m_savedEnvironment;
    QString m_why;
};

} // namespace harmonet::test
