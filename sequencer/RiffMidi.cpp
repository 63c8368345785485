#include "sequencer/RiffMidi.h"

#include <QtEndian>

namespace harmonet {

namespace {
constexpr qsizetype riffHeaderSize = 12; // "RIFF", the size, "RMID"
constexpr qsizetype chunkHeaderSize = 8; // the identifier and a little-endian length
} // namespace

std::optional<RiffMidiData> riffMidiData(QByteArrayView bytes)
{
    if (bytes.size() < riffHeaderSize || !bytes.startsWith("RIFF") || bytes.sliced(8, 4) != "RMID") {
        return std::nullopt;
    }
    qsizetype pos = riffHeaderSize;
    while (bytes.size() - pos >= chunkHeaderSize) {
        const auto length = qsizetype(qFromLittleEndian<quint32>(bytes.data() + pos + 4));
        const qsizetype content = pos + chunkHeaderSize;
        if (bytes.sliced(pos, 4) == "data") {
            if (bytes.size() - content < 4 || bytes.sliced(content, 4) != "MThd") {
                return std::nullopt;
            }
            return RiffMidiData{content, length};
        }
        // Chunks are padded to an even length.
        if (length > bytes.size() - content) {
            return std::nullopt;
        }
        pos = content + length + (length & 1);
    }
    return std::nullopt;
}

} // namespace harmonet
