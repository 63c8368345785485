// My part a voice that shares its track and channel with another (a closed
// score): its notes sound on a channel the song leaves free, made to sound as
// the shared one; every note-off ends the note its note-on began, also when
// the choice changes while notes sound; a mute silences both voices; with
// no channel free the whole track is emphasised and the singer is told.
#include "practice/ChannelState.h"
#include "practice/VoiceRouting.h"
#include "sequencer/SmfWriter.h"
#include "session/MidiSink.h"
#include "session/PlayingSession.h"
#include "session/Song.h"
#include "tests/practice/PracticeSongs.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <map>

namespace harmonet::test {
namespace {

using Message = std::tuple<int, int, int>;

class RecordingSink final : public MidiSink {
public:
    bool isOpen() const override { return true; }
    void send(const TMyMidiEvent& m, const std::optional<TDue>&) override
    {
        sent.append({m.StatusByte, m.FirstData, m.SecondData});
    }
    QList<Message> sent;
};

bool isNoteOn(const Message& m)
{
    return (std::get<0>(m) & 0xF0) == 0x90 && std::get<2>(m) > 0;
}

bool isNoteOff(const Message& m)
{
    return (std::get<0>(m) & 0xF0) == 0x80 || ((std::get<0>(m) & 0xF0) == 0x90 && std::get<2>(m) == 0);
}

// The channels (1..16) the notes of a key went to, in order.
QList<int> channelsOf(const QList<Message>& sent, int key)
{
    QList<int> channels;
    for (const Message& m : sent) {
        if (isNoteOn(m) && std::get<1>(m) == key) {
            channels.append((std::get<0>(m) & 0x0F) + 1);
        }
    }
    return channels;
}

// Note-offs for nothing sounding on their channel, and notes left hanging.
QStringList unmatchedNotes(const QList<Message>& sent)
{
    std::map<std::pair<int, int>, int> sounding;
    QStringList unmatched;
    for (const Message& m : sent) {
        const std::pair<int, int> note{(std::get<0>(m) & 0x0F) + 1, std::get<1>(m)};
        if (isNoteOn(m)) {
            ++sounding[note];
        } else if (isNoteOff(m) && sounding[note]-- == 0) {
            unmatched.append(QStringLiteral("off for nothing: channel %1 key %2").arg(note.first).arg(note.second));
            sounding[note] = 0;
        }
    }
    for (const auto& [note, count] : sounding) {
        if (count > 0) {
            unmatched.append(QStringLiteral("hanging: channel %1 key %2").arg(note.first).arg(note.second));
        }
    }
    return unmatched;
}

class VoiceParts : public ::testing::Test {
protected:
    void load(bool everyChannelTaken = false)
    {
        session.setSong(Song::fromBytes(closedScoreSong(everyChannelTaken)));
        session.setSink(&sink);
        ASSERT_GE(session.voices().size(), 2);
        ASSERT_TRUE(session.voices()[1].split);
    }

    void choose(int voice)
    {
        PracticeChoice choice = session.practiceChoice();
        choice.othersDb = -12;
        choice.part = voice >= 0 ? session.voices()[voice].key() : PracticeChoice::NoPart;
        session.setPracticeChoice(choice);
    }

    // The women's track from event `from` up to (not with) event `to`.
    void play(int from, int to)
    {
        const TMidiTrack& women = *session.sequencer().TrackAt(1);
        for (int index = from; index < std::min(to, women.EventCount()); ++index) {
            session.dispatch(*women.EventAt(index));
        }
    }

    // The index of the n-th (from 0) note-on of the track.
    int noteOnIndex(int n) const
    {
        const TMidiTrack& women = *session.sequencer().TrackAt(1);
        for (int index = 0; index < women.EventCount(); ++index) {
            if ((women.EventAt(index)->Status & 0xF0) == 0x90 && n-- == 0) {
                return index;
            }
        }
        return women.EventCount();
    }

