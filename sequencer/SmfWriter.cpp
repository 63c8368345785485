#include "sequencer/SmfWriter.h"

#include "core/Exception.h"

#include <QSaveFile>

namespace harmonet {

namespace {

void appendBigEndian32(QByteArray& out, quint32 value)
{
    out.append(char(value >> 24)).append(char(value >> 16)).append(char(value >> 8)).append(char(value));
}

void appendChunk(QByteArray& out, const QByteArray& id, quint32 declaredLength, const QByteArray& content)
{
    out.append(id);
    appendBigEndian32(out, declaredLength);
    out.append(content);
}

} // namespace

QByteArray SmfWriter::vlqBytes(quint64 value)
{
    char groups[10];
    int count = 0;
    do {
        groups[count++] = char(value & 0x7F);
        value >>= 7;
    } while (value != 0);
    QByteArray out;
    out.reserve(count);
    for (int i = count - 1; i >= 0; --i) {
        out.append(i > 0 ? char(groups[i] | 0x80) : groups[i]);
    }
    return out;
}

SmfWriter& SmfWriter::header(quint16 format, quint16 trackCount, quint16 division)
{
    QByteArray content;
    content.append(char(format >> 8)).append(char(format));
    content.append(char(trackCount >> 8)).append(char(trackCount));
    content.append(char(division >> 8)).append(char(division));
    return chunk("MThd", content);
}

SmfWriter& SmfWriter::chunk(const QByteArray& id, const QByteArray& content)
{
    return chunkDeclaring(id, quint32(content.size()), content);
}

SmfWriter& SmfWriter::chunkDeclaring(const QByteArray& id, quint32 declaredLength, const QByteArray& content)
{
    if (m_trackOpen) {
        endTrack();
    }
    appendChunk(m_file, id, declaredLength, content);
    return *this;
}

SmfWriter& SmfWriter::beginTrack()
{
    if (m_trackOpen) {
        endTrack();
    }
    m_track.clear();
    m_trackOpen = true;
    return *this;
}

SmfWriter& SmfWriter::endTrack(std::optional<quint32> declaredLength)
{
    m_trackOpen = false;
    appendChunk(m_file, "MTrk", declaredLength.value_or(quint32(m_track.size())), m_track);
    m_track.clear();
    return *this;
}

QByteArray& SmfWriter::target()
{
    return m_trackOpen ? m_track : m_file;
}

SmfWriter& SmfWriter::raw(const QByteArray& bytes)
{
    target().append(bytes);
    return *this;
}

SmfWriter& SmfWriter::delta(quint64 ticks)
{
    target().append(vlqBytes(ticks));
    return *this;
}

SmfWriter& SmfWriter::channel(quint64 deltaTicks, quint8 status, quint8 data1, int data2)
{
    delta(deltaTicks);
    target().append(char(status));
    target().append(char(data1));
    if (data2 >= 0) {
        target().append(char(data2));
    }
    return *this;
}

SmfWriter& SmfWriter::running(quint64 deltaTicks, quint8 data1, int data2)
{
    delta(deltaTicks);
    target().append(char(data1));
    if (data2 >= 0) {
        target().append(char(data2));
    }
    return *this;
}

SmfWriter& SmfWriter::noteOn(quint64 deltaTicks, int channel0, quint8 key, quint8 velocity)
{
    return channel(deltaTicks, quint8(0x90 | (channel0 & 0x0F)), key, velocity);
}

SmfWriter& SmfWriter::noteOff(quint64 deltaTicks, int channel0, quint8 key, quint8 velocity)
{
    return channel(deltaTicks, quint8(0x80 | (channel0 & 0x0F)), key, velocity);
}

SmfWriter& SmfWriter::programChange(quint64 deltaTicks, int channel0, quint8 program)
{
    return channel(deltaTicks, quint8(0xC0 | (channel0 & 0x0F)), program);
}

SmfWriter& SmfWriter::controlChange(quint64 deltaTicks, int channel0, quint8 controller, quint8 value)
{
    return channel(deltaTicks, quint8(0xB0 | (channel0 & 0x0F)), controller, value);
}

SmfWriter& SmfWriter::meta(quint64 deltaTicks, quint8 type, const QByteArray& data)
{
    delta(deltaTicks);
    target().append(char(0xFF)).append(char(type));
    target().append(vlqBytes(quint64(data.size())));
    target().append(data);
    return *this;
}

SmfWriter& SmfWriter::tempo(quint64 deltaTicks, quint32 microsecondsPerQuarter)
{
    QByteArray data;
    data.append(char(microsecondsPerQuarter >> 16)).append(char(microsecondsPerQuarter >> 8));
    data.append(char(microsecondsPerQuarter));
    return meta(deltaTicks, SetTempo, data);
}

SmfWriter& SmfWriter::timeSignature(quint64 deltaTicks, quint8 numerator, quint8 denominatorPower)
{
    // 24 MIDI clocks a metronome click, eight 32nd notes a quarter.
    QByteArray data;
    data.append(char(numerator)).append(char(denominatorPower)).append(char(24)).append(char(8));
    return meta(deltaTicks, TimeSignature, data);
}

SmfWriter& SmfWriter::endOfTrack(quint64 deltaTicks)
{
    return meta(deltaTicks, EndOfTrack, QByteArray());
}

SmfWriter& SmfWriter::sysex(quint64 deltaTicks, quint8 status, const QByteArray& data)
{
    delta(deltaTicks);
    target().append(char(status));
    target().append(vlqBytes(quint64(data.size())));
    target().append(data);
    return *this;
}

QByteArray SmfWriter::bytes() const
{
    if (!m_trackOpen) {
        return m_file;
    }
    QByteArray out = m_file;
    appendChunk(out, "MTrk", quint32(m_track.size()), m_track);
    return out;
}

void SmfWriter::saveTo(const QString& path) const
{
    QSaveFile file(path);
    const QByteArray content = bytes();
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() || !file.commit()) {
        throw Exception(QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
    }
}

} // namespace harmonet
