#include "sequencer/SmfReader.h"

#include "sequencer/GMPrograms.h"
#include "sequencer/MidiFile.h"
#include "sequencer/RiffMidi.h"

#include <QByteArrayView>
#include <QCoreApplication>
#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

namespace harmonet {

namespace {

// The largest variable-length quantity the file format allows (four bytes).
constexpr quint32 maxVariableLength = 0x0FFFFFFF;
constexpr qint64 maxTicks = std::numeric_limits<qint32>::max();
// Tempo of a file that sets none: 500000 microseconds per quarter note.
constexpr quint32 defaultTempo = 500000;
constexpr quint8 metaStatus = 0xFF;
constexpr quint8 metaTrackName = 0x03;
constexpr quint8 metaInstrumentName = 0x04;
constexpr quint8 metaSetTempo = 0x51;
constexpr quint8 metaTimeSignature = 0x58;

quint32 bigEndian32(const uchar* p)
{
    return (quint32(p[0]) << 24) | (quint32(p[1]) << 16) | (quint32(p[2]) << 8) | quint32(p[3]);
}

// Reads a variable-length quantity, clamped to maxVariableLength. False when
// the quantity runs past end.
inline bool readVariableLength(const uchar*& p, const uchar* end, quint32& value)
{
    quint32 v = 0;
    while (p < end) {
        const uchar b = *p++;
        v = v > (maxVariableLength >> 7) ? maxVariableLength : ((v << 7) | (b & 0x7Fu));
        if ((b & 0x80u) == 0) {
            value = v;
            return true;
        }
    }
    return false;
}

[[noreturn]] void readBeyondEnd()
{
    throw EFileError(QCoreApplication::translate("SongFile", "Read beyond end of file"));
}

// For every channel and key, the index of the latest event of the track being
// read with status 0x90 + channel and that key, so a note-off finds its note-on
// in constant time. Entries are not cleared between tracks: an entry is only
// believed when the event it names, in the current track, still has that status
// and key, which holds exactly when the current track itself wrote the entry.
class NoteTable {
public:
    NoteTable() : m_latest(16 * 256, -1) {}
    qint32& at(quint8 channel, quint8 key) { return m_latest[size_t(channel) * 256 + key]; }

private:
    std::vector<qint32> m_latest;
};

// Which of a program change or an instrument-name meta event came last.
enum class InstrumentSource { None, MetaText, Program };

} // namespace

class SmfReader::TrackParser {
public:
    TrackParser(TMidiFile& file, TMidiTrack& track, NoteTable& notes, bool& tempoTookEffect)
        : m_file(file), m_track(track), m_events(track.m_events), m_notes(notes),
          m_tempoTookEffect(tempoTookEffect)
    {
    }