    PlayingSession session;
    RecordingSink sink;
};

TEST_F(VoiceParts, TheChosenVoiceSingsOnAFreeChannelThatSoundsAsItsStaffAndNoNoteHangs)
{
    load();
    session.sendInstruments();
    play(0, noteOnIndex(0));
    const qsizetype chosenAt = sink.sent.size();
    choose(1);
    EXPECT_EQ(session.myVoice(), &session.voices()[1]);
    EXPECT_EQ(session.gateway().voiceRouting().myChannel(), 2) << "the lowest channel the song leaves free";

    // Two chords with the lower voice mine, one with the upper, one with none;
    // each change comes while a chord sounds.
    play(noteOnIndex(0), noteOnIndex(1) + 1);
    choose(0);
    play(noteOnIndex(1) + 1, noteOnIndex(5) + 1);
    choose(-1);
    play(noteOnIndex(5) + 1, 1000);

    EXPECT_EQ(channelsOf(sink.sent, LowerKey), QList<int>({2, 1, 1, 1}));
    EXPECT_EQ(channelsOf(sink.sent, UpperKey), QList<int>({1, 2, 2, 1}));

    // Once chosen, before its first note, the free channel got what the
    // staff's channel has: bank, program, expression, pitch-bend range and
    // pitch bend, at my part's level; the staff's channel the others' level.
    const qsizetype firstNote = sink.sent.indexOf(Message(0x91, LowerKey, 100));
    const QList<Message> before = sink.sent.mid(chosenAt, firstNote - chosenAt);
    for (const Message& expected : {Message(0xB1, 0, 0), Message(0xC1, 52, 0), Message(0xB1, 7, 100),
                                    Message(0xB1, 11, 110), Message(0xB1, 10, 64), Message(0xB1, 6, 12),
                                    Message(0xE1, 0, 0x40), Message(0xB0, 7, 50)}) {
        EXPECT_TRUE(before.contains(expected)) << std::get<0>(expected) << " " << std::get<1>(expected);
    }
    EXPECT_LT(before.indexOf(Message(0xB1, 101, 0)), before.indexOf(Message(0xB1, 6, 12)));

    EXPECT_EQ(unmatchedNotes(sink.sent), QStringList());
}

TEST_F(VoiceParts, MuteOfTheSharedTrackSilencesBothVoices)
{
    load();
    choose(1);
    session.setMuted(1, true);
    play(0, noteOnIndex(0) + 1);
    EXPECT_TRUE(sink.sent.contains(Message(0xB0, 123, 0)));
    EXPECT_TRUE(sink.sent.contains(Message(0xB1, 123, 0)));
    EXPECT_TRUE(channelsOf(sink.sent, UpperKey).isEmpty());
}

TEST_F(VoiceParts, WithNoChannelFreeTheWholeTrackIsMyPartAndTheSingerIsTold)
{
    load(true);
    QSignalSpy told(&session, &PlayingSession::partNoticeChanged);
    EXPECT_EQ(session.gateway().voiceRouting().freeChannel(), 0);
    choose(1);
    EXPECT_EQ(told.count(), 1);
    EXPECT_TRUE(session.partNotice().contains(session.voices()[1].name)) << qPrintable(session.partNotice());
    EXPECT_TRUE(session.partNotice().contains(session.voices()[0].name)) << qPrintable(session.partNotice());
    play(0, noteOnIndex(1) + 1);
    EXPECT_EQ(channelsOf(sink.sent, LowerKey), QList<int>({1}));
    EXPECT_TRUE(sink.sent.contains(Message(0xB0, 7, 100))) << "the staff at my part's level";

    choose(-1);
    EXPECT_TRUE(session.partNotice().isEmpty());
    EXPECT_EQ(told.count(), 2);
}

TEST(VoiceRouting, ANoteOfMyPartWithoutAKnownNoteOffEndsWithTheNextNoteOffOfItsKey)
{
    // A unison written as two note-ons of one key: the reader ends the
    // second with the first note-off and gives the first none.
    SmfWriter writer;
    writer.header(0, 1, 480);
    writer.beginTrack().noteOn(0, 0, 64, 90).noteOn(0, 0, 64, 90).noteOn(0, 0, 60, 90);
    writer.noteOff(480, 0, 64).noteOff(0, 0, 64).noteOff(0, 0, 60).endOfTrack().endTrack();
    TMidiFile song;
    song.LoadSongFromBytes(writer.bytes());
    QList<TVoice> voices(2);
    for (int v = 0; v < 2; ++v) {
        voices[v].split = true;
        voices[v].part = v;
    }
    voices[0].notes = {{0, 480, 64, 90, 1, 3}};
    voices[1].notes = {{0, 0, 64, 90, 0, -1}, {0, 480, 60, 90, 2, 5}};
    TVoiceRouting routing;
    routing.setSong(&song, &voices);
    routing.choose(1, {});
    ASSERT_EQ(routing.myChannel(), 2);

    QList<Message> sent;
    for (const TMidiEvent& event : song.TrackAt(0)->Events()) {
        routing.route(TMyMidiEvent(event.Status, event.Value1, event.Value2), &event,
                      [&sent](const TMyMidiEvent& m) { sent.append({m.StatusByte, m.FirstData, m.SecondData}); });
    }
    EXPECT_EQ(channelsOf(sent, 64), QList<int>({2, 1}));
    // The first note-off ends the key on both channels, as it ends both
    // notes of the key on one channel of a synthesizer; the second then
    // finds nothing, as it does there.
    EXPECT_EQ(unmatchedNotes(sent), QStringList({"off for nothing: channel 1 key 64"}));
}

TEST(ChannelState, ACopyResetsTheTargetThenGivesItWhatTheSourceWasToldLast)
{
    TChannelState state;
    for (const Message& m : {Message(0xB2, 0, 1), Message(0xB2, 32, 2), Message(0xC2, 19, 0), Message(0xC2, 20, 0),
                             Message(0xB2, 11, 90), Message(0xB2, 64, 127), Message(0xB2, 98, 5),
                             Message(0xB2, 6, 40), Message(0xB2, 101, 0), Message(0xB2, 100, 0),
                             Message(0xB2, 6, 7), Message(0xB2, 91, 30), Message(0xE2, 1, 70),
                             Message(0xB5, 7, 20), Message(0xB2, 123, 0)}) {
        state.record(TMyMidiEvent(quint8(std::get<0>(m)), quint8(std::get<1>(m)), quint8(std::get<2>(m))));
    }
    QList<Message> copied;
    for (const TMyMidiEvent& m : state.copy(3, 12)) {
        copied.append({m.StatusByte, m.FirstData, m.SecondData});
    }
    const QList<Message> expected = {
        {0xBB, 121, 0}, {0xBB, 0, 1},    {0xBB, 32, 2},    {0xCB, 20, 0},    {0xBB, 7, 100},
        {0xBB, 10, 64}, {0xBB, 11, 90},  {0xBB, 64, 127},  {0xBB, 91, 30},   {0xBB, 101, 0},
        {0xBB, 100, 0}, {0xBB, 6, 7},    {0xBB, 38, 0},    {0xBB, 101, 127}, {0xBB, 100, 127},
        {0xEB, 1, 70}};
    EXPECT_EQ(copied, expected) << "the data entry for an unregistered parameter is no range; another channel's volume stays its own";
    EXPECT_TRUE(state.copy(0, 12).empty());
    EXPECT_TRUE(state.copy(3, 17).empty());
}

} // namespace
} // namespace harmonet::test
