#include "midiout/MidiOutError.h"

namespace harmonet {

QString midiResultText(quint16 code)
{
    switch (code) {
    case MidiNoError:
        return QStringLiteral("No error");
    case MidiUnspecifiedError:
        return QStringLiteral("Unspecified error in the MIDI output layer");
    case MidiBadDeviceId:
        return QStringLiteral("The MIDI output device identifier is out of range");
    case MidiInvalidHandle:
        return QStringLiteral("The MIDI output device is not open");
    case MidiDriverError:
        return QStringLiteral("The MIDI driver reported an error");
    case MidiNoSoundFont:
        return QStringLiteral("No General MIDI SoundFont was found");
    case MidiSynthesizerFailed:
        return QStringLiteral("The built-in synthesizer could not be started");
    case MidiInvalidMessage:
        return QStringLiteral("The MIDI message does not begin with a status byte");
    case MidiEmptyLongMessage:
        return QStringLiteral("A long MIDI message must hold at least one byte");
    case MidiDeviceRemoved:
        return QStringLiteral("The MIDI output device is no longer connected");
    default:
        return QStringLiteral("Specified error number is out of range");
    }
}

} // namespace harmonet
