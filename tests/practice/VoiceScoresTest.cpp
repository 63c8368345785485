// The voices of closed scores rendered by LilyPond, measured against the
// same scores rendered with every voice on a channel of its own (which
// voice sings each note) and with every voice in a track of its own (which
// notes two voices sing in unison: LilyPond writes those once per staff).
// Prints the share of the notes, weighted by length, put in the right voice.
#include "practice/VoiceModel.h"
#include "sequencer/MidiFile.h"
#include "sequencer/SongWords.h"
#include "tests/support/LilyPondScores.h"

#include <QDir>
#include <gtest/gtest.h>
#include <algorithm>
#include <cstdio>
#include <map>
#include <set>

using namespace harmonet;
using namespace harmonet::test;

namespace {

const QString ChannelPerVoice = QStringLiteral("\\context { \\Staff midiChannelMapping = #'voice }");
const QString TrackPerVoice =
    QStringLiteral("\\context { \\Staff \\remove \"Staff_performer\" } \\context { \\Voice \\consists \"Staff_performer\" }");

using NoteKey = std::pair<qint32, int>;

struct Score {
    const char* name;
    // The shared staves' tracks.
    QList<int> staves;
    // Words tracks each voice of the staves sings, top first; empty when not checked.
    QList<std::pair<QString, int>> namedWords;
};

// Loads the one MIDI file a render wrote.
void load(TMidiFile& file, const QString& folder, const char* name)
{
    file.SetFilename(QDir(folder).filePath(QLatin1String(name) + QStringLiteral(".midi")));
    file.LoadSong();
}

std::set<NoteKey> onsetsOf(const TMidiTrack& track, int channel)
{
    std::set<NoteKey> notes;
    for (const TMidiEvent& event : track.Events()) {
        if ((event.Status & 0xF0) == 0x90 && event.Value2 > 0 && (channel < 0 || (event.Status & 0x0F) == channel)) {
            notes.emplace(event.Ticks, event.Value1);
        }
    }
    return notes;
}

int medianKey(const std::set<NoteKey>& notes)
{
    std::vector<int> keys;
    for (const NoteKey& note : notes) {
        keys.push_back(note.second);
    }
    std::nth_element(keys.begin(), keys.begin() + qsizetype(keys.size() / 2), keys.end());
    return keys.empty() ? 0 : keys[keys.size() / 2];
}

// Every note each voice of a staff sings, top first: the voices are the
// channels of the staff's track in the channel-per-voice render, ordered by
// their median key, each with the notes of the track that holds the same
// voice in the track-per-voice render, unisons included.
std::vector<std::set<NoteKey>> trueVoices(const TMidiFile& byChannel, const TMidiFile& byTrack, int staff)
{
    std::vector<std::set<NoteKey>> channels;
    for (int channel = 0; channel < 16; ++channel) {
        std::set<NoteKey> notes = onsetsOf(*byChannel.TrackAt(staff), channel);
        if (!notes.empty()) {
            channels.push_back(std::move(notes));
        }
    }
    std::sort(channels.begin(), channels.end(),
              [](const auto& a, const auto& b) { return medianKey(a) > medianKey(b); });
    std::vector<std::set<NoteKey>> voices;
    for (const std::set<NoteKey>& channel : channels) {
        std::set<NoteKey> best;
        size_t bestShared = 0;
        for (int track = 0; track < byTrack.NumberOfTracks(); ++track) {
            const std::set<NoteKey> notes = onsetsOf(*byTrack.TrackAt(track), -1);
            const size_t shared = size_t(std::count_if(channel.begin(), channel.end(),
                                                       [&](const NoteKey& n) { return notes.count(n) > 0; }));
            if (shared > bestShared) {
                bestShared = shared;
                best = notes;
            }
        }
        voices.push_back(best);
    }
    return voices;
}

struct Figures {
    double rightTime = 0;
    double allTime = 0;
    int right = 0;
    int notes = 0;
    int unisons = 0;
};

// Compares the voices found in a staff's track with the true ones, note by
// note: right when a note is in exactly the voices that sing it.
void measure(const TMidiTrack& track, const QList<TVoice>& found, const std::vector<std::set<NoteKey>>& truth,
             Figures& figures)
{
    std::map<int, std::set<int>> voicesOfNote;
    for (qsizetype v = 0; v < found.size(); ++v) {
        for (const TVoiceNote& note : found[v].notes) {
            voicesOfNote[note.onIndex].insert(int(v));
        }
    }
    const auto events = track.Events();
    for (int index = 0; index < int(events.size()); ++index) {
        const TMidiEvent& event = events[size_t(index)];
        if ((event.Status & 0xF0) != 0x90 || event.Value2 == 0) {
            continue;
        }
        std::set<int> sung;
        for (size_t v = 0; v < truth.size(); ++v) {
            if (truth[v].count({event.Ticks, event.Value1}) > 0) {
                sung.insert(int(v));
            }
        }
        const bool right = voicesOfNote[index] == sung;
        figures.unisons += sung.size() > 1 ? 1 : 0;
        figures.notes += 1;
        figures.right += right ? 1 : 0;
        figures.allTime += event.NoteTicks;
        figures.rightTime += right ? event.NoteTicks : 0;
    }
}

QList<TVoice> voicesOf(const TMidiFile& file)
{
    TSongWords words;
    words.build(file);
    return findVoices(file, words);
}

QList<TVoice> voicesOfTrack(const QList<TVoice>& voices, int track)
{
    QList<TVoice> ofTrack;
    std::copy_if(voices.begin(), voices.end(), std::back_inserter(ofTrack),
                 [&](const TVoice& v) { return v.track == track; });
    return ofTrack;
}

TEST(VoiceScores, ClosedScoresSplitIntoTheirTrueVoices)
{
    const QList<Score> scores = {
        {"Uxbridge", {1, 6}, {}},
        {"Greis", {1, 3}, {{"Sopran", 5}, {"Alt", 2}, {"Tenor", 6}, {"Bass", 4}}},
        {"AveverumM", {1, 4}, {}},
    };
    for (const Score& score : scores) {
        const QString name = QLatin1String(score.name);
        HARMONET_REQUIRE_LILYPOND_SCORE(plain, name);
        const QString byChannelFolder = renderedLilyPondScore(name, QStringLiteral("channel-per-voice"), ChannelPerVoice);
        const QString byTrackFolder = renderedLilyPondScore(name, QStringLiteral("track-per-voice"), TrackPerVoice);
        ASSERT_FALSE(byChannelFolder.isEmpty() || byTrackFolder.isEmpty()) << score.name;
        TMidiFile file, byChannel, byTrack;
        load(file, plain, score.name);
        load(byChannel, byChannelFolder, score.name);
        load(byTrack, byTrackFolder, score.name);

        const QList<TVoice> voices = voicesOf(file);
        const QList<TVoice> channelVoices = voicesOf(byChannel);
        Figures figures;
        QList<std::pair<QString, int>> namedWords;
        for (const int staff : score.staves) {
            const std::vector<std::set<NoteKey>> truth = trueVoices(byChannel, byTrack, staff);
            const QList<TVoice> found = voicesOfTrack(voices, staff);
            ASSERT_EQ(size_t(found.size()), truth.size()) << score.name << " track " << staff;
            measure(*file.TrackAt(staff), found, truth, figures);
            for (const TVoice& voice : found) {
                EXPECT_TRUE(voice.split) << score.name;
                namedWords.append({voice.name, voice.wordsTrack()});
            }
            // A voice on each channel is taken as it is.
            const QList<TVoice> perChannel = voicesOfTrack(channelVoices, staff);
            ASSERT_EQ(size_t(perChannel.size()), truth.size()) << score.name << " track " << staff;
            for (const TVoice& voice : perChannel) {
                EXPECT_FALSE(voice.split) << score.name;
                std::set<NoteKey> notes;
                for (const TVoiceNote& note : voice.notes) {
                    notes.emplace(note.tick, note.key);
                }
                EXPECT_EQ(notes, onsetsOf(*byChannel.TrackAt(staff), voice.channel - 1)) << score.name;
                EXPECT_EQ(notes.size(), voice.notes.size()) << score.name;
            }
        }
        const double share = 100.0 * figures.rightTime / std::max(1.0, figures.allTime);
        std::printf("%s: %.2f %% of the note time in the right voice (%d of %d notes, %d unisons)\n", score.name,
                    share, figures.right, figures.notes, figures.unisons);
        EXPECT_GE(share, 97.0) << score.name;
        if (!score.namedWords.isEmpty()) {
            EXPECT_EQ(namedWords, score.namedWords) << score.name;
        }
    }
}

} // namespace
