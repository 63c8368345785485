#include "midiout/MidiOutError.h"

#include <QCoreApplication>

namespace harmonet {

QString midiResultText(quint16 code)
{
    switch (code) {
    case MidiNoError:
        return QCoreApplication::translate("Output", "No error");
    case MidiUnspecifiedError:
        return QCoreApplication::translate("Output", "Unspecified error in the MIDI output layer");
    case MidiBadDeviceId:
        return QCoreApplication::translate("Output", "The MIDI output device identifier is out of range");
    case MidiInvalidHandle:
        return QCoreApplication::translate("Output", "The MIDI output device is not open");
    case MidiDriverError:
        return QCoreApplication::translate("Output", "The MIDI driver reported an error");
    case MidiNoSoundFont:
        return QCoreApplication::translate("Output", "No General MIDI SoundFont was found");
    case MidiSynthesizerFailed:
        return QCoreApplication::translate("Output", "The built-in synthesizer could not be started");
    case MidiInvalidMessage:
        return QCoreApplication::translate("Output", "The MIDI message does not begin with a status byte");
    case MidiEmptyLongMessage:
        return QCoreApplication::translate("Output", "A long MIDI message must hold at least one byte");
    case MidiDeviceRemoved:
        return QCoreApplication::translate("Output", "The MIDI output device is no longer connected");
    default:
        return QCoreApplication::translate("Output", "Specified error number is out of range");
    }
}

} // namespace harmonet
