// The volume and tone block of the main window against a scripted mixer:
// balance kept by the volume sliders, independent mutes, changes made
// elsewhere, and controls the mixer lacks.
#include "tests/player/PlayerFixture.h"

#include "widgets/ImageButton.h"

#include <QLabel>
#include <QSlider>
#include <QTest>

namespace harmonet::test {

namespace {

using Values = std::vector<quint32>;

// Runs the event loop until notices that travel through it have arrived.
void settle()
{
    for (int pass = 0; pass < 5; ++pass) {
        QCoreApplication::processEvents();
    }
}

TEST_F(PlayerTest, AVolumeSliderShowsTheLouderChannelAndKeepsTheBalance)
{
    struct Case {
        Values atStart;
        int balance;
        int shown;
        int movedTo;
        Values written;
    };
    const QList<Case> cases{
        {{30000, 60000}, 25, 60000, 40000, {20000, 40000}},
        {{60000, 30000}, -25, 60000, 40000, {40000, 20000}},
        {{0, 0}, 0, 0, 1000, {1000, 1000}},
        {{30001, 60000}, 24, 60000, 50000, {26000, 50000}},
    };
    for (const bool master : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << (master ? "master " : "midi ") << c.atStart[0] << "/" << c.atStart[1]);
            mixer = std::make_shared<FakeMixerBackend>();
            MixerBackend::installDefault(mixer);
            const TMixerControlType control = master ? TMidiMixer::mcMasterVolume : TMidiMixer::mcMidiVolume;
            mixer->control(control).values = c.atStart;
            TfrmMain& main = showWindow();
            QSlider* slider = master ? main.tbMasterV : main.tbMidiV;
            EXPECT_EQ(master ? main.MasterBalance : main.MidiBalance, c.balance);
            EXPECT_EQ(slider->value(), c.shown);
            EXPECT_EQ(slider->maximum(), 65535);
            EXPECT_EQ(slider->pageStep(), 6553);
            EXPECT_EQ(slider->singleStep(), 2184);
            EXPECT_EQ(slider->tickInterval(), 6553);

            slider->setValue(c.movedTo);
            ASSERT_FALSE(mixer->writes.empty());
            EXPECT_EQ(mixer->writes.back().control, control);
            EXPECT_EQ(mixer->writes.back().values, c.written);
            window.reset();
        }
    }
}

TEST_F(PlayerTest, TrebleAndBassWriteOneValueToBothChannelsAndShowChannelZero)
{
    for (TMixerControlType control : {TMidiMixer::mcTreble, TMidiMixer::mcBass}) {
        mixer->control(control).channels = 2;
        mixer->control(control).values = {20000, 50000};
    }
    TfrmMain& main = showWindow();
    EXPECT_EQ(main.tbTreble->value(), 20000);
    EXPECT_EQ(main.tbBass->value(), 20000);
    EXPECT_EQ(main.tbTreble->pageStep(), 65535 / 15);
    main.tbTreble->setValue(40000);
    EXPECT_EQ(mixer->writes.back().control, TMidiMixer::mcTreble);
    EXPECT_EQ(mixer->writes.back().values, (Values{40000, 40000}));
    main.tbBass->setValue(1000);
    EXPECT_EQ(mixer->writes.back().control, TMidiMixer::mcBass);
    EXPECT_EQ(mixer->writes.back().values, (Values{1000, 1000}));
}

