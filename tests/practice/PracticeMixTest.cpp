// The mix of a practice choice: which channel is my part, another voice or
// the accompaniment; the volume and pan each gets; and the live mix that
// takes the routing's messages and makes a change of the choice heard at once.
#include "practice/PracticeMix.h"
#include "practice/VoiceModel.h"
#include "sequencer/SongWords.h"
#include "sequencer/MidiFile.h"
#include "sequencer/SmfWriter.h"
#include "tests/practice/PracticeSongs.h"

#include <QList>

#include <gtest/gtest.h>

namespace harmonet::test {
namespace {

using Message = std::tuple<int, int, int>;

// The voices of windowedSong are tracks 1 to 3 on channels 1 to 3.
PracticeChoice choice(int part, int othersDb, bool panned = false, PanSide side = PanSide::Left)
{
    return PracticeChoice{part < 0 ? PracticeChoice::NoPart : VoiceKey{part, part, 0}, othersDb, panned, side};
}

PracticeChoice withoutMine(PracticeChoice choice)
{
    choice.withoutMyPart = true;
    return choice;
}

TEST(PracticeMixRule, TheRememberedFormOfAChoiceWithoutMyPart)
{
    const PracticeChoice plain{VoiceKey{2, 1, 0}, -12, true, PanSide::Left};
    EXPECT_EQ(choiceText(plain), "2.1.0;-12;1;left");
    EXPECT_EQ(choiceText(withoutMine(plain)), "2.1.0;-12;1;left;without");
    EXPECT_EQ(choiceFromText("2.1.0;-12;1;left;without"), withoutMine(plain));
    EXPECT_EQ(choiceFromText("2.1.0;-12;1;left"), plain);
    EXPECT_EQ(choiceFromText("2.1.0;-12;1;left;with"), std::nullopt);
}

TEST(PracticeMixRule, VolumeOfEachRoleAtEachLevel)
{
    struct Row {
        ChannelRole role;
        PracticeChoice choice;
        int base;
        int volume;
    };
    const Row rows[] = {
        // Volume acts as its square: D dB scales the controller by 10^(D/40).
        {ChannelRole::Other, choice(1, -6), 100, 71},
        {ChannelRole::Other, choice(1, -12), 100, 50},
        {ChannelRole::Other, choice(1, -18), 100, 35},
        {ChannelRole::Other, choice(1, -12), 127, 64},
        {ChannelRole::Other, choice(1, PracticeChoice::SilentDb), 100, 0},
        {ChannelRole::Mine, choice(1, -12), 90, 90},
        {ChannelRole::Accompaniment, choice(1, -18), 80, 80},
        {ChannelRole::Other, choice(-1, -12), 100, 100},
        // Without my part: mine silent, the others and the accompaniment at their own level.
        {ChannelRole::Mine, withoutMine(choice(1, -12)), 90, 0},
        {ChannelRole::Other, withoutMine(choice(1, -12)), 100, 100},
        {ChannelRole::Other, withoutMine(choice(1, PracticeChoice::SilentDb)), 100, 100},
        {ChannelRole::Accompaniment, withoutMine(choice(1, -18)), 80, 80},
        {ChannelRole::Other, withoutMine(choice(-1, -12)), 100, 100},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(mixedVolume(row.role, row.choice, quint8(row.base)), row.volume)
            << int(row.role) << " at " << row.choice.othersDb << " dB from " << row.base;
    }
}

TEST(PracticeMixRule, PannedPutsMyPartOnItsSideTheOthersOppositeAndTheAccompanimentInTheMiddle)
{
    struct Row {
        PracticeChoice choice;
        int mine;
        int other;
        int accompaniment;
    };
    const Row rows[] = {
        {choice(1, -12, true, PanSide::Left), 0, 127, 64},
        {choice(1, -12, true, PanSide::Right), 127, 0, 64},
        {choice(1, -12, false, PanSide::Right), 30, 30, 30},
        {choice(-1, -12, true), 30, 30, 30},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(mixedPan(ChannelRole::Mine, row.choice, 30), row.mine);
        EXPECT_EQ(mixedPan(ChannelRole::Other, row.choice, 30), row.other);
        EXPECT_EQ(mixedPan(ChannelRole::Accompaniment, row.choice, 30), row.accompaniment);
    }
}

TEST(PracticeMixRule, AKeyboardTrackAccompaniesOnlyBesideOtherVoices)
{
    TMidiFile song;
    song.LoadSongFromBytes(windowedSong(true));
    EXPECT_EQ(channelRole(song, 1, 1), ChannelRole::Mine);
    EXPECT_EQ(channelRole(song, 1, 2), ChannelRole::Other);
    EXPECT_EQ(channelRole(song, 1, 3), ChannelRole::Accompaniment);
    EXPECT_EQ(channelRole(song, 3, 3), ChannelRole::Mine) << "the piano chosen as my part is mine";
    EXPECT_EQ(channelRole(song, 1, 9), ChannelRole::Other) << "a channel no track owns";
    EXPECT_EQ(channelRole(song, 0, 1), ChannelRole::Other) << "no part";

    // Every voice on organ (or piano): none of them is an accompaniment; nor is the percussion channel.
    SmfWriter organs;
    organs.header(1, 3, 480);
    for (int channel : {0, 9, 1}) {
        if (channel == 1) {
            organs.beginTrack().programChange(0, 1, 19).noteOn(0, 1, 60, 90).noteOff(480, 1, 60).endOfTrack().endTrack();
        } else {
            organs.beginTrack().programChange(0, channel, 0).noteOn(0, channel, 40, 90).noteOff(480, channel, 40).endOfTrack().endTrack();
        }
    }
    TMidiFile organSong;
    organSong.LoadSongFromBytes(organs.bytes());
    for (int channel : {1, 2, 10}) {
        EXPECT_EQ(channelRole(organSong, 1, channel), channel == 1 ? ChannelRole::Mine : ChannelRole::Other) << channel;
    }
}

TEST(PracticeMixRule, ASecondTrackOnAChannelIsAVoiceOfItsOwnAndEveryVoiceHasAKey)
{
    SmfWriter writer;
    writer.header(1, 4, 480);
    writer.beginTrack().tempo(0, 500000).endOfTrack().endTrack();
    writer.beginTrack().meta(0, SmfWriter::TrackName, "Tenor").noteOn(0, 2, 50, 90).noteOff(480, 2, 50).endOfTrack().endTrack();
    writer.beginTrack().noteOn(0, 4, 40, 90).noteOff(480, 4, 40).endOfTrack().endTrack();
    writer.beginTrack().meta(0, SmfWriter::TrackName, "Tenor 2").noteOn(0, 2, 52, 90).noteOff(480, 2, 52).endOfTrack().endTrack();
    TMidiFile song;
    song.LoadSongFromBytes(writer.bytes());
    TSongWords words;
    words.build(song);
    const QList<TVoice> voices = findVoices(song, words);
    ASSERT_EQ(voices.size(), 3);
    EXPECT_EQ(voices[0].name, "Tenor");
    EXPECT_EQ(voices[2].key(), (VoiceKey{3, 3, 0})) << "the second track on channel 3";
    for (qsizetype v = 0; v < voices.size(); ++v) {
        EXPECT_EQ(voiceIndex(voices, voices[v].key()), v) << voices[v].name.toStdString();
    }
    EXPECT_EQ(voiceIndex(voices, VoiceKey{2, 0, 0}), 1) << "a track alone: its first voice";
    EXPECT_EQ(voiceIndex(voices, VoiceKey{2, 3, 0}), -1) << "no voice of track 2 sings on channel 3";
    EXPECT_EQ(voiceIndex(voices, PracticeChoice::NoPart), -1);
}

class LiveMix : public ::testing::Test {
protected:
    void SetUp() override
    {
        song.LoadSongFromBytes(windowedSong(true));
        mix.setSong(&song);
    }

