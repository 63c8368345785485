#pragma once

#include "tests/support/ChildProcess.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace harmonet::test {

// A PulseAudio server of its own with one null sink, reached through a unix
// socket in a private temporary folder. From the first start() until this
// object goes, this process's PulseAudio clients (PULSE_SERVER) and its ALSA
// "default" device are pointed at it, so the system mixer and the built-in
// synthesizer's audio output both end up there; the environment is restored
// when the object goes. Nothing of the user's own sound setup is read or
// touched. The server can be stopped or killed and started again on the same
// socket; it stops when this object goes, and dies with the process if that
// ends first.
class PrivateSoundServer {
public:
    PrivateSoundServer() = default;
    ~PrivateSoundServer();
    PrivateSoundServer(const PrivateSoundServer&) = delete;
    PrivateSoundServer& operator=(const PrivateSoundServer&) = delete;

    // Starts the server (again, after stop() or kill()) and waits until it
    // answers; false, with why(), when none could be started here.
    bool start();
    void stop();
    // Ends the server as a crash would, at once.
    void kill();
    bool running() const;

    QString why() const { return m_why; }
    QString address() const;

    // Runs pactl against the server; its standard output, or nothing when it failed.
    std::optional<QString> pactl(const QStringList& arguments) const;

    // The raw volumes of the default sink's channels, as pactl reports them.
    std::optional<QList<quint32>> sinkVolumes() const;
    std::optional<bool> sinkMuted() const;

    // Playback streams connected now; 0 when the server does not answer.
    int playbackStreams() const;

    // Records the null sink's monitor (16-bit stereo at 44.1 kHz) from now
    // until stopRecording(), which returns the left channel.
    bool startRecording();
    std::vector<qint16> stopRecording();

private:
    bool prepareFolder();
    QProcessEnvironment clientEnvironment() const;
    QString serverLogTail() const;
    void setEnvironment(const char* name, const QByteArray& value);
    void restoreEnvironment();

    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<ChildProcess> m_server;
    std::unique_ptr<ChildProcess> m_recorder;
    std::map<QByteArray, std::optional<QByteArray>> m_savedEnvironment;
    QString m_why;
};

} // namespace harmonet::test
