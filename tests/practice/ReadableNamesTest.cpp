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
        {"uniqueContext12", "Violin", "Violin 3"},
        {"", "Acoustic Grand Piano", "Acoustic Grand Piano 3"},
        {"uniqueContext0:", "", "caption"}, // neither: the panel's caption
        {"  ", "", "caption"},
        {":sopranoTwoMusic", "", "Soprano Two"},
        {"tenorVoice", "", "Tenor"},
        {"tenor2Notes", "", "Tenor 2"},
        {"choirSATBNotes", "", "Choir SATB"},
        {"alto_primo", "", "Alto primo"},
        {"Alto notes", "", "Alto"},        // a word of its own in a written name
        {"Bassnotes", "", "Bassnotes"},    // no word of its own
        {"Notes", "Choir Aahs", "Notes"},  // nothing would be left
        {"Voice", "", "Voice"},
        {"Soprano McKenzie", "", "Soprano McKenzie"}, // written names are not split
        {"Mezzo-Soprano", "", "Mezzo-Soprano"},
        {"sopran\u00e9", "", "Sopran\u00e9"},
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

TEST(ReadableNames, SongTitleIsTheFirstTracksNameOfAFormatOneFile)
{
    const auto song = [](int format, const char* firstName, bool firstHasNotes) {
        SmfWriter writer;
        writer.header(format, format == 0 ? 1 : 2, 480);
        SmfWriter& first = writer.beginTrack();
        if (*firstName) {
            first.meta(0, SmfWriter::TrackName, firstName);
        }
        if (firstHasNotes) {
            first.noteOn(0, 0, 60, 90).noteOff(480, 0, 60);
        }
        first.endOfTrack().endTrack();
        if (format != 0) {
            writer.beginTrack().meta(0, SmfWriter::TrackName, "Alto").noteOn(0, 1, 64, 90).noteOff(480, 1, 64).endOfTrack().endTrack();
        }
        auto file = std::make_unique<TMidiFile>();
        file->LoadSongFromBytes(writer.bytes());
        return file;
    };
    struct Row {
        int format;
        const char* firstName;
        bool firstHasNotes;
        const char* expected;
    };
    const Row rows[] = {
        {1, "Le Chant des Oyseaux", false, "Le Chant des Oyseaux"},
        {1, "  Miserere  mei ", false, "Miserere mei"},
        {1, "", false, "my song.v2"},
        {1, "Soprano", true, "my song.v2"}, // a voice, not the song
        {0, "Le Chant des Oyseaux", false, "my song.v2"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(songTitle(*song(row.format, row.firstName, row.firstHasNotes), QStringLiteral("/music/my song.v2.mid")),
                  QString::fromUtf8(row.expected))
            << row.format << " " << row.firstName;
    }
}

} // namespace
} // namespace harmonet::test
