#pragma once

#include "midiout/MidiBackend.h"

#include <QByteArray>
#include <QStringList>

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace harmonet {

// One message a recording device received.
struct RecordedMessage {
    int device = 0;                          // index among the backend's devices
    std::chrono::nanoseconds time{0};        // since the backend was made
    QByteArray bytes;
    bool isLong = false;
    std::optional<std::chrono::steady_clock::time_point> due; // when it was sent with a due time
};

// Output devices that play nothing and record every message they are sent,
// with the time it arrived. Used by tests and for diagnostics; never part of
// the list the user chooses from. Failures can be arranged to exercise the
// error paths of the layers above, and long messages can be held back to
// stand for a slow device. Always held by a shared_ptr (its ports keep it alive).
class RecordingBackend : public MidiBackend, public std::enable_shared_from_this<RecordingBackend> {
public:
    explicit RecordingBackend(QStringList deviceNames = {QStringLiteral("Recorder")});

    QStringList deviceNames() const override;
    std::unique_ptr<MidiPort> open(int index) override;

    // The devices the next listing finds (as if ports came or went).
    void setDeviceNames(QStringList names);

    // The remark every open port gives from now on, as a device whose state
    // changes by itself would (the synthesizer losing its audio output); the
    // ports' notice handlers are told.
    void setNotice(const QString& notice);

    std::vector<RecordedMessage> messages() const;
    void clearMessages();

    // Number of ports of this backend that are open now.
    int openPorts() const;

    // The next open, every send from now on, or the next close fails with code.
    void failNextOpen(quint16 code, const QString& text = QString());
    void failSends(quint16 code, const QString& text = QString());
    void failNextClose(quint16 code, const QString& text = QString());
    void stopFailing();

    // While held, long messages are recorded but not reported done until
    // releaseLongMessages() (or the port's close) releases them.
    void holdLongMessages(bool hold);
    int heldLongMessages() const;
    void releaseLongMessages();

private:
    class Port;
    friend class Port;

    struct Failure {
        quint16 code = 0;
        QString text;
    };

    void record(int device, const QByteArray& bytes, bool isLong,
                std::optional<std::chrono::steady_clock::time_point> due = std::nullopt);
    void checkSend() const;
    void portClosing(const void* port);
    void portDropped(const void* port);
    QString notice() const;
    void setNoticeHandler(const void* port, std::function<void()> changed);
    std::vector<std::function<void()>> takeHeld(const void* port);

    QStringList m_names;
    std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
    mutable std::mutex m_mutex;
    std::vector<RecordedMessage> m_messages;
    int m_openPorts = 0;
    Failure m_openFailure;
    Failure m_sendFailure;
    Failure m_closeFailure;
    bool m_hold = false;
    std::vector<std::pair<const void*, std::function<void()>>> m_held; // by port
    QString m_notice;
    std::vector<std::pair<const void*, std::function<void()>>> m_noticeHandlers; // by port
};

} // namespace harmonet
