// The voices of a song: tracks, the channels of a track, and voices that
// share a track's channel split apart, named and paired with their words.
#include "practice/VoiceModel.h"
#include "sequencer/MidiFile.h"
#include "sequencer/SmfWriter.h"
#include "sequencer/SongWords.h"

#include <QByteArray>
#include <gtest/gtest.h>
#include <algorithm>
#include <map>
#include <tuple>

using namespace harmonet;

namespace {

constexpr qint32 Q = 480;

struct Note {
    qint32 tick;
    quint8 key;
    qint32 length;
    int channel = 0;
};

struct Track {
    QByteArray name;
    QList<Note> notes;
    int program = -1;
    QList<qint32> syllables = {};
};

// A format 1 song at 480 ticks a quarter: a tempo track, then the tracks.
// A track with syllables and no notes is a words track.
QByteArray song(const QList<Track>& tracks)
{
    SmfWriter w;
    w.header(1, quint16(tracks.size() + 1), quint16(Q));
    w.beginTrack().tempo(0, 500000).endOfTrack().endTrack();
    for (const Track& track : tracks) {
        w.beginTrack();
        if (!track.name.isEmpty()) {
            w.meta(0, SmfWriter::TrackName, track.name);
        }
        if (track.program >= 0) {
            w.programChange(0, 0, quint8(track.program));
        }
        // (tick, order, what): note-offs before texts before note-ons.
        std::multimap<std::pair<qint32, int>, std::tuple<int, int, int>> events;
        for (const Note& note : track.notes) {
            events.emplace(std::pair{note.tick + note.length, 0}, std::tuple{note.channel, note.key, 0});
            events.emplace(std::pair{note.tick, 2}, std::tuple{note.channel, note.key, 1});
        }
        for (const qint32 tick : track.syllables) {
            events.emplace(std::pair{tick, 1}, std::tuple{0, 0, 2});
        }
        qint32 now = 0;
        for (const auto& [when, what] : events) {
            const auto [channel, key, kind] = what;
            const quint64 delta = quint64(when.first - now);
            now = when.first;
            if (kind == 0) {
                w.noteOff(delta, channel, quint8(key));
            } else if (kind == 1) {
                w.noteOn(delta, channel, quint8(key), 90);
            } else {
                w.meta(delta, SmfWriter::Lyric, "la ");
            }
        }
        w.endOfTrack().endTrack();
    }
    return w.bytes();
}

// One voice as the tests expect it.
struct Expected {
    QString name;
    int channel;
    bool split;
    QList<Note> notes;
    // The words track paired with it, or -1.
    int words = -1;
};

// The notes of both voices as one track writes them: a unison once.
QList<Note> merged(const QList<QList<Note>>& voices)
{
    QList<Note> all;
    for (const QList<Note>& voice : voices) {
        for (const Note& note : voice) {
            const bool written = std::any_of(all.begin(), all.end(), [&](const Note& n) {
                return n.tick == note.tick && n.key == note.key && n.length == note.length;
            });
            if (!written) {
                all.append(note);
            }
        }
    }
    return all;
}

std::vector<std::tuple<qint32, int, qint32>> triples(const QList<Note>& notes)
{
    std::vector<std::tuple<qint32, int, qint32>> out;
    for (const Note& n : notes) {
        out.emplace_back(n.tick, n.key, n.length);
    }
    std::sort(out.begin(), out.end());
    return out;
}

std::vector<std::tuple<qint32, int, qint32>> triples(const std::vector<TVoiceNote>& notes)
{
    std::vector<std::tuple<qint32, int, qint32>> out;
    for (const TVoiceNote& n : notes) {
        out.emplace_back(n.tick, n.key, n.length);
    }
    std::sort(out.begin(), out.end());
    return out;
}

QList<TVoice> voicesOf(const QByteArray& bytes, TMidiFile& file)
{
    file.LoadSongFromBytes(bytes);
    TSongWords words;
    words.build(file);
    return findVoices(file, words);
}

struct VoicesCase {
    const char* what;
    QList<Track> tracks;
    QList<Expected> voices;
};

// Two voices of a closed score on one channel: the upper voice's notes
// first, then the lower one's.
VoicesCase sharedStaff(const char* what, const QList<Note>& upper, const QList<Note>& lower)
{
    return {what,
            {{"upper:", merged({upper, lower})}},
            {{"Upper 1", 1, true, upper}, {"Upper 2", 1, true, lower}}};
}

TEST(VoiceModel, TracksChannelsAndSharedChannelsGiveTheirVoices)
{
    // The alto moves where the soprano holds: her words fall on her onsets alone.
    const QList<Note> soprano = {{0, 67, 2 * Q}, {2 * Q, 69, Q}, {3 * Q, 71, Q}, {4 * Q, 72, 2 * Q}};
    const QList<Note> alto = {{0, 64, Q}, {Q, 62, Q}, {2 * Q, 65, Q}, {3 * Q, 62, Q}, {4 * Q, 64, 2 * Q}};
    const QList<VoicesCase> cases = {
        sharedStaff("parallel thirds",
                    {{0, 64, Q}, {Q, 65, Q}, {2 * Q, 67, Q}, {3 * Q, 69, Q}},
                    {{0, 60, Q}, {Q, 62, Q}, {2 * Q, 64, Q}, {3 * Q, 65, Q}}),
        sharedStaff("the lower voice rises above the note the upper one holds",
                    {{0, 67, 2 * Q}, {2 * Q, 72, 2 * Q}},
                    {{0, 64, Q}, {Q, 69, Q}, {2 * Q, 65, 2 * Q}}),
        sharedStaff("a unison passage belongs to both",
                    {{0, 64, Q}, {Q, 62, Q}, {2 * Q, 60, Q}, {3 * Q, 60, Q}, {4 * Q, 64, Q}},
                    {{0, 60, Q}, {Q, 59, Q}, {2 * Q, 60, Q}, {3 * Q, 60, Q}, {4 * Q, 60, Q}}),
        sharedStaff("the lower voice rests while the upper one runs on",
                    {{0, 67, Q}, {Q, 71, Q}, {2 * Q, 74, Q}, {3 * Q, 72, Q}},
                    {{0, 60, Q}, {3 * Q, 64, Q}}),
        sharedStaff("the upper voice rests while the lower one runs on",
                    {{0, 72, Q}, {3 * Q, 72, Q}},
                    {{0, 64, Q}, {Q, 60, Q}, {2 * Q, 57, Q}, {3 * Q, 60, Q}}),
        sharedStaff("a note held under moving notes",
                    {{0, 64, Q}, {Q, 65, Q}, {2 * Q, 67, Q}, {3 * Q, 64, Q}},
                    {{0, 60, 4 * Q}}),
        {"three voices on one channel, the bottom one moving under held notes",
         {{"", merged({{{0, 72, Q}, {Q, 74, Q}, {2 * Q, 76, 2 * Q}},
                       {{0, 67, Q}, {Q, 67, Q}, {2 * Q, 67, 2 * Q}},
                       {{0, 64, Q}, {Q, 65, Q}, {2 * Q, 60, Q}, {3 * Q, 62, Q}}})}},
         {{"Soprano", 1, true, {{0, 72, Q}, {Q, 74, Q}, {2 * Q, 76, 2 * Q}}},
          {"Alto", 1, true, {{0, 67, Q}, {Q, 67, Q}, {2 * Q, 67, 2 * Q}}},
          {"Tenor", 1, true, {{0, 64, Q}, {Q, 65, Q}, {2 * Q, 60, Q}, {3 * Q, 62, Q}}}}},
        {"a piano's chords are an accompaniment, left whole",
         {{"Piano", {{0, 60, Q}, {0, 64, Q}, {Q, 62, Q}, {Q, 65, Q}, {2 * Q, 64, Q}, {2 * Q, 67, Q}}, 0}},
         {{"Piano", 1, false, {{0, 60, Q}, {0, 64, Q}, {Q, 62, Q}, {Q, 65, Q}, {2 * Q, 64, Q}, {2 * Q, 67, Q}}}}},
        {"chords of four notes are an accompaniment whatever plays them",
         {{"Strings", {{0, 48, 2 * Q}, {0, 55, 2 * Q}, {0, 64, 2 * Q}, {0, 72, 2 * Q}}, 48}},
         {{"Strings", 1, false, {{0, 48, 2 * Q}, {0, 55, 2 * Q}, {0, 64, 2 * Q}, {0, 72, 2 * Q}}}}},
        {"a track on two channels gives a voice for each",
         {{"Duet", {{0, 72, Q, 1}, {0, 60, Q, 0}, {Q, 71, Q, 1}, {Q, 62, Q, 0}}}},
         {{"Duet 1", 1, false, {{0, 60, Q}, {Q, 62, Q}}}, {"Duet 2", 2, false, {{0, 72, Q}, {Q, 71, Q}}}}},
        {"voices paired with words named after them; the file's words tracks in any order",
         {{"women:Sopran", merged({soprano, alto})},
          {"versealt:", {}, -1, {0, Q, 2 * Q, 3 * Q, 4 * Q}},
          {"versesopran:", {}, -1, {0, 2 * Q, 3 * Q, 4 * Q}}},
         {{"Sopran", 1, true, soprano, 3}, {"Alt", 1, true, alto, 2}}},
    };
    for (const VoicesCase& c : cases) {
        TMidiFile file;
        const QList<TVoice> voices = voicesOf(song(c.tracks), file);
        ASSERT_EQ(voices.size(), c.voices.size()) << c.what;
        for (qsizetype v = 0; v < voices.size(); ++v) {
            const Expected& expected = c.voices[v];
            EXPECT_EQ(voices[v].name, expected.name) << c.what << ", voice " << v;
            EXPECT_EQ(voices[v].track, 1) << c.what << ", voice " << v;
            EXPECT_EQ(voices[v].channel, expected.channel) << c.what << ", voice " << v;
            EXPECT_EQ(voices[v].split, expected.split) << c.what << ", voice " << v;
            EXPECT_EQ(triples(voices[v].notes), triples(expected.notes)) << c.what << ", voice " << v;
            EXPECT_EQ(voices[v].wordsTrack(), expected.words) << c.what << ", voice " << v;
            EXPECT_EQ(voices[v].fileName, QString::fromLatin1(c.tracks[0].name)) << c.what;
        }
    }
}

TEST(VoiceModel, EachNoteKnowsItsEventsInTheTrack)
{
    TMidiFile file;
    const QList<TVoice> voices = voicesOf(song({{"upper:", {{0, 64, Q}, {0, 60, 2 * Q}, {Q, 65, Q}}}}), file);
    ASSERT_EQ(voices.size(), 2);
    const TMidiTrack& track = *file.TrackAt(1);
    for (const TVoice& voice : voices) {
        for (const TVoiceNote& note : voice.notes) {
            const TMidiEvent& on = *track.EventAt(note.onIndex);
            const TMidiEvent& off = *track.EventAt(note.offIndex);
            EXPECT_EQ(on.Status & 0xF0, 0x90);
            EXPECT_EQ(on.Value1, note.key);
            EXPECT_EQ(on.Ticks, note.tick);
            EXPECT_EQ(off.Status & 0xF0, 0x80);
            EXPECT_EQ(off.Value1, note.key);
            EXPECT_EQ(off.Ticks, note.tick + note.length);
        }
    }
}

} // namespace
