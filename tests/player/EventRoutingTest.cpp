// Routing of dispatched events: mute, instrument and mixer settings of the
// owner track applied to what reaches the output, lyric events fed to the
// strip, other meta events dropped; and the binding to the sequencer.
#include "tests/player/PlayerFixture.h"

#include "player/RightAlignedLabel.h"
#include "player/Panel.h"
#include "sequencer/MidiFile.h"


namespace harmonet::test {
namespace {

TMidiEvent channelEvent(quint8 status, quint8 value1, quint8 value2 = 0)
{
    TMidiEvent event;
    event.Status = status;
    event.Value1 = value1;
    event.Value2 = value2;
    return event;
}

TMidiEvent metaEvent(quint8 type, const char* text, qint32 ticks = 0)
{
    TMidiEvent event;
    event.Status = 0xFF;
    event.Value1 = type;
    event.Ticks = ticks;
    event.TextData = text;
    event.TextLength = quint32(qstrlen(text));
    return event;
}

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray result;
    for (int value : values) {
        result.append(char(value));
    }
    return result;
}

class RoutingTest : public PlayerTest {
protected:
    // Soprano, alto, tenor and bass on channels 1 to 4 (tracks 1 to 4; track 0
    // holds the tempo and has no channel), the output open and its record empty.
    TfrmMain& loadChoir()
    {
        TfrmMain& main = showWindow({writeFile("satb.mid", choirSong({"S", "A", "T", "B"}))});
        EXPECT_TRUE(main.session().outputOpen());
        recorder->clearMessages();
        return main;
    }

    void route(TfrmMain& main, const TMidiEvent& event) { main.MidiFile1MidiEvent(&event); }

