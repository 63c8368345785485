// What the desktop's media controls are told: the player's state as MPRIS
// values, what changed between two states, the tempo for a rate, and where
// Next and Previous go among the verses.
#include "remote/MediaPlayerState.h"

#include <gtest/gtest.h>

namespace harmonet::test {
namespace {

MediaPlayerState songAt(int tempoBpm)
{
    MediaPlayerState state;
    state.songLoaded = true;
    state.path = QStringLiteral("/songs/old hundredth.mid");
    state.title = QStringLiteral("Old Hundredth");
    state.songNumber = 3;
    state.lengthMs = 60750;
    state.tempoBpm = tempoBpm;
    state.fileBpm = 80;
    state.minimumBpm = 1;
    state.maximumBpm = 200;
    state.volume = 0.5;
    state.verseStartsMs = {0, 15000, 30000, 45000};
    return state;
}

TEST(MediaPlayerState, PropertiesOfThePlayer)
{
    MediaPlayerState none;
    MediaPlayerState paused = songAt(40);
    paused.status = PlaybackStatus::Paused;
    MediaPlayerState looping = songAt(80);
    looping.status = PlaybackStatus::Playing;
    looping.loopSet = true;
    looping.verseStartsMs = {0};
    struct Row {
        const char* what;
        MediaPlayerState state;
        QVariantMap expected;
    };
    const Row rows[] = {
        {"no song", none,
         {{"PlaybackStatus", "Stopped"}, {"LoopStatus", "None"}, {"Rate", 1.0}, {"MinimumRate", 1.0},
          {"MaximumRate", 1.0}, {"CanPlay", false}, {"CanPause", false}, {"CanSeek", false},
          {"CanGoNext", false}, {"CanGoPrevious", false}, {"CanControl", true}}},
        {"paused at half the file's tempo", paused,
         {{"PlaybackStatus", "Paused"}, {"Rate", 0.5}, {"MinimumRate", 1.0 / 80}, {"MaximumRate", 2.5},
          {"Volume", 0.5}, {"CanPlay", true}, {"CanSeek", true}, {"CanGoNext", true}, {"CanGoPrevious", true}}},
        {"one verse, a loop set", looping,
         {{"PlaybackStatus", "Playing"}, {"LoopStatus", "Track"}, {"Rate", 1.0}, {"CanGoNext", false},
          {"CanGoPrevious", false}}},
    };
    for (const Row& row : rows) {
        const QVariantMap properties = playerProperties(row.state);
        for (auto it = row.expected.cbegin(); it != row.expected.cend(); ++it) {
            EXPECT_EQ(properties.value(it.key()), it.value()) << row.what << ": " << it.key().toStdString();
        }
    }
}

TEST(MediaPlayerState, MetadataNamesTheSongAndEachLoadingOfIt)
{
    const QVariantMap song = metadata(songAt(80));
    EXPECT_EQ(song.value("mpris:trackid").value<QDBusObjectPath>().path(), "/org/harmonet/Song/3");
    EXPECT_EQ(song.value("mpris:length").toLongLong(), 60750000);
    EXPECT_EQ(song.value("xesam:title").toString(), "Old Hundredth");
    EXPECT_EQ(song.value("xesam:url").toString(), "file:///songs/old%20hundredth.mid");

    MediaPlayerState reloaded = songAt(80);
    reloaded.songNumber = 4;
    EXPECT_NE(trackId(reloaded), trackId(songAt(80)));

    const QVariantMap none = metadata(MediaPlayerState());
    EXPECT_EQ(none.keys(), QStringList{"mpris:trackid"});
    EXPECT_EQ(none.value("mpris:trackid").value<QDBusObjectPath>().path(), "/org/mpris/MediaPlayer2/TrackList/NoTrack");
}

TEST(MediaPlayerState, OnlyWhatChangedIsAnnounced)
{
    MediaPlayerState playing = songAt(80);
    playing.status = PlaybackStatus::Playing;
    MediaPlayerState slower = songAt(40);
    slower.lengthMs = 121500;
    MediaPlayerState other = songAt(80);
    other.songNumber = 4;
    struct Row {
        const char* what;
        MediaPlayerState before;
        MediaPlayerState after;
        QStringList expected;
    };
    const Row rows[] = {
        {"nothing", songAt(80), songAt(80), {}},
        {"play", songAt(80), playing, {"PlaybackStatus"}},
        {"tempo halved", songAt(80), slower, {"Metadata", "Rate"}},
        {"song loaded again", songAt(80), other, {"Metadata"}},
        {"first song", MediaPlayerState(), songAt(80),
         {"CanGoNext", "CanGoPrevious", "CanPause", "CanPlay", "CanSeek", "MaximumRate", "Metadata", "MinimumRate",
          "Volume"}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(changedValues(playerProperties(row.before), playerProperties(row.after)).keys(), row.expected)
            << row.what;
    }
}

TEST(MediaPlayerState, TempoForARate)
{
    MediaPlayerState none;
    struct Row {
        MediaPlayerState state;
        double rate;
        std::optional<int> expected;
    };
    const Row rows[] = {
        {songAt(80), 1.0, 80},  {songAt(80), 0.5, 40},   {songAt(80), 1.26, 101},
        {songAt(80), 10.0, 200}, {songAt(80), 0.001, 1}, {songAt(80), -1.0, std::nullopt},
        {songAt(80), std::nan(""), std::nullopt}, {none, 1.0, std::nullopt},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(bpmForRate(row.state, row.rate), row.expected) << row.rate;
    }
}

TEST(MediaPlayerState, NextAndPreviousGoByVerses)
{
    const QList<int> verses = {0, 15000, 30000, 45000};
    struct Row {
        qint64 position;
        std::optional<int> next;
        int previous;
    };
    const Row rows[] = {
        {0, 15000, 0},          // at the start
        {1000, 15000, 0},       // early in the first verse: its start
        {15000, 30000, 0},      // at a verse's start: the one before
        {17000, 30000, 0},      // early in it: still the one before
        {18000, 30000, 15000},  // well into it: its own start
        {44999, 45000, 30000},  // just before the last
        {50000, std::nullopt, 45000}, // in the last: no next
    };
    for (const Row& row : rows) {
        EXPECT_EQ(nextVerseStart(verses, row.position), row.next) << row.position;
        EXPECT_EQ(previousVerseStart(verses, row.position), row.previous) << row.position;
    }
    EXPECT_EQ(nextVerseStart({}, 0), std::nullopt);
    EXPECT_EQ(previousVerseStart({}, 5000), 0);
}

} // namespace
} // namespace harmonet::test