    void parse(const uchar* chunk, quint32 length)
    {
        // Names are made into strings once at the end, not per event; the
        // guard also does it when a tempo error leaves the track partial.
        struct FinishGuard {
            TrackParser& parser;
            ~FinishGuard() { parser.finish(); }
        } guard{*this};

        // Room for events of three bytes (a delta time and two data bytes under
        // running status); shorter events make the list grow as it goes.
        m_events.reserve(length / 3 + 16);
        const uchar* p = chunk;
        const uchar* const end = chunk + length;
        quint8 runningStatus = 0;
        // Stops when fewer than two bytes remain, or at an event that runs past
        // the end of the chunk (it is dropped).
        while (end - p > 1) {
            TMidiEvent event;
            quint32 delta = 0;
            if (!readVariableLength(p, end, delta) || p >= end) {
                break;
            }
            if (*p >= 0x80) {
                runningStatus = *p++;
            }
            event.Status = runningStatus;
            if (runningStatus == 0) {
                // Before the first status byte an event is its delta time alone.
            } else if (runningStatus < 0xC0 || (runningStatus >= 0xE0 && runningStatus < 0xF0)) {
                if (end - p < 2) {
                    break;
                }
                event.Value1 = p[0];
                event.Value2 = p[1];
                p += 2;
            } else if (runningStatus < 0xE0) {
                if (p >= end) {
                    break;
                }
                event.Value1 = *p++;
            } else if (runningStatus == metaStatus) {
                quint32 dataLength = 0;
                if (p >= end) {
                    break;
                }
                event.Value1 = *p++;
                if (!readVariableLength(p, end, dataLength) || dataLength > quint32(end - p)) {
                    break;
                }
                const uchar* data = p;
                p += dataLength;
                const void* zero = std::memchr(data, 0, dataLength);
                event.TextData = reinterpret_cast<const char*>(data);
                event.TextLength = zero ? quint32(static_cast<const uchar*>(zero) - data) : dataLength;
                const qint32 ticks = qint32(std::min(qint64(m_track.m_tickTotal) + delta, maxTicks));
                if (event.Value1 == metaSetTempo && dataLength >= 3) {
                    applyTempo((quint32(data[0]) << 16) | (quint32(data[1]) << 8) | quint32(data[2]), ticks);
                } else if (event.Value1 == metaTimeSignature && dataLength >= 2) {
                    // Kept from the data bytes: a zero byte ends the event's text.
                    m_file.m_timeSignatures.push_back({ticks, data[0], data[1]});
                }
            } else if (runningStatus == 0xF0 || runningStatus == 0xF7) {
                quint32 dataLength = 0;
                if (!readVariableLength(p, end, dataLength) || dataLength > quint32(end - p)) {
                    break;
                }
                p += dataLength;
            }
            // 0xF1..0xF6 and 0xF8..0xFE: the status byte alone.
            event.DeltaTicks = qint32(delta);
            append(event, size_t(end - p));
        }
    }

private:
    void applyTempo(quint32 microsecondsPerQuarter, qint32 ticks)
    {
        if (microsecondsPerQuarter == 0) {
            return;
        }
        if (m_file.m_ticksPerQuarter == 0) {
            throw EFloatDivisionByZero();
        }
        // Every tempo event is kept for the tempo map, in reading order.
        m_file.m_tempoChanges.push_back({ticks, microsecondsPerQuarter});
        m_file.m_bpm = int(60000000u / microsecondsPerQuarter);
        m_file.m_microsecondsPerTick = double(microsecondsPerQuarter) / m_file.m_ticksPerQuarter;
        m_tempoTookEffect = true;
    }

    void append(TMidiEvent& event, size_t bytesLeft)
    {
        const quint8 kind = event.Status & 0xF0;
        const quint8 channel = event.Status & 0x0F;
        if (event.Status == metaStatus) {
            if (event.Value1 == metaTrackName) {
                m_trackName = event.Text();
                m_hasTrackName = true;
            } else if (event.Value1 == metaInstrumentName) {
                m_instrumentText = event.Text();
                m_instrumentSource = InstrumentSource::MetaText;
            }
        } else if (kind == 0xC0) {
            m_track.m_programNumber = event.Value1;
            m_instrumentSource = InstrumentSource::Program;
        } else if (kind == 0xB0) {
            if (event.Value1 == 7) {
                m_track.m_volume = event.Value2;
            } else if (event.Value1 == 10) {
                m_track.m_pan = event.Value2;
            }
        }

        const qint64 total = qint64(m_track.m_tickTotal) + event.DeltaTicks;
        m_track.m_tickTotal = qint32(total > maxTicks ? maxTicks : total);
        event.Ticks = m_track.m_tickTotal;
        event.NoteTicks = 0;

        const qint32 index = qint32(m_events.size());
        const bool noteOff = kind == 0x80 || (kind == 0x90 && event.Value2 == 0);
        if (noteOff) {
            const qint32 match = m_notes.at(channel, event.Value1);
            if (match >= 0 && match < index) {
                TMidiEvent& noteOn = m_events[size_t(match)];
                if (noteOn.Status == (0x90 | channel) && noteOn.Value1 == event.Value1) {
                    noteOn.NoteTicks = m_track.m_tickTotal - noteOn.Ticks;
                    event.NoteTicks = -1;
                }
            }
        }
        if (kind == 0x90) {
            m_notes.at(channel, event.Value1) = index;
            m_track.m_channel = channel + 1;
        }

        if (m_events.size() == m_events.capacity()) {
            // Grow by what the rest of the chunk can hold at three bytes an
            // event, so the record list ends close to its true size.
            m_events.reserve(m_events.size() + bytesLeft / 3 + 16);
        }
        m_events.push_back(event);
    }

