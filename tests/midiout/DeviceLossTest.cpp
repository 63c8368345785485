// Devices that go away while in use: a MIDI port unplugged in the middle of a
// song (a recording device made to fail), and the built-in synthesizer's
// sound server killed and started again (a private PulseAudio server).
#include "midiout/MidiOut.h"
#include "midiout/SoundFontLocator.h"
#include "midiout/SynthBackend.h"
#include "tests/midiout/RecordingDevices.h"
#include "tests/support/PrivateSoundServer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace harmonet;
using namespace harmonet::test;

namespace {

const QString goneText = QStringLiteral("The MIDI port Beta is no longer available");

TEST(VanishedPort, IsReportedOnceByNameThenDropsMessagesUntilClosedAndLeavesTheList)
{
    RecordingDevices devices;
    TMidiOutput output(devices.list);
    QSignalSpy lost(&output, &TMidiOutput::DeviceLost);
    output.setProductName(QStringLiteral("Beta"));
    ASSERT_TRUE(output.OpenDevice());
    output.SendShort(0x90, 60, 100);

    devices.backend->failSends(MidiDeviceRemoved, goneText);
    try {
        output.SendShort(0x80, 60, 0);
        FAIL() << "the first send to the vanished port raises";
    } catch (const EmidioutputError& error) {
        EXPECT_EQ(error.message(), goneText);
        EXPECT_EQ(error.code(), MidiDeviceRemoved);
    }
    // The rest of the song and the stop's All Notes Off find nowhere to go,
    // and say nothing more.
    for (int channel = 0; channel < 16; ++channel) {
        EXPECT_NO_THROW(output.SendShort(quint8(0xB0 + channel), 123, 0));
    }
    const quint8 reset[] = {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};
    EXPECT_NO_THROW(output.SendLong(reset, sizeof reset));
    EXPECT_TRUE(output.IsOpen());
    EXPECT_TRUE(output.IsLost());
    EXPECT_EQ(devices.backend->openPorts(), 0) << "the connection was let go";
    QCoreApplication::processEvents();
    ASSERT_EQ(lost.count(), 1);
    EXPECT_EQ(lost.front().front().toString(), "Beta");
    EXPECT_EQ(devices.backend->messages().size(), 1u);
    EXPECT_TRUE(output.DeviceNotice().contains(goneText));

    EXPECT_TRUE(output.CloseDevice());
    EXPECT_FALSE(output.IsOpen());
    EXPECT_FALSE(output.IsLost());

    // The settings window lists the devices again when it next shows.
    devices.backend->setDeviceNames({QStringLiteral("Alpha"), QStringLiteral("Gamma"), QStringLiteral("Delta")});
    output.RefreshDeviceList();
    EXPECT_EQ(output.DeviceCount(), 3);
    output.setDeviceID(2);
    EXPECT_EQ(output.ProductName(), "Delta");
}

TEST(VanishedPort, RefreshingWhileOpenKeepsTheDeviceAndFollowsItsName)
{
    RecordingDevices devices;
    TMidiOutput output(devices.list);
    output.setProductName(QStringLiteral("Beta"));
    ASSERT_TRUE(output.OpenDevice());
    devices.backend->setDeviceNames({QStringLiteral("New"), QStringLiteral("Alpha"), QStringLiteral("Beta")});
    output.RefreshDeviceList();
    EXPECT_EQ(output.DeviceID(), 2);
    EXPECT_EQ(output.ProductName(), "Beta");
    EXPECT_NO_THROW(output.SendShort(0x90, 60, 100));
    EXPECT_EQ(devices.backend->messages().size(), 1u);
}

// Waits, letting queued notices through, until done() or timeoutMs passed.
bool waitFor(const std::function<bool()>& done, int timeoutMs)
{
    QElapsedTimer waited;
    waited.start();
    while (!done()) {
        if (waited.elapsed() > timeoutMs) {
            return false;
        }
        QTest::qWait(20);
    }
    return true;
}

// Woodblock notes every 100 ms, and the number of notes heard in a recording.
struct Metronome {
    explicit Metronome(TMidiOutput& output) : output(output)
    {
        output.SendShort(0xC0, 115, 0);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            this->output.SendShort(0x90, 76, 110);
            this->output.SendShort(0x80, 76, 0);
        });
        timer.start(100);
    }

    static int notesIn(const std::vector<qint16>& samples)
    {
        int notes = 0;
        std::size_t lastLoud = 0;
        for (std::size_t i = 0; i < samples.size(); ++i) {
            if (std::abs(int(samples[i])) > 1000) {
                notes += notes == 0 || i - lastLoud > 2000 ? 1 : 0;
                lastLoud = i;
            }
        }
        return notes;
    }

    TMidiOutput& output;
    QTimer timer;
};

