#pragma once

#include <QLoggingCategory>

namespace harmonet {

Q_DECLARE_LOGGING_CATEGORY(lcMidiOut)

// Routes the messages FluidSynth and the ALSA library would print on standard
// error to the debug log of the output layer (shown with
// QT_LOGGING_RULES="harmonet.midiout.debug=true"), so opening the synthesizer
// on a machine without sound hardware is quiet. Safe to call many times.
void quietenAudioLibraries();

} // namespace harmonet
