#include "midiout/MidiMessage.h"

namespace harmonet {

int shortMessageLength(quint8 status)
{
    if (status < 0x80) {
        return 0;
    }
    if (status < 0xF0) {
        const quint8 kind = status & 0xF0;
        return (kind == 0xC0 || kind == 0xD0) ? 2 : 3;
    }
    switch (status) {
    case 0xF1: // time code quarter frame
    case 0xF3: // song select
        return 2;
    case 0xF2: // song position pointer
        return 3;
    default:
        return 1;
    }
}

QByteArray shortMessageBytes(quint8 status, quint8 firstData, quint8 secondData)
{
    const int length = shortMessageLength(status);
    QByteArray bytes;
    if (length == 0) {
        return bytes;
    }
    bytes.append(static_cast<char>(status));
    if (length > 1) {
        bytes.append(static_cast<char>(firstData & 0x7F));
    }
    if (length > 2) {
        bytes.append(static_cast<char>(secondData & 0x7F));
    }
    return bytes;
}

void maskLongMessage(std::span<quint8> bytes)
{
    const std::size_t last = bytes.size() - 1;
    for (std::size_t i = 1; i < bytes.size(); ++i) {
        if (i == last && bytes[i] == 0xF7) {
            break;
        }
        bytes[i] &= 0x7F;
    }
}

QByteArray hexBytes(const QByteArray& bytes)
{
    return bytes.toHex(' ').toUpper();
}

} // namespace harmonet
