#include "midiout/Miditype.h"

#include "midiout/MidiOutError.h"

#include <algorithm>
#include <limits>

namespace harmonet {

namespace {
constexpr std::size_t maxLongMessage = std::numeric_limits<quint16>::max();
} // namespace

void TMyMidiEvent::SetSysex(std::span<const quint8> bytes)
{
    if (bytes.size() > maxLongMessage) {
        throw EmidioutputError(QStringLiteral("A long MIDI message holds at most 65535 bytes, not %1")
                                   .arg(bytes.size()));
    }
    if (bytes.empty()) {
        SysexData.reset();
        SysexSize = 0;
        return;
    }
    SysexData = std::make_unique<quint8[]>(bytes.size());
    std::copy(bytes.begin(), bytes.end(), SysexData.get());
    SysexSize = static_cast<quint16>(bytes.size());
}

TMyMidiHdr::TMyMidiHdr(std::span<const quint8> bytes)
{
    if (bytes.empty()) {
        throw EmidioutputError::fromResult(MidiEmptyLongMessage);
    }
    if (bytes.size() > maxLongMessage) {
        throw EmidioutputError(QStringLiteral("A long MIDI message holds at most 65535 bytes, not %1")
                                   .arg(bytes.size()));
    }
    m_data = std::make_unique<quint8[]>(bytes.size());
    std::copy(bytes.begin(), bytes.end(), m_data.get());
    m_size = static_cast<quint16>(bytes.size());
}

} // namespace harmonet
