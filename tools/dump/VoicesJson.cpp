#include "tools/dump/VoicesJson.h"

#include "practice/VoiceModel.h"
#include "sequencer/MidiFile.h"
#include "sequencer/SongWords.h"

#include <string_view>

namespace harmonet::tools {

namespace {

void writeText(TextOutput& out, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    out.utf8String(std::string_view(utf8.constData(), std::size_t(utf8.size())));
}

} // namespace

void writeVoicesJson(TextOutput& out, const TMidiFile& song)
{
    TSongWords words;
    words.build(song);
    out.raw("{\"voices\":[");
    bool first = true;
    for (const TVoice& voice : findVoices(song, words)) {
        out.raw(first ? "{\"name\":" : ",{\"name\":");
        writeText(out, voice.name);
        out.raw(",\"fileName\":");
        writeText(out, voice.fileName);
        out.raw(",\"track\":").integer(voice.track).raw(",\"channel\":").integer(voice.channel);
        out.raw(",\"split\":").raw(voice.split ? "true" : "false");
        out.raw(",\"words\":").integer(voice.wordsTrack()).raw(",\"notes\":[");
        bool firstNote = true;
        for (const TVoiceNote& note : voice.notes) {
            out.raw(firstNote ? "[" : ",[").integer(note.tick).raw(',').integer(note.key).raw(',');
            out.integer(note.length).raw(']');
            firstNote = false;
        }
        out.raw("]}");
        out.flushIfLarge();
        first = false;
    }
    out.raw("]}\n");
}

} // namespace harmonet::tools
