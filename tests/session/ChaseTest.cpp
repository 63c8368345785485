// A jump lands in the song as the file has it there: what sounded is
// released (the pedal lifted, each held note ended), then every channel the
// song uses gets its instrument, levels, pedal, bend and bend range of that
// place, with the track mixer and my part's mix applied as they are to the
// song's own messages.
#include "practice/PracticeMix.h"
#include "sequencer/SmfWriter.h"
#include "session/MidiSink.h"
#include "session/PlayingSession.h"
#include "session/Song.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <vector>

namespace harmonet::test {
namespace {

class RecordingSink final : public MidiSink {
public:
    bool isOpen() const override { return true; }
    void send(const TMyMidiEvent& message, const std::optional<TDue>&) override
    {
        messages.push_back({message.StatusByte, message.FirstData, message.SecondData});
    }
    struct Message {
        quint8 status, first, second;
    };
    std::vector<Message> messages;
};

// 120 bpm, 480 ticks a quarter. The soprano (channel 1) starts on program 52
// at full level; at 1 s (tick 960) it changes to program 40, volume 50,
// expression 90, pedal down, a bend of +1000 and a bend range of 12
// semitones; notes sound throughout. The alto (channel 2) sings beside it.
QByteArray passageSong()
{
    SmfWriter writer;
    writer.header(1, 3, 480);
    writer.beginTrack().tempo(0, 500000).endOfTrack().endTrack();
    writer.beginTrack()
        .meta(0, 0x03, "Soprano")
        .programChange(0, 0, 52)
        .controlChange(0, 0, 7, 100)
        .noteOn(0, 0, 60, 90)
        .noteOff(480, 0, 60)
        .programChange(480, 0, 40)
        .controlChange(0, 0, 7, 50)
        .controlChange(0, 0, 11, 90)
        .controlChange(0, 0, 64, 127)
        .channel(0, 0xE0, 0x68, 0x47) // 8192 + 1000
        .controlChange(0, 0, 101, 0)
        .controlChange(0, 0, 100, 0)
        .controlChange(0, 0, 6, 12)
        .noteOn(0, 0, 64, 90)
        .noteOff(1920, 0, 64)
        .endOfTrack()
        .endTrack();
    writer.beginTrack().meta(0, 0x03, "Alto").noteOn(0, 1, 55, 90).noteOff(3840, 1, 55).endOfTrack().endTrack();
    return writer.bytes();
}

// The last value each controller (or 256 + program, 257 + bend) got on a channel.
std::map<int, int> lastValues(const std::vector<RecordingSink::Message>& messages, int channel)
{
    std::map<int, int> values;
    for (const auto& m : messages) {
        if ((m.status & 0x0F) != channel - 1) {
            continue;
        }
        switch (m.status & 0xF0) {
        case 0xB0: values[m.first] = m.second; break;
        case 0xC0: values[256] = m.first; break;
        case 0xE0: values[257] = (m.second << 7) | m.first; break;
        default: break;
        }
    }
    return values;
}

TEST(Chase, ASeekSendsTheChannelSettingsOfTheNewPlaceThroughTheMixes)
{
    PracticeChoice altoMine;
    altoMine.part = VoiceKey{2};
    const quint8 mixedFifty = mixedVolume(ChannelRole::Other, altoMine, 50);
    const quint8 mixedHundred = mixedVolume(ChannelRole::Other, altoMine, 100);
    ASSERT_LT(mixedFifty, 50);

    const struct {
        const char* what;
        int seekMs;
        bool trackMixer;
        std::optional<PracticeChoice> choice;
        int volume, expression, sustain, bend, bendRange, selected;
    } cases[] = {
        {"into the passage after the changes", 1500, false, std::nullopt, 50, 90, 127, 9192, 12, 0},
        {"back before them: the values at power-on", 200, false, std::nullopt, 100, 127, 0, 8192, 2, 127},
        {"with the track mixer in force", 1500, true, std::nullopt, 90, 90, 127, 9192, 12, 0},
        {"with the alto my part", 1500, false, altoMine, mixedFifty, 90, 127, 9192, 12, 0},
        {"before the changes with the alto my part", 200, false, altoMine, mixedHundred, 127, 0, 8192, 2, 127},
    };
    for (const auto& c : cases) {
        PlayingSession session;
        session.setSong(Song::fromBytes(passageSong()));
        RecordingSink sink;
        session.setSink(&sink);
        SongSettings settings = session.settings();
        settings.trackMixerInForce = c.trackMixer;
        settings.tracks[1].volume = 90;
        session.applySettings(settings);
        if (c.choice) {
            session.setPracticeChoice(*c.choice);
        }
        sink.messages.clear();

        session.seek(c.seekMs);

        const std::map<int, int> soprano = lastValues(sink.messages, 1);
        EXPECT_EQ(soprano.at(256), 40) << c.what << ": the instrument";
        EXPECT_EQ(soprano.at(7), c.volume) << c.what;
        EXPECT_EQ(soprano.at(11), c.expression) << c.what;
        EXPECT_EQ(soprano.at(64), c.sustain) << c.what << ": the pedal";
        EXPECT_EQ(soprano.at(257), c.bend) << c.what;
        EXPECT_EQ(soprano.at(6), c.bendRange) << c.what;
        EXPECT_EQ(soprano.at(101), c.selected) << c.what << ": data entry goes where the file pointed it";
        EXPECT_EQ(lastValues(sink.messages, 2).count(7), 1u) << c.what << ": the alto's channel too";
        EXPECT_EQ(lastValues(sink.messages, 3).count(7), 0u) << c.what << ": an unused channel gets nothing";
        EXPECT_EQ(session.sequencer().CurrentTime(), c.seekMs) << c.what;
    }
}

TEST(Chase, ASeekReleasesHeldNotesAndThePedalBeforeTheNewSettings)
{
    PlayingSession session;
    session.setSong(Song::fromBytes(passageSong()));
    RecordingSink sink;
    session.setSink(&sink);
    // The pedal goes down and a note starts at 1 s, as playing would send them.
    const TMidiTrack& soprano = *session.sequencer().TrackAt(1);
    for (int i = 0; i < soprano.EventCount(); ++i) {
        const TMidiEvent& event = *soprano.EventAt(i);
        if (event.Ticks == 960 && event.Status != 0xFF) {
            session.dispatch(event);
        }
    }
    ASSERT_EQ(session.gateway().soundingNoteCount(), 1);
    sink.messages.clear();

    session.seek(1500);

    EXPECT_EQ(session.gateway().soundingNoteCount(), 0);
    const auto at = [&sink](quint8 status, quint8 first, int second = -1) {
        for (std::size_t i = 0; i < sink.messages.size(); ++i) {
            const auto& m = sink.messages[i];
            if (m.status == status && m.first == first && (second < 0 || m.second == second)) {
                return int(i);
            }
        }
        return -1;
    };
    const int pedalUp = at(0xB0, 64, 0);
    const int noteOff = at(0x80, 64);
    const int allOff = at(0xB0, 123);
    const int pedalDown = at(0xB0, 64, 127);
    ASSERT_GE(pedalUp, 0);
    EXPECT_LT(pedalUp, noteOff);
    EXPECT_LT(noteOff, allOff);
    EXPECT_LT(allOff, pedalDown) << "the pedal of the new place goes down after the release";
}

} // namespace
} // namespace harmonet::test
