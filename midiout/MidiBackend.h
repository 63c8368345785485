#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>
#include <memory>

namespace harmonet {

// One open connection to an output device. Failures are raised as
// EmidioutputError with a result code and, where the backend has one, its own
// text. Every message arrives complete and already masked to 7-bit data bytes.
class MidiPort {
public:
    virtual ~MidiPort() = default;

    // A short message of 1 to 3 bytes, status first.
    virtual void sendShort(const QByteArray& bytes) = 0;

    // A long message. done is called once the device has finished with the
    // bytes, at the latest when the port is closed; it may run on any thread.
    virtual void sendLong(const QByteArray& bytes, std::function<void()> done) = 0;

    // The same for a message that fell due at due, on the steady clock. A
    // device that plays messages at their time (the built-in synthesizer)
    // plays it a constant delay after due; the others send it at once.
    using TimePoint = std::chrono::steady_clock::time_point;
    virtual void sendShortAt(const QByteArray& bytes, TimePoint /*due*/) { sendShort(bytes); }
    virtual void sendLongAt(const QByteArray& bytes, TimePoint /*due*/, std::function<void()> done)
    {
        sendLong(bytes, std::move(done));
    }

    // Ends the connection. Called once, before destruction; raises on failure.
    virtual void close() = 0;

    // A remark on the open device that the user should see (for example that
    // the synthesizer has no audio output), or an empty string.
    virtual QString notice() const { return {}; }
    // Called, from any thread, whenever notice() may have changed by itself
    // (the synthesizer's audio output lost or back); a port that has no such
    // remarks never calls it. Cleared (set to empty) before the port closes.
    virtual void setNoticeHandler(std::function<void()> /*changed*/) {}
};

// A family of output devices (the built-in synthesizer, the system's MIDI
// ports, a recorder for tests) listed by name and opened by index.
class MidiBackend {
public:
    virtual ~MidiBackend() = default;

    // The devices of this backend, in the order they are numbered.
    virtual QStringList deviceNames() const = 0;

    // Opens device index of deviceNames(); raises EmidioutputError on failure.
    virtual std::unique_ptr<MidiPort> open(int index) = 0;

    // Looks for the devices again (ports come and go); deviceNames() then
    // lists what is there now. Ports already open are not affected.
    virtual void refresh() {}
};

} // namespace harmonet
