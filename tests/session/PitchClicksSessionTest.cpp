// Transposition and clicks live, through the output device: on a system
// port the notes are shifted and every note-off ends the key its note-on
// started however the transposition changed meanwhile, so nothing hangs;
// the count-in's clicks come before the song (on a port only when chosen),
// and before each pass of a loop when so chosen, the pass waiting for them.
#include "midiout/MidiOut.h"
#include "sequencer/Clock.h"
#include "sequencer/MidiFile.h"
#include "sequencer/SmfWriter.h"
#include "session/PlayingSession.h"
#include "session/Song.h"
#include "tests/midiout/RecordingDevices.h"

#include <gtest/gtest.h>

#include <QTest>

#include <chrono>
#include <map>

namespace harmonet::test {
namespace {

constexpr int Division = 480;

struct LiveSession {
    LiveSession(const QByteArray& song)
    {
        session.setSong(Song::fromBytes(song));
        session.setOutput(&output);
        EXPECT_TRUE(session.openOutput(QStringLiteral("Alpha")));
    }

    // The short messages the port received.
    std::vector<QByteArray> sent() const
    {
        std::vector<QByteArray> bytes;
        for (const RecordedMessage& message : devices.backend->messages()) {
            if (!message.isLong) {
                bytes.push_back(message.bytes);
            }
        }
        return bytes;
    }

