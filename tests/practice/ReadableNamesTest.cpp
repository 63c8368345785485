// The names a singer reads: voices from the names notation programs give
// their tracks, made distinct, and the song's title.
#include "practice/ReadableNames.h"
#include "sequencer/MidiFile.h"
#include "sequencer/SmfWriter.h"

#include <gtest/gtest.h>

namespace harmonet::test {
namespace {

TEST(ReadableNames, VoiceNamesFromTrackNames)
{
    struct Row {
        const char* trackName;
        const char* instrument;
        const char* expected;
    };
    const Row rows[] = {
        {":altusNotes", "Choir Aahs", "Altus"},
        {"women:Sopran", "Choir Aahs", "Sopran"},
        {"men:Tenor", "", "Tenor"},
        {"Soprano:", "", "Soprano"},                       // no voice part: the staff's
        {"Bass:uniqueContext4", "", "Bass"},               // a made-up voice: the staff's
        {"uniqueContext0:", "Choir Aahs", "Choir Aahs 3"}, // nothing left: instrument and number
        {"", "Acoustic Grand Piano", "Acoustic Grand Piano 3"},
        {"uniqueContext0:", "", "caption"}, // neither: the panel's caption
        {":sopranoTwoMusic", "", "Soprano Two"},
        {"tenor2Notes", "", "Tenor 2"},
        {"choirSATBNotes", "", "Choir SATB"},
        {"alto_primo", "", "Alto primo"},
        {"Alto notes", "", "Alto"},        // a word of its own in a written name
        {"Bassnotes", "", "Bassnotes"},    // no word of its own
        {"Notes", "Choir Aahs", "Notes"},  // nothing would be left
        {"Soprano McKenzie", "", "Soprano McKenzie"}, // written names are not split
        {"\u00e9l\u00e8veVoice", "", "\u00c9l\u00e8ve"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(readableVoiceName(QString::fromUtf8(row.trackName), QString::fromUtf8(row.instrument), 3,
                                    QStringLiteral("caption")),
                  QString::fromUtf8(row.expected))
            << row.trackName;
    }
}

TEST(ReadableNames, DuplicatesAreNumberedPastNamesTaken)
{
    struct Row {
        QStringList names;
        QStringList expected;
    };
    const Row rows[] = {
        {{"Soprano", "Alto"}, {"Soprano", "Alto"}},
        {{"Tenor", "Bass", "Tenor"}, {"Tenor 1", "Bass", "Tenor 2"}},
        {{"Tenor", "tenor", "Tenor 1"}, {"Tenor 2", "tenor 3", "Tenor 1"}},
        {{}, {}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(distinctVoiceNames(row.names), row.expected) << qPrintable(row.names.join(", "));
    }
}

TEST(ReadableNames, SongTitleIsTheFirstTracksNameOfAFormatOneFileWithoutNotes)
{
    const auto titleOf = [](int format, bool firstHasNotes) {
        SmfWriter writer;
        writer.header(format, 1, 480);
        writer.beginTrack().meta(0, SmfWriter::TrackName, "Le Chant des Oyseaux");
        if (firstHasNotes) {
            writer.noteOn(0, 0, 60, 90).noteOff(480, 0, 60);
        }
        writer.endOfTrack().endTrack();
        writer.beginTrack().noteOn(0, 1, 64, 90).noteOff(480, 1, 64).endOfTrack().endTrack();
        TMidiFile song;
        song.LoadSongFromBytes(writer.bytes());
        return songTitle(song, QStringLiteral("/music/my song.v2.mid"));
    };
    EXPECT_EQ(titleOf(1, false), "Le Chant des Oyseaux");
    EXPECT_EQ(titleOf(1, true), "my song.v2") << "a voice, not the song";
    EXPECT_EQ(titleOf(0, false), "my song.v2");
}

} // namespace
} // namespace harmonet::test
