#include "tools/dump/SongJson.h"

#include "sequencer/MidiFile.h"

#include <string_view>

namespace harmonet::tools {

namespace {

std::string_view formatName(TFileFormat format)
{
    switch (format) {
    case TFileFormat::single: return "single";
    case TFileFormat::multi_synch: return "multi_synch";
    case TFileFormat::multi_asynch: return "multi_asynch";
    }
    return "single";
}

// Track and instrument names hold the file's bytes one character per byte.
void writeName(TextOutput& out, const QString& name)
{
    const QByteArray bytes = name.toLatin1();
    out.latin1String(std::string_view(bytes.constData(), std::size_t(bytes.size())));
}

void writeEvent(TextOutput& out, const TMidiEvent& event)
{
    out.raw('[').integer(event.Status).raw(',').integer(event.Value1).raw(',').integer(event.Value2);
    out.raw(',').integer(event.DeltaTicks).raw(',').integer(event.Ticks).raw(',').integer(event.NoteTicks);
    const QByteArrayView text = event.Text();
    out.raw(',').latin1String(std::string_view(text.data(), std::size_t(text.size()))).raw(']');
}

void writeTrack(TextOutput& out, const TMidiTrack& track)
{
    out.raw("{\"trackNumber\":").integer(track.TrackNumber());
    out.raw(",\"name\":");
    writeName(out, track.TrackName());
    out.raw(",\"instrument\":");
    writeName(out, track.InstrumentName());
    out.raw(",\"program\":").integer(track.ProgramNumber());
    out.raw(",\"volume\":").integer(track.Volume());
    out.raw(",\"pan\":").integer(track.Pan());
    out.raw(",\"channel\":").integer(track.Channel());
    out.raw(",\"events\":[");
    bool first = true;
    for (const TMidiEvent& event : track.Events()) {
        if (!first)
            out.raw(',');
        first = false;
        writeEvent(out, event);
        out.flushIfLarge();
    }
    out.raw("]}");
}

} // namespace

void writeSongJson(TextOutput& out, const TMidiFile& song, const std::optional<QString>& loadError)
{
    out.raw("{\"format\":\"").raw(formatName(song.FileFormat())).raw('"');
    out.raw(",\"ticksPerQuarter\":").integer(song.TicksPerQuarter());
    out.raw(",\"bpm\":").integer(song.Bpm());
    out.raw(",\"microsecondsPerTick\":").number(song.MicrosecondsPerTick());
    out.raw(",\"songLengthMs\":").integer(song.SongLengthMs());
    out.raw(",\"error\":");
    if (loadError) {
        const QByteArray message = loadError->toUtf8();
        out.utf8String(std::string_view(message.constData(), std::size_t(message.size())));
    } else {
        out.null();
    }
    out.raw(",\"tracks\":[");
    for (int index = 0; index < song.NumberOfTracks(); ++index) {
        if (index > 0)
            out.raw(',');
        writeTrack(out, *song.TrackAt(index));
    }
    out.raw("]}\n");
}

} // namespace harmonet::tools
