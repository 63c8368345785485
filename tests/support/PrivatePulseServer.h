#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <memory>
#include <vector>

namespace harmonet::test {

// A PulseAudio server of the test's own: a null sink, reached through a unix
// socket in a private runtime folder, so nothing depends on (or disturbs) a
// sound server of the machine. While it exists this process's PULSE_SERVER
// names it, so the built-in synthesizer's audio output goes there. The server
// is stopped however the owner ends; where none can start, running() is
// false and why() says what happened.
class PrivatePulseServer {
public:
    PrivatePulseServer();
    ~PrivatePulseServer();

    PrivatePulseServer(const PrivatePulseServer&) = delete;
    PrivatePulseServer& operator=(const PrivatePulseServer&) = delete;

    // Starts a server on the same socket (again, after stop() or kill()).
    bool start();
    // Ends it as a crash would, at once.
    void kill();
    void stop();
    bool running() const;
    QString why() const { return m_why; }

    // Playback streams connected now (pactl list short sink-inputs).
    int playbackStreams() const;

    // Records the null sink's monitor (16-bit stereo at 44.1 kHz) from now
    // until stopRecording(), which returns the left channel.
    bool startRecording();
    std::vector<qint16> stopRecording();

private:
    QProcessEnvironment clientEnvironment() const;

    QTemporaryDir m_dir;
    QString m_socket;
    QByteArray m_previousServer;
    bool m_hadServer = false;
    std::unique_ptr<QProcess> m_server;
    std::unique_ptr<QProcess> m_recorder;
    QString m_why;
};

} // namespace harmonet::test