    void finish()
    {
        if (m_hasTrackName) {
            m_track.m_trackName = QString::fromLatin1(m_trackName);
        }
        if (m_instrumentSource == InstrumentSource::MetaText) {
            m_track.m_instrumentName = QString::fromLatin1(m_instrumentText);
        } else if (m_instrumentSource == InstrumentSource::Program) {
            m_track.m_instrumentName = GMProgramName(m_track.m_programNumber);
        }
        // At most 40 bytes per event: give back a reservation well above need.
        if (m_events.capacity() > m_events.size() + m_events.size() / 4 + 16) {
            m_events.shrink_to_fit();
        }
    }

    TMidiFile& m_file;
    TMidiTrack& m_track;
    EventVector<TMidiEvent>& m_events;
    NoteTable& m_notes;
    bool& m_tempoTookEffect;
    QByteArrayView m_trackName;
    QByteArrayView m_instrumentText;
    bool m_hasTrackName = false;
    InstrumentSource m_instrumentSource = InstrumentSource::None;
};

void SmfReader::read(TMidiFile& file, const QByteArray& bytes)
{
    file.m_tracks.clear();
    file.m_tempoChanges.clear();
    file.m_timeSignatures.clear();
    bool tempoTookEffect = false;
    // Whatever happens, the file ends in a playable state: the default tempo
    // when the file set none, and every track read so far kept.
    struct FinishGuard {
        TMidiFile& file;
        bool& tempoTookEffect;
        ~FinishGuard()
        {
            if (!tempoTookEffect) {
                file.m_bpm = int(60000000u / defaultTempo);
                file.m_microsecondsPerTick =
                    file.m_ticksPerQuarter == 0 ? 0.0 : double(defaultTempo) / file.m_ticksPerQuarter;
            }
        }
    } guard{file, tempoTookEffect};

    // A RIFF MIDI file is read as the Standard MIDI File it wraps.
    QByteArrayView smf(bytes);
    if (const std::optional<RiffMidiData> wrapped = riffMidiData(bytes)) {
        smf = smf.sliced(wrapped->offset, std::min(wrapped->length, smf.size() - wrapped->offset));
    }
    try {
        readChunks(file, bytes, smf, tempoTookEffect);
    } catch (const std::bad_alloc&) {
        throw Exception(QCoreApplication::translate("SongFile", "Out of memory"));
    }
}

void SmfReader::readChunks(TMidiFile& file, const QByteArray& bytes, QByteArrayView smf, bool& tempoTookEffect)
{
    NoteTable notes;
    const uchar* const data = reinterpret_cast<const uchar*>(smf.data());
    const size_t size = size_t(smf.size());
    size_t pos = 0;
    while (pos < size) {
        if (size - pos < 8) {
            readBeyondEnd();
        }
        const uchar* id = data + pos;
        const quint32 length = bigEndian32(data + pos + 4);
        pos += 8;
        // Checked before anything of that size is set aside.
        if (length > size - pos) {
            readBeyondEnd();
        }
        const uchar* content = data + pos;
        pos += length;
        if (std::memcmp(id, "MThd", 4) == 0) {
            // A short header gives only the fields it holds.
            if (length >= 2) {
                if (content[1] <= 2) {
                    file.m_fileFormat = TFileFormat(content[1]);
                }
            }
            if (length >= 6) {
                file.m_ticksPerQuarter = int((quint32(content[4]) << 8) | content[5]);
            }
        } else if (std::memcmp(id, "MTrk", 4) == 0) {
            const int number = int(file.m_tracks.size());
            file.m_tracks.push_back(std::make_unique<TMidiTrack>(number, file.m_onMidiEvent));
            TMidiTrack& track = *file.m_tracks.back();
            track.m_textPool = bytes;
            TrackParser(file, track, notes, tempoTookEffect).parse(content, length);
        }
    }
}

} // namespace harmonet
