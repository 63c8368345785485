// No note keeps sounding after a stop: the example song played through the
// built-in synthesizer, rendered offline against a clock moved by hand, falls
// silent soon after Stop even while its notes are held.
#include "tests/player/PlayerFixture.h"

#include "midiout/SoundFontLocator.h"
#include "midiout/SynthBackend.h"
#include "sequencer/MidiFile.h"
#include "tests/support/TestPaths.h"

#include <QTest>
#include <algorithm>
#include <cstdlib>
#include <vector>

namespace harmonet::test {
namespace {

constexpr int SampleRate = 44100;
constexpr int StepMs = 10;

class SilenceTest : public PlayerTest {
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        if (findSoundFont().isEmpty()) {
            GTEST_SKIP() << "no General MIDI SoundFont installed";
        }
        synth = std::make_shared<SynthBackend>(SynthBackend::Mode::Offline, SampleRate);
        MidiDeviceList::installDefault(std::make_shared<MidiDeviceList>(std::vector<std::shared_ptr<MidiBackend>>{synth}));
    }

    // Moves the song on by ms in steps as its timer would, rendering the
    // sound of each step; returns the loudest sample of the whole stretch.
    int playAndRender(TfrmMain& main, int ms)
    {
        int peak = 0;
        std::vector<qint16> samples(2 * SampleRate * StepMs / 1000);
        for (int done = 0; done < ms; done += StepMs) {
            clock.advanceMs(StepMs);
            main.MidiFile1->Tick();
            synth->synthesizer()->render(samples);
            for (const qint16 sample : samples) {
                peak = std::max(peak, std::abs(int(sample)));
            }
        }
        return peak;
    }

    std::shared_ptr<SynthBackend> synth;
    ManualClock clock;
};

TEST_F(SilenceTest, StopInTheMiddleOfHeldNotesIsSilentWithinThreeHundredMilliseconds)
{
    TfrmMain& main = showWindow({sourceDir() + QStringLiteral("/examples/old-hundredth.mid")});
    ASSERT_TRUE(main.session().outputOpen());
    ASSERT_TRUE(synth->synthesizer());
    main.MidiFile1->SetClock(&clock);
    main.Play1->trigger();
    EXPECT_GT(playAndRender(main, main.SongLength / 2), 1000) << "the song sounds";
    // On into the middle of notes that sound, past any rest between lines.
    int sounding = 0;
    for (int waited = 0; waited < 3000 && sounding < 1000; waited += 100) {
        sounding = playAndRender(main, 100);
    }
    ASSERT_GE(sounding, 1000);

    main.Stop1->trigger();
    playAndRender(main, 300);
    EXPECT_LT(playAndRender(main, 200), 100) << "silence once the release tails have faded";
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

} // namespace
} // namespace harmonet::test
