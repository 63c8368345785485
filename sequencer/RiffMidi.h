#pragma once

#include <QByteArrayView>
#include <optional>

namespace harmonet {

// Where the Standard MIDI File inside a RIFF MIDI file (".rmi") lies: the
// content of the "data" chunk of a "RIFF" container of form "RMID".
struct RiffMidiData {
    qsizetype offset = 0;
    // As the chunk declares it: it may run past the bytes looked at (a file
    // cut short, or only the first bytes of a file given).
    qsizetype length = 0;
};

// The data chunk of a RIFF MIDI file whose content begins as a Standard MIDI
// File does ("MThd"), found among the bytes given; nothing for other bytes.
std::optional<RiffMidiData> riffMidiData(QByteArrayView bytes);

} // namespace harmonet