    RecordingDevices devices;
    TMidiOutput output{devices.list};
    PlayingSession session;
};

TEST(PitchClicksSession, TransposingWhileNotesSoundOnAPortLeavesNoneHanging)
{
    // Two voices with long overlapping notes, and a drum every beat.
    SmfWriter writer;
    writer.header(0, 1, Division);
    writer.beginTrack().tempo(0, 500000);
    for (int beat = 0; beat < 8; ++beat) {
        writer.noteOn(0, 0, quint8(60 + beat), 100).noteOn(0, 1, quint8(48 + beat), 100).noteOn(0, 9, 38, 100);
        writer.noteOff(Division / 2, 9, 38).noteOff(Division / 2, 1, quint8(48 + beat));
        if (beat > 0) {
            writer.noteOff(0, 0, quint8(60 + beat - 1));
        }
    }
    writer.noteOff(Division, 0, 67).endOfTrack().endTrack();
    LiveSession live(writer.bytes());
    ManualClock clock;
    live.session.sequencer().SetClock(&clock);

    // Each transposition falls while notes sound.
    const std::map<int, int> changes = {{700, 2}, {1300, -5}, {2100, 12}, {2900, 0}, {3300, -12}};
    live.session.startAt(0);
    for (int ms = 0; ms <= 5000; ms += 100) {
        if (const auto change = changes.find(ms); change != changes.end()) {
            live.session.setTranspose(change->second);
        }
        clock.setNowMs(ms);
        live.session.sequencer().Tick();
    }
    live.session.sequencer().HaltPlay();

    std::map<std::pair<int, int>, int> sounding;
    int drums = 0;
    for (const QByteArray& bytes : live.sent()) {
        const int kind = quint8(bytes.at(0)) & 0xF0;
        const int channel = quint8(bytes.at(0)) & 0x0F;
        const bool on = kind == 0x90 && bytes.at(2) > 0;
        const bool off = kind == 0x80 || (kind == 0x90 && bytes.at(2) == 0);
        if (on || off) {
            sounding[{channel, int(bytes.at(1))}] += on ? 1 : -1;
            EXPECT_GE((sounding[{channel, int(bytes.at(1))}]), 0) << "a note-off for a key never started: " << bytes.toHex().toStdString();
        }
        if (on && channel == 9) {
            EXPECT_EQ(bytes.at(1), 38) << "the drums keep their key";
            ++drums;
        }
        EXPECT_TRUE(kind != 0xB0 || bytes.at(1) != 101) << "no tuning goes to a port";
    }
    EXPECT_EQ(drums, 8);
    for (const auto& [note, count] : sounding) {
        EXPECT_EQ(count, 0) << "channel " << note.first + 1 << " key " << note.second << " hangs";
    }
    EXPECT_EQ(live.session.gateway().shiftedNotesSounding(), 0);
    const std::vector<QByteArray> all = live.sent();
    EXPECT_NE(std::find(all.begin(), all.end(), QByteArray("\x90\x40\x64", 3)), all.end()) << "D4 at +2 sounds as E4";
}

TEST(PitchClicksSession, TheCountInClicksBeforeTheSongAndOnAPortOnlyWhenChosen)
{
    // 240 bpm, 2/4: a count-in of one bar lasts half a second.
    SmfWriter writer;
    writer.header(0, 1, Division);
    writer.beginTrack().tempo(0, 250000).timeSignature(0, 2, 2).noteOn(0, 0, 60, 100).noteOff(Division, 0, 60);
    writer.endOfTrack().endTrack();
    for (const bool onPorts : {false, true}) {
        LiveSession live(writer.bytes());
        ClickSettings clicks;
        clicks.countInBars = 1;
        clicks.onSystemPorts = onPorts;
        live.session.setClicks(clicks);
        live.session.startAfterCountIn(0);
        EXPECT_EQ(live.session.countingIn(), onPorts) << "no count-in unheard";
        QTRY_VERIFY_WITH_TIMEOUT(live.session.sequencer().IsPlaying(), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(live.session.sequencer().AllTracksEnded(), 10000);
        std::vector<QByteArray> order;
        for (const QByteArray& bytes : live.sent()) {
            if ((quint8(bytes.at(0)) & 0xF0) == 0x90 && bytes.at(2) > 0) {
                order.push_back(bytes.left(2));
            }
        }
        const std::vector<QByteArray> expected = onPorts
            ? std::vector<QByteArray>{QByteArray("\x99\x4C", 2), QByteArray("\x99\x4D", 2), QByteArray("\x90\x3C", 2)}
            : std::vector<QByteArray>{QByteArray("\x90\x3C", 2)};
        EXPECT_EQ(order, expected) << (onPorts ? "clicks chosen for ports" : "clicks not chosen for ports");
    }
}

TEST(PitchClicksSession, ALoopsNextPassWaitsForItsCountIn)
{
    // 240 bpm, 2/4: bar 1 holds C4, bar 2 D4; bar 1 is played twice, a bar
    // (half a second) counted in before the second pass.
    SmfWriter writer;
    writer.header(0, 1, Division);
    writer.beginTrack().tempo(0, 250000).timeSignature(0, 2, 2).noteOn(0, 0, 60, 100).noteOff(2 * Division, 0, 60);
    writer.noteOn(0, 0, 62, 100).noteOff(2 * Division, 0, 62).endOfTrack().endTrack();
    LiveSession live(writer.bytes());
    ClickSettings clicks;
    clicks.countInBars = 1;
    clicks.beforeEachPass = true;
    clicks.onSystemPorts = true;
    live.session.setClicks(clicks);
    live.session.setLoop(1, 1, 2);
    live.session.sendInstruments();
    live.session.startAt(0);
    QTRY_VERIFY_WITH_TIMEOUT(live.session.sequencer().AllTracksEnded(), 10000);

    std::vector<QByteArray> order;
    std::vector<std::chrono::steady_clock::time_point> dueOfC;
    for (const RecordedMessage& message : live.devices.backend->messages()) {
        if (!message.isLong && (quint8(message.bytes.at(0)) & 0xF0) == 0x90 && message.bytes.at(2) > 0) {
            order.push_back(message.bytes.left(2));
            if (message.bytes.left(2) == QByteArray("\x90\x3C", 2) && message.due) {
                dueOfC.push_back(*message.due);
            }
        }
    }
    const std::vector<QByteArray> expected{QByteArray("\x90\x3C", 2), QByteArray("\x99\x4C", 2),
                                           QByteArray("\x99\x4D", 2), QByteArray("\x90\x3C", 2),
                                           QByteArray("\x90\x3E", 2)};
    EXPECT_EQ(order, expected);
    ASSERT_EQ(dueOfC.size(), 2u);
    // The second pass falls due a bar and the count-in's bar after the first.
    const auto apart = std::chrono::duration_cast<std::chrono::milliseconds>(dueOfC[1] - dueOfC[0]).count();
    EXPECT_NEAR(double(apart), 1000.0, 1.0);
    EXPECT_FALSE(live.session.countingIn());
}

} // namespace
} // namespace harmonet::test
