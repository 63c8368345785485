#pragma once

#include <QtGlobal>

#include <cstddef>
#include <memory>
#include <span>

namespace harmonet {

// One message for the output device: a short message (status byte with up to
// two data bytes) or, when SysexData is set, a long (system-exclusive) message
// of SysexSize bytes. The caller creates one, fills it, hands it to
// TMidiOutput::SendEvent and frees it.
class TMyMidiEvent {
public:
    TMyMidiEvent() = default;
    TMyMidiEvent(quint8 status, quint8 firstData, quint8 secondData)
        : StatusByte(status), FirstData(firstData), SecondData(secondData) {}

    // Makes this a long message holding a copy of bytes (at most 65535 of them,
    // raises EmidioutputError otherwise). An empty span makes it short again.
    void SetSysex(std::span<const quint8> bytes);

    quint8 StatusByte = 0;
    quint8 FirstData = 0;
    quint8 SecondData = 0;
    quint16 SysexSize = 0;
    std::unique_ptr<quint8[]> SysexData; // null for a short message
};

// The holder of one long message while a device is busy with it: a private
// copy of the bytes that lives until the device reports it is done.
class TMyMidiHdr {
public:
    // Copies the bytes; an empty message has no holder (raises EmidioutputError).
    explicit TMyMidiHdr(std::span<const quint8> bytes);

    TMyMidiHdr(const TMyMidiHdr&) = delete;
    TMyMidiHdr& operator=(const TMyMidiHdr&) = delete;

    std::span<quint8> data() { return {m_data.get(), m_size}; }
    std::span<const quint8> data() const { return {m_data.get(), m_size}; }
    quint16 size() const { return m_size; }

private:
    std::unique_ptr<quint8[]> m_data;
    quint16 m_size = 0;
};

} // namespace harmonet