class SoundServerLoss : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (findSoundFont().isEmpty()) {
            GTEST_SKIP() << "no General MIDI SoundFont installed";
        }
        pulse = std::make_unique<PrivateSoundServer>();
        if (!pulse->start()) {
            GTEST_SKIP() << "no PulseAudio server could be started: " << qPrintable(pulse->why());
        }
    }

    // The synthesizer is connected and its notes arrive on the server's sink:
    // one of the recordings made in the next 30 s holds at least five of them
    // (a busy machine may start the stream late or drop a stretch of it).
    void expectSoundArrives()
    {
        QElapsedTimer waited;
        waited.start();
        int notes = 0;
        std::size_t samples = 0;
        while (notes < 5 && waited.elapsed() < 30000) {
            ASSERT_TRUE(pulse->startRecording());
            QTest::qWait(2500);
            const std::vector<qint16> heard = pulse->stopRecording();
            notes = Metronome::notesIn(heard);
            samples = heard.size();
        }
        EXPECT_GE(notes, 5) << samples << " samples in the last recording";
    }

    std::unique_ptr<PrivateSoundServer> pulse;
    std::shared_ptr<SynthBackend> backend = std::make_shared<SynthBackend>(SynthBackend::Mode::Live);
    TMidiOutput output{std::make_shared<MidiDeviceList>(std::vector<std::shared_ptr<MidiBackend>>{backend})};
};

TEST_F(SoundServerLoss, KilledServerIsNoticedAtOncePlayingGoesOnAndTheSoundComesBackWithTheServer)
{
    QSignalSpy noticeChanged(&output, &TMidiOutput::DeviceNoticeChanged);
    ASSERT_TRUE(output.OpenDevice());
    ASSERT_TRUE(backend->synthesizer()->hasAudioOutput());
    EXPECT_TRUE(output.DeviceNotice().isEmpty());
    Metronome metronome(output);
    ASSERT_TRUE(waitFor([this] { return pulse->playbackStreams() == 1; }, 10000));
    expectSoundArrives();

    pulse->kill();
    ASSERT_TRUE(waitFor([&] { return noticeChanged.count() > 0; }, 10000)) << "the loss is noticed by itself";
    EXPECT_FALSE(output.DeviceNotice().isEmpty());
    EXPECT_FALSE(backend->synthesizer()->hasAudioOutput());
    // Playing goes on silently: notes are accepted and voices end.
    EXPECT_TRUE(waitFor([this] { return backend->synthesizer()->activeVoices() > 0; }, 10000));
    metronome.timer.stop();
    EXPECT_TRUE(waitFor([this] { return backend->synthesizer()->activeVoices() == 0; }, 10000));
    metronome.timer.start();

    ASSERT_TRUE(pulse->start());
    ASSERT_TRUE(waitFor([this] { return pulse->playbackStreams() == 1; }, 30000))
        << "connected again without anyone's help";
    ASSERT_TRUE(waitFor([this] { return output.DeviceNotice().isEmpty(); }, 10000));
    expectSoundArrives();
    EXPECT_TRUE(output.CloseDevice());
}

TEST_F(SoundServerLoss, StartedWithoutAServerTheSoundComesOnWhenOneStarts)
{
    pulse->stop();
    ASSERT_TRUE(output.OpenDevice());
    EXPECT_FALSE(backend->synthesizer()->hasAudioOutput());
    EXPECT_FALSE(output.DeviceNotice().isEmpty()) << "the notice says so from the start";
    QSignalSpy noticeChanged(&output, &TMidiOutput::DeviceNoticeChanged);
    Metronome metronome(output);
    QTest::qWait(1500);

    ASSERT_TRUE(pulse->start());
    ASSERT_TRUE(waitFor([this] { return pulse->playbackStreams() == 1; }, 30000));
    ASSERT_TRUE(waitFor([&] { return noticeChanged.count() > 0; }, 10000));
    EXPECT_TRUE(output.DeviceNotice().isEmpty());
    expectSoundArrives();
}

} // namespace
