#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <optional>

namespace harmonet {

// Writes Standard MIDI File bytes chunk by chunk and event by event, so that a
// file made for a test, a corpus or a benchmark reads like the bytes it holds.
// Malformed files are made with the raw and declared-length variants.
//
//   SmfWriter w;
//   w.header(1, 2, 480);
//   w.beginTrack().tempo(0, 500000).endOfTrack().endTrack();
//   w.beginTrack().noteOn(0, 0, 60, 100).noteOff(480, 0, 60).endOfTrack().endTrack();
//   QByteArray file = w.bytes();
class SmfWriter {
public:
    // Meta event types.
    enum MetaType : quint8 {
        Text = 0x01,
        Copyright = 0x02,
        TrackName = 0x03,
        InstrumentName = 0x04,
        Lyric = 0x05,
        Marker = 0x06,
        EndOfTrack = 0x2F,
        SetTempo = 0x51,
        TimeSignature = 0x58,
    };

    // A variable-length quantity: 7 bits per byte, most significant first, the
    // top bit set on every byte but the last. Values above 0x0FFFFFFF give the
    // longer sequences a file may (wrongly) hold.
    static QByteArray vlqBytes(quint64 value);

    // --- Chunks ---
    // "MThd" of length 6 with format, track count and division.
    SmfWriter& header(quint16 format, quint16 trackCount, quint16 division);
    // Any chunk with its true length.
    SmfWriter& chunk(const QByteArray& id, const QByteArray& content);
    // Any chunk whose length field says declaredLength whatever the content.
    SmfWriter& chunkDeclaring(const QByteArray& id, quint32 declaredLength, const QByteArray& content);
    // Opens an "MTrk" chunk; the events below go into it until endTrack.
    SmfWriter& beginTrack();
    // Closes the open track with its true length, or with declaredLength.
    SmfWriter& endTrack(std::optional<quint32> declaredLength = std::nullopt);
    // Bytes as they are: into the open track, else after the last chunk.
    SmfWriter& raw(const QByteArray& bytes);

    // --- Events of the open track ---
    SmfWriter& delta(quint64 ticks);
    // A channel message with its status byte; data2 < 0 writes one data byte.
    SmfWriter& channel(quint64 deltaTicks, quint8 status, quint8 data1, int data2 = -1);
    // A channel message under running status (no status byte).
    SmfWriter& running(quint64 deltaTicks, quint8 data1, int data2 = -1);
    SmfWriter& noteOn(quint64 deltaTicks, int channel0, quint8 key, quint8 velocity);
    SmfWriter& noteOff(quint64 deltaTicks, int channel0, quint8 key, quint8 velocity = 0x40);
    SmfWriter& programChange(quint64 deltaTicks, int channel0, quint8 program);
    SmfWriter& controlChange(quint64 deltaTicks, int channel0, quint8 controller, quint8 value);
    SmfWriter& meta(quint64 deltaTicks, quint8 type, const QByteArray& data);
    SmfWriter& tempo(quint64 deltaTicks, quint32 microsecondsPerQuarter);
    // The denominator as a power of two (2 for quarter notes), written as it is given.
    SmfWriter& timeSignature(quint64 deltaTicks, quint8 numerator, quint8 denominatorPower);
    SmfWriter& endOfTrack(quint64 deltaTicks = 0);
    // A system-exclusive event: status 0xF0 or 0xF7, then the length and data.
    SmfWriter& sysex(quint64 deltaTicks, quint8 status, const QByteArray& data);

    // The file so far; an open track is included as if closed now.
    QByteArray bytes() const;
    // Writes bytes() to path; raises harmonet::Exception when that fails.
    void saveTo(const QString& path) const;

private:
    QByteArray& target();

    QByteArray m_file;
    QByteArray m_track;
    bool m_trackOpen = false;
};

} // namespace harmonet
