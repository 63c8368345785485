#pragma once

#include "core/Exception.h"

#include <QString>

namespace harmonet {

// Result codes of the output layer. Every backend reports its failures with
// one of these, optionally with its own text (a system port's error message).
enum MidiResult : quint16 {
    MidiNoError = 0,
    MidiUnspecifiedError = 1,
    MidiBadDeviceId = 2,
    MidiInvalidHandle = 3,
    MidiDriverError = 4,
    MidiNoSoundFont = 5,
    MidiSynthesizerFailed = 6,
    MidiInvalidMessage = 7,
    MidiEmptyLongMessage = 8,
    MidiDeviceRemoved = 9, // the device went away while open (a port unplugged)
};

// The text of a result code; "Specified error number is out of range" for a
// code the layer does not know.
QString midiResultText(quint16 code);

// The error the output device raises. It carries the message text and the
// result code that caused it (0 when the failure is the component's own).
class EmidioutputError : public Exception {
public:
    explicit EmidioutputError(const QString& message, quint16 code = MidiNoError)
        : Exception(message), m_code(code) {}

    // An error for a result code, with the backend's own text when it has one.
    static EmidioutputError fromResult(quint16 code, const QString& detail = QString())
    {
        return EmidioutputError(detail.isEmpty() ? midiResultText(code) : detail, code);
    }

    quint16 code() const { return m_code; }

private:
    quint16 m_code;
};

} // namespace harmonet
