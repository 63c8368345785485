#include "session/SoundingNotes.h"

namespace harmonet {

namespace {
constexpr quint8 NoteOffKind = 0x80;
constexpr quint8 NoteOnKind = 0x90;
constexpr quint8 ControllerKind = 0xB0;
constexpr quint8 AllSoundOff = 120;
constexpr quint8 AllNotesOff = 123;
} // namespace

void SoundingNotes::take(const TMyMidiEvent& message)
{
    if (message.SysexData || message.StatusByte < 0x80 || message.StatusByte >= 0xF0) {
        return;
    }
    std::bitset<128>& keys = m_keys[message.StatusByte & 0x0F];
    const quint8 kind = message.StatusByte & 0xF0;
    const std::size_t key = message.FirstData & 0x7F;
    if (kind == NoteOnKind) {
        keys.set(key, message.SecondData != 0);
    } else if (kind == NoteOffKind) {
        keys.reset(key);
    } else if (kind == ControllerKind && (message.FirstData == AllNotesOff || message.FirstData == AllSoundOff)) {
        keys.reset();
    }
}

int SoundingNotes::count() const
{
    int total = 0;
    for (const auto& keys : m_keys) {
        total += int(keys.count());
    }
    return total;
}

void SoundingNotes::forEach(const std::function<void(int channel, int key)>& visit) const
{
    for (std::size_t channel = 0; channel < m_keys.size(); ++channel) {
        for (std::size_t key = 0; key < 128; ++key) {
            if (m_keys[channel].test(key)) {
                visit(int(channel) + 1, int(key));
            }
        }
    }
}

void SoundingNotes::clear()
{
    for (auto& keys : m_keys) {
        keys.reset();
    }
}

} // namespace harmonet