TEST_F(PlayerTest, TheTwoMuteButtonsAreIndependent)
{
    mixer->control(TMidiMixer::mcMidiMute).values = {1}; // the MIDI line starts muted
    TfrmMain& main = showWindow();
    EXPECT_TRUE(main.sbMidiMute->isDown());
    EXPECT_FALSE(main.sbMasterMute->isDown());
    EXPECT_EQ(main.sbMasterMute->toolTip(), QStringLiteral("Mute Master"));
    EXPECT_EQ(main.sbMidiMute->toolTip(), QStringLiteral("Mute Midi"));

    QTest::mouseClick(main.sbMasterMute, Qt::LeftButton);
    EXPECT_TRUE(main.sbMasterMute->isDown());
    EXPECT_TRUE(main.sbMidiMute->isDown());
    EXPECT_EQ(mixer->control(TMidiMixer::mcMasterMute).values, Values{1});
    EXPECT_EQ(mixer->control(TMidiMixer::mcMidiMute).values[0], 1u);

    QTest::mouseClick(main.sbMidiMute, Qt::LeftButton);
    EXPECT_FALSE(main.sbMidiMute->isDown());
    EXPECT_TRUE(main.sbMasterMute->isDown());
    EXPECT_EQ(mixer->control(TMidiMixer::mcMidiMute).values, Values{0});
    EXPECT_EQ(mixer->control(TMidiMixer::mcMasterMute).values, Values{1});

    QTest::mouseClick(main.sbMasterMute, Qt::LeftButton);
    EXPECT_EQ(mixer->control(TMidiMixer::mcMasterMute).values, Values{0});
    // The notice is bound again after the master mute's two writes.
    mixer->changeElsewhere(TMidiMixer::mcMasterMute, {1});
    settle();
    EXPECT_TRUE(main.sbMasterMute->isDown());
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

TEST_F(PlayerTest, ChangesMadeElsewhereMoveTheControlsAndKeepTheBalance)
{
    TfrmMain& main = showWindow();
    mixer->writes.clear();

    mixer->changeElsewhere(TMidiMixer::mcMasterVolume, {20000, 40000});
    settle();
    EXPECT_EQ(main.tbMasterV->value(), 40000);
    EXPECT_EQ(main.MasterBalance, 25);
    // The slider's change writes the notified values back, and that is all.
    ASSERT_EQ(mixer->writes.size(), 1u);
    EXPECT_EQ(mixer->writes[0].values, (Values{20000, 40000}));

    mixer->writes.clear();
    mixer->changeElsewhere(TMidiMixer::mcMasterMute, {1});
    mixer->changeElsewhere(TMidiMixer::mcBass, {10000});
    mixer->changeElsewhere(TMidiMixer::mcMidiVolume, {5000, 2500});
    settle();
    EXPECT_TRUE(main.sbMasterMute->isDown());
    EXPECT_EQ(main.tbBass->value(), 10000);
    EXPECT_EQ(main.tbMidiV->value(), 5000);
    EXPECT_EQ(main.MidiBalance, -25);
    EXPECT_EQ(main.MasterBalance, 25);
    for (const FakeMixerBackend::Write& write : mixer->writes) {
        EXPECT_NE(write.control, TMidiMixer::mcMasterMute) << "setting a mute button from the mixer writes nothing";
    }
    EXPECT_EQ(mixer->control(TMidiMixer::mcMidiVolume).values, (Values{5000, 2500}));
}

TEST_F(PlayerTest, AControlTheMixerLacksDisablesItsButtonOrToneSlider)
{
    mixer->remove(TMidiMixer::mcBass);
    mixer->remove(TMidiMixer::mcMidiMute);
    mixer->remove(TMidiMixer::mcMasterVolume);
    TfrmMain& main = showWindow();
    EXPECT_FALSE(main.tbBass->isEnabled());
    EXPECT_FALSE(main.sbMidiMute->isEnabled());
    EXPECT_TRUE(main.tbTreble->isEnabled());
    EXPECT_TRUE(main.sbMasterMute->isEnabled());
    EXPECT_TRUE(main.tbMasterV->isEnabled());
    EXPECT_EQ(main.tbMasterV->maximum(), 10);

    mixer->writes.clear();
    main.tbMasterV->setValue(5);
    EXPECT_TRUE(mixer->writes.empty());
    EXPECT_FALSE(main.lblOutputNotice->isVisible());
}

TEST_F(PlayerTest, AMixerWithoutALineStillOpensTheWindowAndSaysSoInTheStatusBar)
{
    mixer->hasSynthesizerLine = false;
    TfrmMain& main = showWindow();
    EXPECT_TRUE(main.isVisible());
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
    EXPECT_TRUE(main.lblOutputNotice->isVisible());
    EXPECT_EQ(main.lblOutputNotice->text(), QStringLiteral("No mixer"));
    EXPECT_EQ(main.lblOutputNotice->toolTip(), QStringLiteral("Can't find MIDI output source line for Test Mixer"));
    EXPECT_EQ(mixer->openDevices, 0);

    EXPECT_TRUE(main.tbMasterV->isEnabled());
    EXPECT_EQ(main.tbMasterV->maximum(), 10);
    EXPECT_FALSE(main.sbMasterMute->isEnabled());
    EXPECT_FALSE(main.tbTreble->isEnabled());
    main.tbMidiV->setValue(3);
    EXPECT_TRUE(mixer->writes.empty());
}

} // namespace

} // namespace harmonet::test
