// The loop as the session plays it on a hand-moved clock: the notes of the
// loop's bars come again pass after pass, each at the moment a straight run
// of the clock puts it (the wraps included, also when one advance crosses
// several), the passes asked for and then on; playing from past the loop's
// end does not wrap.
#include "sequencer/Clock.h"
#include "sequencer/SmfWriter.h"
#include "session/MidiSink.h"
#include "session/PlayingSession.h"
#include "session/Song.h"

#include <gtest/gtest.h>

#include <vector>

namespace harmonet::test {
namespace {

// 4/4 at 120 bpm: sixteen quarter notes, keys 60 to 75, one a beat.
QByteArray countingSong()
{
    SmfWriter writer;
    writer.header(0, 1, 480);
    writer.beginTrack().tempo(0, 500000).timeSignature(0, 4, 2);
    for (int beat = 0; beat < 16; ++beat) {
        writer.noteOn(0, 0, quint8(60 + beat), 100).noteOff(480, 0, quint8(60 + beat));
    }
    writer.endOfTrack().endTrack();
    return writer.bytes();
}

struct Heard {
    int key;
    double clockMs;
};

class NoteSink final : public MidiSink {
public:
    explicit NoteSink(const TMidiFile& sequencer) : m_sequencer(sequencer) {}
    bool isOpen() const override { return true; }
    bool isBuiltInSynthesizer() const override { return true; }
    void send(const TMyMidiEvent& message, const std::optional<TDue>& due) override
    {
        if ((message.StatusByte & 0xF0) == 0x90 && message.SecondData > 0 && due) {
            heard.push_back({message.FirstData, m_sequencer.ClockMsAt(due->exactMs)});
        }
    }
    std::vector<Heard> heard;

private:
    const TMidiFile& m_sequencer;
};

// The counting song in a session whose sequencer the test moves by hand.
struct HandDriven {
    HandDriven()
    {
        session.setSong(Song::fromBytes(countingSong()));
        session.setSink(&sink);
        session.sequencer().SetClock(&clock);
        session.sequencer().SetDrivenByCaller(true);
    }

    PlayingSession session;
    NoteSink sink{session.sequencer()};
    ManualClock clock{0};
};

TEST(Loop, BarsComeAgainPassAfterPassOnAStraightClock)
{
    std::vector<int> twoPasses;
    for (int beat = 0; beat < 12; ++beat) {
        twoPasses.push_back(60 + beat);
    }
    for (int beat = 4; beat < 16; ++beat) {
        twoPasses.push_back(60 + beat);
    }
    std::vector<int> endless = twoPasses;
    endless.resize(20);
    for (int beat = 4; beat < 12; ++beat) {
        endless.push_back(60 + beat);
    }
    const struct {
        const char* what;
        qint64 first, last;
        int passes;
        int startBar;
        int stepMs;
        int untilMs;
        std::vector<int> keys;
    } cases[] = {
        {"bars 2 and 3 twice, then on", 2, 3, 2, 1, 10, 12000, twoPasses},
        {"the same in one late advance", 2, 3, 2, 1, 12000, 12000, twoPasses},
        {"without end", 2, 3, 0, 1, 7, 14000, endless},
        {"from bar 4, past the loop", 2, 3, 0, 4, 10, 2000, {72, 73, 74, 75}},
    };
    for (const auto& c : cases) {
        HandDriven played;
        PlayingSession& session = played.session;
        TMidiFile& sequencer = session.sequencer();
        NoteSink& sink = played.sink;
        ManualClock& clock = played.clock;
        session.setLoop(c.first, c.last, c.passes);
        session.seekToBar(c.startBar);
        const int startMs = sequencer.CurrentTime();
        clock.setNowMs(startMs);
        session.startAt(startMs);
        for (int ms = startMs + c.stepMs; ms <= startMs + c.untilMs; ms += c.stepMs) {
            clock.setNowMs(ms);
            sequencer.Tick();
        }
        std::vector<int> keys;
        for (const Heard& h : sink.heard) {
            keys.push_back(h.key);
        }
        EXPECT_EQ(keys, c.keys) << c.what;
        for (std::size_t i = 0; i < sink.heard.size(); ++i) {
            EXPECT_NEAR(sink.heard[i].clockMs, startMs + 500.0 * double(i), 1e-6) << c.what << ", note " << i;
        }
        EXPECT_LE(sequencer.CurrentTime(), sequencer.SongLengthMs()) << c.what << ": the playing time stays in the song";
    }
}

TEST(Loop, EachPassCountedInBeginsAfterItsClicks)
{
    // Bars 2 and 3 twice from bar 1, one bar (2000 ms) counted in before the
    // second pass: bars 1-3, the clicks, bars 2-3 and bar 4 on one straight clock.
    std::vector<Heard> expected;
    for (int beat = 0; beat < 12; ++beat) {
        expected.push_back({60 + beat, 500.0 * beat});
    }
    for (int click = 0; click < 4; ++click) {
        expected.push_back({click == 0 ? AccentClickKey : BeatClickKey, 6000.0 + 500.0 * click});
    }
    for (int beat = 4; beat < 16; ++beat) {
        expected.push_back({60 + beat, 8000.0 + 500.0 * (beat - 4)});
    }
    const struct {
        const char* what;
        int stepMs;
    } cases[] = {
        {"clock moved a millisecond at a time", 1},
        {"clock moved in steps of 7 ms", 7},
        {"the wrap and count-in passed in one late advance", 7000},
    };
    for (const auto& c : cases) {
        HandDriven played;
        PlayingSession& session = played.session;
        TMidiFile& sequencer = session.sequencer();
        NoteSink& sink = played.sink;
        ManualClock& clock = played.clock;
        ClickSettings clicks;
        clicks.countInBars = 1;
        clicks.beforeEachPass = true;
        session.setClicks(clicks);
        session.setLoop(2, 3, 2);
        session.startAt(0);
        int positionInCountIn = -1;
        for (int ms = c.stepMs; ms <= 14000; ms += c.stepMs) {
            clock.setNowMs(ms);
            sequencer.Tick();
            if (ms == 7000) {
                positionInCountIn = sequencer.CurrentTime();
            }
        }
        ASSERT_EQ(sink.heard.size(), expected.size()) << c.what;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(sink.heard[i].key, expected[i].key) << c.what << ", note " << i;
            EXPECT_NEAR(sink.heard[i].clockMs, expected[i].clockMs, 1e-6) << c.what << ", note " << i;
        }
        if (c.stepMs < 7000) {
            EXPECT_EQ(positionInCountIn, 2000) << c.what << ": the position waits at the loop's start";
        }
    }
}

} // namespace
} // namespace harmonet::test
