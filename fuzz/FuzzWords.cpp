// libFuzzer target: every input is a MIDI file whose words are read as the
// player reads them. TSongWords finds the encoding, the sources of words and
// the voices' pairing; then each encoding the player offers (and one it does
// not know) is set in turn, each voice is given each of its words in turn, and
// the shown syllable of every event of every track is asked for, as the
// lyrics strip and window do while the song plays. Besides the sanitizers'
// findings, a broken promise of the words model aborts.
#include "fuzz/Invariant.h"
#include "sequencer/MidiFile.h"
#include "sequencer/SongWords.h"

#include <QCoreApplication>
#include <cstdint>

using namespace harmonet;
using fuzz::invariantBroken;

namespace {

// Keeps the reads of the walk from being optimised away.
volatile qsizetype g_lengthSink = 0;

// What does not depend on the encoding: which tracks are sources and which of
// their events are syllables, with the breaks their karaoke marks make.
QList<int> syllableLayout(const TSongWords& words)
{
    QList<int> layout;
    for (const TWordsSource& source : words.sources()) {
        layout.append(-1 - source.track);
        for (const TWordsSyllable& syllable : source.syllables)
            layout.append(syllable.eventIndex * 4 + int(syllable.breakBefore));
    }
    return layout;
}

void checkSources(const TMidiFile& song, const TSongWords& words)
{
    int previousTrack = -1;
    qsizetype shownLength = 0;
    for (const TWordsSource& source : words.sources()) {
        if (source.track <= previousTrack || source.track >= song.NumberOfTracks())
            invariantBroken("the sources of words are not distinct tracks of the file in track order");
        previousTrack = source.track;
        if (words.sourceOf(source.track) != &source)
            invariantBroken("sourceOf does not give the source of its track");
        const TMidiTrack& track = *song.TrackAt(source.track);
        int previousEvent = -1;
        for (const TWordsSyllable& syllable : source.syllables) {
            if (syllable.eventIndex <= previousEvent || syllable.eventIndex >= track.EventCount())
                invariantBroken("the syllables of a source are not distinct events of its track in order");
            previousEvent = syllable.eventIndex;
            if (track.EventAt(syllable.eventIndex)->Status != 0xFF)
                invariantBroken("a syllable stands for an event that is not a meta event");
            if (syllable.ticks != track.EventAt(syllable.eventIndex)->Ticks)
                invariantBroken("a syllable's time differs from its event's");
            shownLength += syllable.shown.size();
        }
        shownLength += source.title().size() + source.firstWords().size();
    }
    g_lengthSink = shownLength;
}

// Every event of every track (and one on each side) asked for its shown
// syllable gives exactly the syllables of the sources.
void checkShownSyllables(const TMidiFile& song, const TSongWords& words)
{
    for (int track = 0; track < song.NumberOfTracks(); ++track) {
        const TWordsSource* source = words.sourceOf(track);
        qsizetype next = 0;
        const int events = song.TrackAt(track)->EventCount();
        for (int index = -1; index <= events; ++index) {
            const std::optional<QString> shown = words.shownSyllableAt(track, index);
            const bool isSyllable = source && next < source->syllables.size()
                && source->syllables[next].eventIndex == index;
            if (shown.has_value() != isSyllable || (isSyllable && *shown != source->syllables[next].shown))
                invariantBroken("shownSyllableAt differs from the source's syllables");
            next += isSyllable ? 1 : 0;
        }
    }
    if (words.shownSyllableAt(-1, 0) || words.shownSyllableAt(song.NumberOfTracks(), 0))
        invariantBroken("shownSyllableAt gave a syllable of a track that is not in the file");
}

void checkPairing(const TMidiFile& song, const TSongWords& words)
{
    const QList<int> voiceTracks = TSongWords::voiceTracksOf(song);
    if (words.voices().size() != voiceTracks.size())
        invariantBroken("the pairing does not hold one entry per voice");
    for (qsizetype v = 0; v < voiceTracks.size(); ++v) {
        const TVoiceWords& voice = words.voices()[v];
        if (voice.voice != voiceTracks[v])
            invariantBroken("the pairing's voices are not the voice tracks in panel order");
        for (qsizetype w = 0; w < voice.words.size(); ++w) {
            if (!words.sourceOf(voice.words[w]) || voice.words.indexOf(voice.words[w]) != w)
                invariantBroken("a voice is paired with a track that is not a source of words, or twice");
        }
        const int chosen = words.chosenWordsOf(voice.voice);
        if (chosen != -1 && !words.sourceOf(chosen))
            invariantBroken("a voice's chosen words are not a source of words");
    }
}

// Gives each voice every track in turn, as the words menu may: the choice
// follows exactly the sources of words. Leaves every voice with its last words.
void chooseEveryWords(const TMidiFile& song, TSongWords& words)
{
    for (const TVoiceWords& voice : words.voices()) {
        for (int track = -1; track <= song.NumberOfTracks(); ++track) {
            const int before = words.chosenWordsOf(voice.voice);
            words.choose(voice.voice, track);
            const int expected = words.sourceOf(track) ? track : before;
            if (words.chosenWordsOf(voice.voice) != expected)
                invariantBroken("choose did not follow the sources of words");
        }
        if (!voice.words.isEmpty())
            words.choose(voice.voice, voice.words.constLast());
    }
}

QList<int> choices(const TSongWords& words)
{
    QList<int> chosen;
    for (const TVoiceWords& voice : words.voices())
        chosen.append(words.chosenWordsOf(voice.voice));
    return chosen;
}

void checkAll(const TMidiFile& song, const TSongWords& words)
{
    checkSources(song, words);
    checkShownSyllables(song, words);
    checkPairing(song, words);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TMidiFile song;
    try {
        song.LoadSongFromBytes(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    } catch (const Exception&) {
        // A damaged file fails with a message; the player shows the words of
        // the tracks read so far.
    }
    TSongWords words;
    words.build(song);
    checkAll(song, words);
    for (const TVoiceWords& voice : words.voices()) {
        if (words.chosenWordsOf(voice.voice) != (voice.words.isEmpty() ? -1 : voice.words.constFirst()))
            invariantBroken("once the song is read, a voice's choice is not its first words (or none)");
    }
    const QList<int> layout = syllableLayout(words);
    chooseEveryWords(song, words);
    const QList<int> chosen = choices(words);

    QStringList encodings = TTextEncoding::commonNames();
    encodings << QString::fromLatin1(TTextEncoding::Ascii) << QStringLiteral("x-no-such-encoding")
              << QString::fromLatin1(words.detectedEncoding());
    for (const QString& name : encodings) {
        words.setEncoding(song, name.toLatin1());
        if (syllableLayout(words) != layout)
            invariantBroken("another encoding changed which events are syllables");
        if (choices(words) != chosen)
            invariantBroken("another encoding changed the voices' choices");
        checkAll(song, words);
    }
    words.clear();
    if (!words.sources().isEmpty() || !words.voices().isEmpty() || words.shownSyllableAt(0, 0))
        invariantBroken("clear left words behind");
    return 0;
}
