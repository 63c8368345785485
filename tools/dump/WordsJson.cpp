#include "tools/dump/WordsJson.h"

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

std::string_view kindName(TWordsSource::Kind kind)
{
    return kind == TWordsSource::Kind::Karaoke ? "karaoke" : "lyric";
}

} // namespace

void writeWordsJson(TextOutput& out, const TMidiFile& song)
{
    TSongWords words;
    words.build(song);
    const TTextEncoding& encoding = words.encoding();

    out.raw("{\"encoding\":");
    writeText(out, QString::fromLatin1(encoding.name()));
    out.raw(",\"voices\":[");
    bool first = true;
    for (const TVoiceWords& voice : words.voices()) {
        out.raw(first ? "" : ",").raw("{\"track\":").integer(voice.voice).raw(",\"name\":");
        writeText(out, encoding.decodeLatin1Held(song.TrackAt(voice.voice)->TrackName()));
        out.raw(",\"words\":").integer(words.chosenWordsOf(voice.voice)).raw('}');
        first = false;
    }
    out.raw("],\"words\":[");
    first = true;
    for (const TWordsSource& source : words.sources()) {
        out.raw(first ? "" : ",").raw("{\"track\":").integer(source.track).raw(",\"name\":");
        writeText(out, source.name);
        out.raw(",\"kind\":\"").raw(kindName(source.kind)).raw("\",\"syllables\":[");
        bool firstSyllable = true;
        for (const TWordsSyllable& syllable : source.syllables) {
            out.raw(firstSyllable ? "[" : ",[").integer(syllable.ticks).raw(',');
            writeText(out, syllable.text);
            out.raw(']');
            firstSyllable = false;
        }
        out.raw("]}");
        out.flushIfLarge();
        first = false;
    }
    out.raw("]}\n");
}

} // namespace harmonet::tools