    TPracticeMix::Send recorder()
    {
        return [this](const TMyMidiEvent& m) { sent.append({m.StatusByte, m.FirstData, m.SecondData}); };
    }

    Message route(int status, int first, int second)
    {
        TMyMidiEvent message{quint8(status), quint8(first), quint8(second)};
        mix.route(message, recorder());
        return {message.StatusByte, message.FirstData, message.SecondData};
    }

    TMidiFile song;
    TPracticeMix mix;
    QList<Message> sent;
};

TEST_F(LiveMix, WithoutAPartNothingChangesAndNothingMoreIsSent)
{
    EXPECT_EQ(route(0xB1, 7, 90), Message(0xB1, 7, 90));
    EXPECT_EQ(route(0xB1, 10, 20), Message(0xB1, 10, 20));
    EXPECT_EQ(route(0x91, 60, 100), Message(0x91, 60, 100));
    EXPECT_TRUE(sent.isEmpty());
}

TEST_F(LiveMix, AChoiceSendsEveryVoiceItsLevelAtOnceAndScalesTheFilesOwnControllers)
{
    route(0xB1, 7, 80); // the alto's own volume, before a part is chosen
    mix.setChoice(choice(1, -12, true, PanSide::Right), 1, recorder());
    EXPECT_EQ(sent, QList<Message>({{0xB0, 7, 100}, {0xB0, 10, 127},   // my part, on the right
                                    {0xB1, 7, 40}, {0xB1, 10, 0},      // the alto: 80 at -12 dB, left
                                    {0xB2, 7, 100}, {0xB2, 10, 64}})); // the piano, centred
    sent.clear();
    EXPECT_EQ(route(0xB1, 7, 100), Message(0xB1, 7, 50));
    EXPECT_EQ(route(0xB2, 10, 20), Message(0xB2, 10, 64));
    EXPECT_EQ(route(0xB1, 11, 100), Message(0xB1, 11, 100)) << "other controllers pass";
    EXPECT_EQ(route(0x91, 60, 100), Message(0x91, 60, 100));
    EXPECT_TRUE(sent.isEmpty()) << "the output already has the levels";

    // Another level takes effect at once; back to none, the file's own levels return.
    mix.setChoice(choice(1, -18, true, PanSide::Right), 1, recorder());
    EXPECT_TRUE(sent.contains(Message(0xB1, 7, 35)));
    sent.clear();
    mix.setChoice(choice(-1, -18), 0, recorder());
    EXPECT_EQ(sent, QList<Message>({{0xB0, 7, 100}, {0xB0, 10, 64}, {0xB1, 7, 100}, {0xB1, 10, 64},
                                    {0xB2, 7, 100}, {0xB2, 10, 20}}));
}

TEST_F(LiveMix, WithoutAnOutputTheLevelsGoOutBeforeEachChannelsNextNote)
{
    mix.setChoice(choice(2, PracticeChoice::SilentDb), 2, {});
    EXPECT_EQ(route(0x90, 72, 100), Message(0x90, 72, 100));
    EXPECT_EQ(route(0x90, 74, 100), Message(0x90, 74, 100));
    EXPECT_EQ(route(0x91, 64, 0), Message(0x91, 64, 0)) << "a note-on of velocity 0 ends a note";
    EXPECT_EQ(sent, QList<Message>({{0xB0, 7, 0}, {0xB0, 10, 64}}));
    mix.resendBeforeNextNotes();
    route(0x90, 72, 100);
    EXPECT_EQ(sent.size(), 4);
}

} // namespace
} // namespace harmonet::test
