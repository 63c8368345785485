#include "SequencerTestSupport.h"

using namespace harmonet;

TEST(GMPrograms, NamesByNumberAndBack)
{
    for (int n = 0; n < 128; ++n) {
        EXPECT_EQ(GMProgramNumber(GMProgramName(n)), n) << n;
    }
    EXPECT_EQ(GMProgramName(4), "Rhodes Piano");
    EXPECT_EQ(GMProgramName(16), "Hammond Organ");
    EXPECT_EQ(GMProgramName(52), "Choir Aahs");
    EXPECT_EQ(GMProgramName(127), "Gunshot");
    EXPECT_EQ(GMProgramName(-1), "Acoustic Grand Piano");
    EXPECT_EQ(GMProgramName(128), "Acoustic Grand Piano");
}

TEST(GMPrograms, LookupFoldsOnlyAsciiLetters)
{
    EXPECT_EQ(GMProgramNumber("CHOIR AAHS"), 52);
    EXPECT_EQ(GMProgramNumber("choir aahs"), 52);
    EXPECT_EQ(GMProgramNumber("Choir Aahs "), 0);
    EXPECT_EQ(GMProgramNumber("Choir Aah"), 0);
    EXPECT_EQ(GMProgramNumber("Electric Piano 1"), 0);
    EXPECT_EQ(GMProgramNumber("Rhodes Piano"), 4);
    EXPECT_EQ(GMProgramNumber("lead 8 (BASS + LEAD)"), 87);
    EXPECT_EQ(GMProgramNumber(QString()), 0);
    // Only A..Z fold: a dotless capital I is not an i.
    EXPECT_EQ(GMProgramNumber(QString::fromUtf8("V\u0130OLIN")), 0);
}

TEST(GMPrograms, TrackInstrumentSettersKeepNameAndNumberInStep)
{
    SmfWriter w;
    w.beginTrack().endTrack();
    TMidiFile file;
    file.LoadSongFromBytes(w.bytes());
    TMidiTrack* track = file.TrackAt(0);
    track->SetProgramNumber(200);
    EXPECT_EQ(track->ProgramNumber(), 0);
    EXPECT_EQ(track->InstrumentName(), "Acoustic Grand Piano");
    track->SetProgramNumber(73);
    EXPECT_EQ(track->InstrumentName(), "Flute");
    track->SetInstrumentName("choir aahs");
    EXPECT_EQ(track->ProgramNumber(), 52);
    EXPECT_EQ(track->InstrumentName(), "Choir Aahs");
    track->SetInstrumentName("Kazoo");
    EXPECT_EQ(track->ProgramNumber(), 0);
    EXPECT_EQ(track->InstrumentName(), "Acoustic Grand Piano");
}
