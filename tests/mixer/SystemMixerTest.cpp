// The system's mixer: the built-in synthesizer's output stage where there is
// no sound card, and the simple mixer of ALSA's "default" device on a private
// PulseAudio server with a null sink.
#include "midiout/OutputStage.h"
#include "mixer/StageControls.h"
#include "mixer/SystemMixer.h"
#include "mixer/cmpMidiMixer.h"
#include "tests/support/PrivateSoundServer.h"

#include <QCoreApplication>
#include <QTemporaryFile>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>

namespace harmonet::test {

namespace {

struct Notice {
    TMixerControlType control;
    TMixerStereoValue value;
};

// Collects the component's change notices.
QList<Notice>* collectNotices(TMidiMixer& mixer)
{
    auto* notices = new QList<Notice>;
    mixer.SetOnControlChange([notices, &mixer](QObject*, TMixerControlType control) {
        notices->append({control, {mixer.ControlValue(control, 0), mixer.ControlValue(control, 1)}});
    });
    return notices;
}

// Lets notices that travel through the event loop in more than one step arrive.
void settle()
{
    for (int pass = 0; pass < 5; ++pass) {
        QCoreApplication::processEvents();
    }
}

// Runs the event loop until a notice for control arrives or ms pass.
bool waitForNotice(const QList<Notice>& notices, TMixerControlType control, int ms)
{
    return QTest::qWaitFor(
        [&] { return std::any_of(notices.begin(), notices.end(), [control](const Notice& n) { return n.control == control; }); },
        ms);
}

TEST(SystemMixerTest, WithoutACardAllSixControlsAreTheOutputStage)
{
    // An empty ALSA configuration knows no card at all.
    QTemporaryFile emptyConfig;
    ASSERT_TRUE(emptyConfig.open());
    qputenv("ALSA_CONFIG_PATH", emptyConfig.fileName().toLocal8Bit());
    SynthOutputStage stage;
    TMidiMixer mixer(std::make_shared<SystemMixerBackend>(QStringLiteral("hw:97"), stage));
    mixer.Loaded();
    ASSERT_TRUE(mixer.Active());
    EXPECT_EQ(mixer.ProductName(), StageControls::stageName());
    for (int c = 0; c < TMidiMixer::ControlCount; ++c) {
        EXPECT_TRUE(mixer.ControlAvailable(TMixerControlType(c))) << c;
    }
    EXPECT_EQ(mixer.ControlMax(TMidiMixer::mcMasterVolume), 65535u);
    EXPECT_EQ(mixer.ControlMax(TMidiMixer::mcMidiMute), 1u);
    EXPECT_EQ(mixer.ControlValue(TMidiMixer::mcMidiVolume, 1), 65535u);
    EXPECT_EQ(mixer.ControlValue(TMidiMixer::mcBass, 1), 32768u);
    std::unique_ptr<QList<Notice>> notices(collectNotices(mixer));

    mixer.SetControlValues(TMidiMixer::mcMidiVolume, {20000, 40000});
    mixer.SetControlValues(TMidiMixer::mcTreble, {50000, 50000});
    mixer.SetControlValue(TMidiMixer::mcMasterMute, 0, 1);
    EXPECT_EQ(stage.value(SynthOutputStage::SynthVolume, 0), 20000u);
    EXPECT_EQ(stage.value(SynthOutputStage::SynthVolume, 1), 40000u);
    EXPECT_EQ(stage.value(SynthOutputStage::Treble), 50000u);
    EXPECT_EQ(stage.value(SynthOutputStage::MasterMute), 1u);
    settle();
    EXPECT_TRUE(notices->isEmpty()) << "the mixer's own writes are not reported back";

    // Another part of the program moves the stage.
    stage.setValue(SynthOutputStage::Bass, 0, 1000);
    stage.setValue(SynthOutputStage::MasterVolume, 1, 30000);
    settle();
    ASSERT_EQ(notices->size(), 2);
    EXPECT_EQ((*notices)[0].control, TMidiMixer::mcBass);
    EXPECT_EQ((*notices)[0].value.LeftValue, 1000u);
    EXPECT_EQ((*notices)[0].value.RightValue, 1000u);
    EXPECT_EQ((*notices)[1].control, TMidiMixer::mcMasterVolume);
    EXPECT_EQ((*notices)[1].value.RightValue, 30000u);
    qunsetenv("ALSA_CONFIG_PATH");
}

TEST(SystemMixerTest, MasterIsTheSoundServersVolumeBothWays)
{
    PrivateSoundServer server;
    if (!server.start()) {
        GTEST_SKIP() << "no private sound server: " << server.why().toStdString();
    }
    SynthOutputStage stage;
    TMidiMixer mixer(std::make_shared<SystemMixerBackend>(QStringLiteral("default"), stage));
    mixer.Loaded();
    ASSERT_TRUE(mixer.Active());
    EXPECT_NE(mixer.ProductName(), StageControls::stageName());
    ASSERT_TRUE(mixer.ControlAvailable(TMidiMixer::mcMasterVolume));
    ASSERT_TRUE(mixer.ControlAvailable(TMidiMixer::mcMasterMute));
    const std::optional<QList<quint32>> atStart = server.sinkVolumes();
    ASSERT_TRUE(atStart && atStart->size() == 2);
    EXPECT_EQ(mixer.ControlValue(TMidiMixer::mcMasterVolume, 0), (*atStart)[0] - mixer.ControlMin(TMidiMixer::mcMasterVolume));
    EXPECT_GE(mixer.ControlMax(TMidiMixer::mcMasterVolume), 65535u);
    // The null sink has no tone or synthesizer controls: the stage offers them.
    EXPECT_EQ(mixer.ControlMax(TMidiMixer::mcBass), SynthOutputStage::rawMaximum);
    EXPECT_EQ(mixer.ControlValue(TMidiMixer::mcMidiVolume, 0), stage.value(SynthOutputStage::SynthVolume, 0));
    std::unique_ptr<QList<Notice>> notices(collectNotices(mixer));

    mixer.SetControlValues(TMidiMixer::mcMasterVolume, {30000, 45000});
    EXPECT_EQ(server.sinkVolumes(), (QList<quint32>{30000, 45000}));
    mixer.SetControlValue(TMidiMixer::mcMasterMute, 0, 1);
    EXPECT_EQ(server.sinkMuted(), true);
    EXPECT_FALSE(waitForNotice(*notices, TMidiMixer::mcMasterVolume, 300)) << "own writes come back unreported";

    ASSERT_TRUE(server.pactl({QStringLiteral("set-sink-volume"), QStringLiteral("@DEFAULT_SINK@"),
                              QStringLiteral("20000"), QStringLiteral("40000")}));
    ASSERT_TRUE(waitForNotice(*notices, TMidiMixer::mcMasterVolume, 10000));
    EXPECT_EQ(mixer.ControlValue(TMidiMixer::mcMasterVolume, 0), 20000u);
    EXPECT_EQ(mixer.ControlValue(TMidiMixer::mcMasterVolume, 1), 40000u);

    ASSERT_TRUE(server.pactl({QStringLiteral("set-sink-mute"), QStringLiteral("@DEFAULT_SINK@"), QStringLiteral("0")}));
    ASSERT_TRUE(waitForNotice(*notices, TMidiMixer::mcMasterMute, 10000));
    EXPECT_EQ(mixer.ControlValue(TMidiMixer::mcMasterMute, 0), 0u);
    for (const Notice& notice : *notices) {
        EXPECT_TRUE(notice.control == TMidiMixer::mcMasterVolume || notice.control == TMidiMixer::mcMasterMute);
    }

    // The server also announces changes that leave Master as it is.
    notices->clear();
    ASSERT_TRUE(server.pactl({QStringLiteral("set-source-volume"), QStringLiteral("@DEFAULT_SOURCE@"), QStringLiteral("1000")}));
    ASSERT_TRUE(server.pactl({QStringLiteral("set-sink-volume"), QStringLiteral("@DEFAULT_SINK@"),
                              QStringLiteral("20000"), QStringLiteral("40000")}));
    EXPECT_FALSE(waitForNotice(*notices, TMidiMixer::mcMasterVolume, 300));
    EXPECT_FALSE(waitForNotice(*notices, TMidiMixer::mcMasterMute, 0));
}

} // namespace

} // namespace harmonet::test