    QStringList strip(const TfrmMain& main) const
    {
        return {main.pnlLyrics->caption(), main.lblLyrics->text(), main.pnlLyrics2->caption()};
    }
};

TEST_F(RoutingTest, ChannelMessagesPassUnlessTheirOwnerIsMutedThenNoteOnsBecomeAllNotesOff)
{
    TfrmMain& main = loadChoir();
    main.session().setMuted(2, true);
    route(main, channelEvent(0x92, 64, 90));
    EXPECT_EQ(main.session().gateway().currentTrack(), 3);
    route(main, channelEvent(0x91, 60, 100));
    EXPECT_EQ(main.session().gateway().currentTrack(), 2);
    route(main, channelEvent(0xB1, 7, 100));
    route(main, channelEvent(0x81, 60, 64));
    route(main, channelEvent(0xE1, 0, 80));
    route(main, channelEvent(0xD3, 30));
    EXPECT_EQ(main.session().gateway().currentTrack(), 2) << "only note-ons, controllers and programs look up their track";
    EXPECT_EQ(sentMessages(), QList<QByteArray>({bytes({0x92, 64, 90}), bytes({0xB1, 123, 0}),
                                                 bytes({0xB1, 123, 0}), bytes({0x81, 60, 64}),
                                                 bytes({0xE1, 0, 80}), bytes({0xD3, 30})}));
}

TEST_F(RoutingTest, ProgramChangeTakesTheTracksInstrumentTwiceOrAllNotesOffWhenMuted)
{
    TfrmMain& main = loadChoir();
    main.session().setInstrument(3, 52);
    recorder->clearMessages();

    route(main, channelEvent(0xC2, 19));
    EXPECT_EQ(sentMessages(), QList<QByteArray>({bytes({0xC2, 52}), bytes({0xC2, 52})}));

    recorder->clearMessages();
    main.session().setMuted(3, true);
    route(main, channelEvent(0xC2, 19));
    EXPECT_EQ(sentMessages(), QList<QByteArray>({bytes({0xC2, 52}), bytes({0xB2, 123, 0})}));
}

TEST_F(RoutingTest, UnownedChannelsAreJudgedByTrackZeroWhichHasNoChannel)
{
    TfrmMain& main = loadChoir();
    TMidiTrack* tempoTrack = main.MidiFile1->TrackAt(0);
    ASSERT_EQ(tempoTrack->Channel(), 0);
    route(main, channelEvent(0xC8, 5));
    route(main, channelEvent(0x98, 60, 100));
    EXPECT_EQ(main.session().gateway().currentTrack(), 0);
    EXPECT_EQ(sentMessages(), QList<QByteArray>({bytes({0xC8, 5}), bytes({0x98, 60, 100})}))
        << "no owner's instrument replaces the program";

    recorder->clearMessages();
    main.session().setMuted(0, true);
    route(main, channelEvent(0x98, 60, 100));
    route(main, channelEvent(0xC8, 5));
    EXPECT_TRUE(sentMessages().isEmpty()) << "muted, and no channel to silence";
}

TEST_F(RoutingTest, MixerSettingsReplaceVolumeAndPanOnlyWhileTheMixerWindowExists)
{
    TfrmMain& main = loadChoir();
    main.session().setTrackVolume(2, 90);
    main.session().setTrackPan(2, 20);
    recorder->clearMessages();

    route(main, channelEvent(0xB1, 7, 127));
    EXPECT_EQ(sentMessages(), QList<QByteArray>({bytes({0xB1, 7, 127})}));

    main.session().setTrackMixerInForce(true);
    recorder->clearMessages();
    route(main, channelEvent(0xB1, 7, 127));
    route(main, channelEvent(0xB1, 10, 64));
    route(main, channelEvent(0xB1, 64, 127));
    main.session().setMuted(2, true);
    route(main, channelEvent(0xB1, 7, 127));
    main.session().setTrackMixerInForce(false);
    EXPECT_EQ(sentMessages(), QList<QByteArray>({bytes({0xB1, 7, 90}), bytes({0xB1, 10, 20}),
                                                 bytes({0xB1, 64, 127}), bytes({0xB1, 123, 0})}));
}

TEST_F(RoutingTest, MetaEventsSendNothingAndStrayDataBytesAreDropped)
{
    TfrmMain& main = loadChoir();
    main.session().gateway().setCurrentTrack(2);
    route(main, metaEvent(0x51, "\x07\xA1\x20"));
    route(main, metaEvent(0x01, "text"));
    route(main, channelEvent(0x00, 60, 100));
    EXPECT_TRUE(sentMessages().isEmpty());
    EXPECT_EQ(main.session().gateway().currentTrack(), 2);
}

TEST_F(RoutingTest, LyricsMoveTheStripOnlyForTheLyricsTrackAndWhenNotBlank)
{
    const QList<Syllable> syllables = {{0, "Glo"}, {480, "ri\xE9"}, {960, "  "}, {1440, "a"}};
    TfrmMain& main = showWindow({writeFile("gloria.mid", lyricSong(syllables))});
    const QStringList atStart = {"Glo", "Glo", QStringLiteral("ri\u00E9  a")};
    ASSERT_EQ(strip(main), atStart);
    ASSERT_EQ(main.LyricTrack, 1);

    route(main, channelEvent(0x91, 65, 100)); // the alto's note-on
    route(main, metaEvent(0x05, "ri\xE9", 480));
    EXPECT_EQ(strip(main), atStart) << "after another track's note-on";

    route(main, channelEvent(0x90, 72, 100));
    route(main, metaEvent(0x05, "ri\xE9", 480));
    const QStringList atSecond = {QStringLiteral("Glori\u00E9"), QStringLiteral("ri\u00E9"), "  a"};
    EXPECT_EQ(strip(main), atSecond);

    route(main, metaEvent(0x05, "  ", 960));
    EXPECT_EQ(strip(main), atSecond) << "a blank syllable";
}

TEST_F(RoutingTest, PlaybackDispatchesThroughTheRouting)
{
    const QList<Syllable> syllables = {{0, "Ky"}, {480, "ri"}, {960, "e"}};
    TfrmMain& main = showWindow({writeFile("kyrie.mid", lyricSong(syllables))});
    main.session().setMuted(2, true);
    recorder->clearMessages();
    ManualClock clock;
    main.MidiFile1->SetClock(&clock);
    main.MidiFile1->PlayFromStart();
    clock.setNowMs(600); // 576 ticks: past the second syllable
    main.MidiFile1->Tick();
    main.MidiFile1->HaltPlay();
    main.MidiFile1->SetClock(nullptr);

    EXPECT_EQ(main.lblLyrics->text(), "ri");
    EXPECT_EQ(main.pnlLyrics2->caption(), "e");
    EXPECT_EQ(sentMessages(), QList<QByteArray>({bytes({0x90, 72, 100}), bytes({0xB1, 123, 0})}));
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

TEST_F(RoutingTest, AClosedOutputEndsTheDispatchWithItsErrorReported)
{
    TfrmMain& main = loadChoir();
    main.CloseMidiOutput();
    ManualClock clock;
    main.MidiFile1->SetClock(&clock);
    main.MidiFile1->PlayFromStart();
    clock.setNowMs(10);
    main.MidiFile1->Tick();
    main.MidiFile1->HaltPlay();
    main.MidiFile1->SetClock(nullptr);
    ASSERT_FALSE(errors.isEmpty());
    EXPECT_EQ(errors.constFirst(), "MIDI Output device not open");
    EXPECT_TRUE(sentMessages().isEmpty());
}

} // namespace
} // namespace harmonet::test
