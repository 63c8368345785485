#pragma once

#include <QByteArrayView>
#include <QtGlobal>
#include <functional>

namespace harmonet {

// Format word of a Standard MIDI File header: 0, 1 and 2.
enum class TFileFormat : quint8 { single, multi_synch, multi_asynch };

// One event of a loaded track. Records of a track lie contiguously and stay
// where they are until the next load, so a pointer to one stays valid that long.
// A meta event's text is not copied into the record: the record refers to the
// track's text pool (the bytes of the file), and Text() reads it.
struct TMidiEvent {
    // Status byte after running status: 0x80..0xEF channel messages, 0xF0..0xFE
    // system bytes, 0xFF meta event; 0 for an event read before any status byte.
    quint8 Status = 0;
    // First data byte; the meta type for a meta event; 0 when there is none.
    quint8 Value1 = 0;
    // Second data byte; 0 for one-byte messages, system and meta events.
    quint8 Value2 = 0;
    // Delta time as stored before the event (at most 0x0FFFFFFF).
    qint32 DeltaTicks = 0;
    // Absolute time from the start of the track (saturates at 2147483647).
    qint32 Ticks = 0;
    // Note-on: sounding length in ticks once its note-off is matched, else 0.
    // Matched note-off: -1. Any other event: 0.
    qint32 NoteTicks = 0;
    // Length of the text and where it starts in the track's text pool.
    quint32 TextLength = 0;
    const char* TextData = nullptr;

    // A meta event's data bytes up to the first zero byte (8-bit, not decoded);
    // empty for every other event.
    QByteArrayView Text() const { return QByteArrayView(TextData, qsizetype(TextLength)); }
};

static_assert(sizeof(TMidiEvent) <= 32, "the event record must stay small");

using PMidiEvent = const TMidiEvent*;

// The handler that receives each event as it falls due during playback.
using TOnMidiEvent = std::function<void(PMidiEvent event)>;

} // namespace harmonet
