// The track mixer window opened from the main window: its columns, what the
// sliders send and keep in the tracks, its keys, its life beside the loaded
// file, and the routing keeping its values in force while it is open.
#include "tests/player/PlayerFixture.h"

#include "persist/SettingsStore.h"
#include "sequencer/MidiFile.h"
#include "tests/support/TestPaths.h"
#include "widgets/ImageButton.h"
#include "windows/HelpViewer.h"
#include "windows/UnitMixer.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QTest>
#include <QTextBrowser>

namespace harmonet::test {

namespace {

QByteArray message(int status, int first, int second)
{
    QByteArray bytes;
    bytes.append(char(status)).append(char(first)).append(char(second));
    return bytes;
}

QStringList objectNames(const QList<QSlider*>& sliders)
{
    QStringList names;
    for (const QSlider* slider : sliders) {
        names.append(slider->objectName());
    }
    return names;
}

// A format 1 song of two voices: "Soprano" on channel 1 whose file sets volume
// 90 and pan 30, and "Alto" on channel 2 whose file sets neither; then
// "Controls", a track with a controller but no note, so without a channel.
QByteArray mixedSong()
{
    SmfWriter song;
    song.header(1, 4, 480);
    song.beginTrack().tempo(0, 500000).endOfTrack().endTrack();
    song.beginTrack()
        .meta(0, SmfWriter::TrackName, "Soprano")
        .controlChange(0, 0, 7, 90)
        .controlChange(0, 0, 10, 30)
        .noteOn(0, 0, 72, 100)
        .noteOff(480, 0, 72)
        .endOfTrack()
        .endTrack();
    song.beginTrack()
        .meta(0, SmfWriter::TrackName, "Alto")
        .noteOn(0, 1, 65, 100)
        .noteOff(480, 1, 65)
        .endOfTrack()
        .endTrack();
    song.beginTrack().meta(0, SmfWriter::TrackName, "Controls").controlChange(0, 2, 7, 50).endOfTrack().endTrack();
    return song.bytes();
}

} // namespace

class MixerWindowTest : public PlayerTest {
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        TSettingsStore(CURRENT_USER).deleteKey(QStringLiteral("Software\\Harmonet\\MixerForm"));
    }

    TfrmMain& load(const QString& name, const QByteArray& bytes)
    {
        TfrmMain& main = showWindow({writeFile(name, bytes)});
        EXPECT_TRUE(main.session().fileLoaded());
        recorder->clearMessages();
        return main;
    }

    // Opens the mixer with the main window's tool button.
    TfrmMixer* openMixer(TfrmMain& main)
    {
        QTest::mouseClick(main.sbMixer, Qt::LeftButton);
        auto* mixer = qobject_cast<TfrmMixer*>(main.mixerWindow());
        EXPECT_NE(mixer, nullptr);
        EXPECT_TRUE(mixer && mixer->isVisible());
        return mixer;
    }

    static QSlider* slider(TfrmMixer* mixer, const QString& name)
    {
        auto* found = mixer->findChild<QSlider*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }

    // Runs the deferred deletion of a closed window.
    static void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
};

TEST_F(MixerWindowTest, ChoirSongGivesOneColumnPerVoiceWithTrackOneFocusedAndBuildingSendsNothing)
{
    TfrmMain& main = load("satb.mid", choirSong({"Soprano", "Alto", "Tenor", "Bass"}));
    TfrmMixer* mixer = openMixer(main);
    ASSERT_NE(mixer, nullptr);

    EXPECT_EQ(mixer->windowTitle(), "Harmonet - Mixer");
    EXPECT_EQ(objectNames(mixer->volumeSliders()),
              QStringList({"tBarVolume1", "tBarVolume2", "tBarVolume3", "tBarVolume4"}));
    EXPECT_EQ(objectNames(mixer->balanceSliders()),
              QStringList({"tBarBalance1", "tBarBalance2", "tBarBalance3", "tBarBalance4"}));
    EXPECT_EQ(mixer->width(), 204);
    EXPECT_EQ(mixer->focusWidget(), slider(mixer, "tBarVolume1"));
    EXPECT_TRUE(sentMessages().isEmpty());

    const QStringList voices = {"Soprano", "Alto", "Tenor", "Bass"};
    for (int t = 1; t <= 4; ++t) {
        SCOPED_TRACE(t);
        auto* panel = mixer->findChild<QWidget*>(QStringLiteral("pnlTrack%1").arg(t));
        ASSERT_NE(panel, nullptr);
        EXPECT_EQ(panel->geometry(), QRect(48 * t - 47, 1, 48, TfrmMixer::ColumnHeight));
        auto* name = mixer->findChild<QLabel*>(QStringLiteral("lblName%1").arg(t));
        ASSERT_NE(name, nullptr);
        EXPECT_EQ(name->toolTip(), voices[t - 1]) << "the whole name, whatever the label has room for";
        EXPECT_LT(name->y(), mixer->findChild<QLabel*>(QStringLiteral("lblBalance%1").arg(t))->y());
        // The song sets no volume or pan: the channels' own 100 and 64.
        EXPECT_EQ(slider(mixer, QStringLiteral("tBarVolume%1").arg(t))->value(), 27);
        EXPECT_EQ(slider(mixer, QStringLiteral("tBarBalance%1").arg(t))->value(), 64);
        EXPECT_EQ(slider(mixer, QStringLiteral("tBarBalance%1").arg(t))->toolTip(), voices[t - 1]);
    }
    EXPECT_EQ(mixer->findChild<QLabel*>("lblName2")->text(), "Alto");
    EXPECT_EQ(mixer->findChild<QLabel*>("lblVolume1")->text(), "Volume");

    // Tab runs through the columns in order, and round again.
    QStringList tabbed;
    for (int step = 0; step < 8; ++step) {
        QTest::keyClick(mixer->focusWidget(), Qt::Key_Tab);
        tabbed.append(mixer->focusWidget()->objectName());
    }
    EXPECT_EQ(tabbed, QStringList({"tBarBalance1", "tBarVolume2", "tBarBalance2", "tBarVolume3", "tBarBalance3",
                                   "tBarVolume4", "tBarBalance4", "tBarVolume1"}));
}

TEST_F(MixerWindowTest, HintsNameTheInstrumentsWhileTheTrackPanelsShowThem)
{
    TfrmMain& main = load("satb.mid", choirSong({"Soprano", "Alto"}));
    main.cbInstruments->click();
    TfrmMixer* mixer = openMixer(main);
    ASSERT_NE(mixer, nullptr);
    const QString instrument = main.session().track(2).instrument;
    ASSERT_FALSE(instrument.isEmpty());
    EXPECT_EQ(slider(mixer, "tBarVolume2")->toolTip(), instrument);
    EXPECT_EQ(mixer->findChild<QLabel*>("lblName2")->toolTip(), "Alto") << "the name label keeps the name";
}

TEST_F(MixerWindowTest, SlidersSendTheirControllerOnTheTracksChannelAndKeepTheValueInTheTrack)
{
    TfrmMain& main = load("satb.mid", choirSong({"Soprano", "Alto", "Tenor", "Bass"}));
    TfrmMixer* mixer = openMixer(main);
    ASSERT_NE(mixer, nullptr);
    const TrackSettings& alto = main.session().track(2);
    QSlider* volume = slider(mixer, "tBarVolume2");
    QSlider* balance = slider(mixer, "tBarBalance2");

    volume->setValue(0);
    EXPECT_EQ(alto.volume, 127);
    balance->setValue(20);
    balance->setValue(64);
    EXPECT_EQ(alto.pan, 64);
    EXPECT_EQ(sentMessages(), QList<QByteArray>({message(0xB1, 7, 127), message(0xB1, 10, 20), message(0xB1, 10, 64)}));

    // Keys step by 1 and by 12; up on the volume is louder.
    recorder->clearMessages();
    volume->setValue(27);
    for (Qt::Key key : {Qt::Key_Down, Qt::Key_PageDown, Qt::Key_Up, Qt::Key_PageUp}) {
        QTest::keyClick(volume, key);
    }
    for (Qt::Key key : {Qt::Key_Right, Qt::Key_PageUp, Qt::Key_Left}) {
        QTest::keyClick(balance, key);
    }
    EXPECT_EQ(sentMessages(), QList<QByteArray>({message(0xB1, 7, 100), message(0xB1, 7, 99), message(0xB1, 7, 87),
                                                 message(0xB1, 7, 88), message(0xB1, 7, 100), message(0xB1, 10, 65),
                                                 message(0xB1, 10, 77), message(0xB1, 10, 76)}));
    EXPECT_EQ(alto.volume, 100);
    EXPECT_EQ(alto.pan, 76);
    EXPECT_EQ(main.session().track(1).volume, 100) << "the other tracks keep theirs";
}

TEST_F(MixerWindowTest, DoubleClickReturnsToTheFilesValueAndATrackWithoutChannelOnlyKeepsItsValue)
{
    TfrmMain& main = load("mixed.mid", mixedSong());
    TfrmMixer* mixer = openMixer(main);
    ASSERT_NE(mixer, nullptr);
    EXPECT_EQ(objectNames(mixer->volumeSliders()), QStringList({"tBarVolume1", "tBarVolume2", "tBarVolume3"}));
    EXPECT_EQ(slider(mixer, "tBarVolume1")->value(), 127 - 90);
    EXPECT_EQ(slider(mixer, "tBarBalance1")->value(), 30);

    struct Case {
        const char* slider;
        int moveTo;
        int fileValue;
        QByteArray sentOnReturn;
    };
    const Case cases[] = {
        {"tBarVolume1", 0, 127 - 90, message(0xB0, 7, 90)},
        {"tBarBalance1", 100, 30, message(0xB0, 10, 30)},
        {"tBarVolume2", 0, 27, message(0xB1, 7, 100)},
        {"tBarBalance2", 0, 64, message(0xB1, 10, 64)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.slider);
        QSlider* control = slider(mixer, c.slider);
        control->setValue(c.moveTo);
        recorder->clearMessages();
        QTest::mouseDClick(control, Qt::LeftButton);
        EXPECT_EQ(control->value(), c.fileValue);
        EXPECT_EQ(sentMessages().value(sentMessages().size() - 1), c.sentOnReturn);
    }

    // "Controls" has a controller but no note, so no channel to send on.
    TMidiTrack* controls = main.MidiFile1->TrackAt(3);
    ASSERT_EQ(controls->Channel(), 0);
    recorder->clearMessages();
    slider(mixer, "tBarVolume3")->setValue(100);
    slider(mixer, "tBarBalance3")->setValue(5);
    EXPECT_TRUE(sentMessages().isEmpty());
    EXPECT_EQ(main.session().track(3).volume, 27);
    EXPECT_EQ(main.session().track(3).pan, 5);
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

TEST_F(MixerWindowTest, ASliderThatCannotSendReportsTheErrorAndShowsTheTracksValueAgain)
{
    TfrmMain& main = load("satb.mid", choirSong({"Soprano", "Alto"}));
    TfrmMixer* mixer = openMixer(main);
    ASSERT_NE(mixer, nullptr);
    main.CloseMidiOutput();
    QSlider* volume = slider(mixer, "tBarVolume1");
    volume->setValue(0);
    EXPECT_EQ(errors.size(), 1);
    EXPECT_EQ(main.session().track(1).volume, 100);
    EXPECT_EQ(volume->value(), 27);
}

TEST_F(MixerWindowTest, FormatZeroSongGivesOneColumnAndNoSliderHasTheFocus)
{
    SmfWriter song;
    song.header(0, 1, 480);
    song.beginTrack()
        .noteOn(0, 0, 60, 100)
        .noteOn(0, 1, 64, 100)
        .noteOff(480, 0, 60)
        .noteOff(0, 1, 64)
        .endOfTrack()
        .endTrack();
    TfrmMain& main = load("single.mid", song.bytes());
    TfrmMixer* mixer = openMixer(main);
    ASSERT_NE(mixer, nullptr);
    EXPECT_EQ(objectNames(mixer->volumeSliders()), QStringList({"tBarVolume0"}));
    EXPECT_EQ(mixer->width(), 60);
    EXPECT_EQ(mixer->findChild<QLabel*>("lblName0")->text(), "Track 1") << "an unnamed track";
    EXPECT_FALSE(qobject_cast<QSlider*>(mixer->focusWidget()));
}

TEST_F(MixerWindowTest, NamesAreShownInTheSongsEncodingLikeTheTrackPanels)
{
    SmfWriter song;
    song.header(1, 1, 480);
    song.beginTrack()
        .meta(0, SmfWriter::TrackName, QByteArray("S\xc3\xa4ngerin")) // "Sängerin" in UTF-8
        .noteOn(0, 0, 60, 100)
        .noteOff(480, 0, 60)
        .endOfTrack()
        .endTrack();
    TfrmMain& main = load("utf8-name.mid", song.bytes());
    TfrmMixer* mixer = openMixer(main);
    ASSERT_NE(mixer, nullptr);
    const QString shown = QString::fromUtf8("S\xc3\xa4ngerin");
    EXPECT_EQ(mixer->findChild<QLabel*>("lblName0")->toolTip(), shown);
    EXPECT_EQ(mixer->findChild<QLabel*>("lblName0")->text(), shown);
}

TEST_F(MixerWindowTest, HelpKeyOpensTheMixersPageAndEscapeClosesTheMixerWhichKeepsItsPlace)
{
    TfrmMain& main = load("satb.mid", choirSong({"Soprano", "Alto"}));
    TfrmMixer* mixer = openMixer(main);
    ASSERT_NE(mixer, nullptr);
    QTest::keyClick(slider(mixer, "tBarVolume1"), Qt::Key_F1);
    auto* viewer = main.findChild<THelpViewer*>();
    ASSERT_NE(viewer, nullptr) << "the help window belongs to the main window";
    EXPECT_EQ(viewer->browser()->source(), THelpViewer::pageOfContext(HelpContext::TrackMixer));
    EXPECT_TRUE(viewer->browser()->toPlainText().contains("track mixer"));
    mixer->move(30, 40);
    QPointer<TfrmMixer> watched(mixer);

    QTest::keyClick(slider(mixer, "tBarVolume1"), Qt::Key_Escape);
    EXPECT_EQ(main.mixerWindow(), nullptr) << "forgotten as soon as it closes";
    flushDeletes();
    EXPECT_TRUE(watched.isNull()) << "it frees itself";
    EXPECT_TRUE(sentMessages().isEmpty());

    TSettingsStore store(CURRENT_USER);
    ASSERT_TRUE(store.openKey(QStringLiteral("Software\\Harmonet\\MixerForm"), false));
    EXPECT_EQ(store.readString("Top"), "40");
    EXPECT_EQ(store.readString("Left"), "30");
    EXPECT_EQ(store.readString("Width"), "108");

    TfrmMixer* again = openMixer(main);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->pos(), QPoint(30, 40));
}

TEST_F(MixerWindowTest, APlaceOffTheScreenIsReplacedByTheCentre)
{
    TSettingsStore store(CURRENT_USER);
    ASSERT_TRUE(store.openKey(QStringLiteral("Software\\Harmonet\\MixerForm"), true));
    store.writeString("Left", "100000");
    store.writeString("Top", "10");
    ASSERT_TRUE(store.flush());
    TfrmMain& main = load("satb.mid", choirSong({"Soprano", "Alto"}));
    TfrmMixer* mixer = openMixer(main);
    ASSERT_NE(mixer, nullptr);
    const QRect screen = mixer->screen()->geometry();
    EXPECT_EQ(mixer->x(), (screen.width() - mixer->width()) / 2);
    EXPECT_EQ(mixer->y(), (screen.height() - mixer->height()) / 2);
}

TEST_F(MixerWindowTest, TheCommandsNeedAFileAndClosingOrReplacingTheFileClosesTheMixer)
{
    TfrmMain& main = showWindow();
    EXPECT_FALSE(main.sbMixer->isEnabled());
    EXPECT_FALSE(main.TrackMixer1->isEnabled());
    main.TrackMixer1->trigger();
    EXPECT_EQ(main.mixerWindow(), nullptr);

    main.CurrentFileName = writeFile("satb.mid", choirSong({"Soprano", "Alto"}));
    main.LoadMidiFile();
    main.TrackMixer1->trigger();
    QWidget* first = main.mixerWindow();
    ASSERT_NE(first, nullptr);
    main.TrackMixer1->trigger();
    EXPECT_EQ(main.mixerWindow(), first) << "one mixer at a time";

    main.CurrentFileName = writeFile("trio.mid", choirSong({"Soprano", "Alto", "Tenor"}));
    main.LoadMidiFile();
    EXPECT_EQ(main.mixerWindow(), nullptr);
    main.TrackMixer1->trigger();
    ASSERT_NE(main.mixerWindow(), nullptr);
    EXPECT_EQ(qobject_cast<TfrmMixer*>(main.mixerWindow())->volumeSliders().size(), 3) << "built for the new song";

    main.Close1->trigger();
    EXPECT_EQ(main.mixerWindow(), nullptr);
    EXPECT_FALSE(main.TrackMixer1->isEnabled());

    main.CurrentFileName = writeFile("satb.mid", choirSong({"Soprano", "Alto"}));
    main.LoadMidiFile();
    main.TrackMixer1->trigger();
    ASSERT_NE(main.mixerWindow(), nullptr);
    main.close();
    EXPECT_EQ(main.mixerWindow(), nullptr) << "closing the main window closes the mixer";
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

TEST_F(MixerWindowTest, ManyTracksScrollSidewaysInsideTheScreen)
{
    SmfWriter song;
    song.header(1, 30, 480);
    for (int i = 0; i < 30; ++i) {
        song.beginTrack().noteOn(0, i % 16, 60, 100).noteOff(480, i % 16, 60).endOfTrack().endTrack();
    }
    TfrmMain& main = load("tutti.mid", song.bytes());
    TfrmMixer* mixer = openMixer(main);
    ASSERT_NE(mixer, nullptr);
    EXPECT_EQ(mixer->volumeSliders().size(), 30);
    const QRect screen = mixer->screen()->geometry();
    EXPECT_LE(mixer->x() + mixer->width(), screen.right() + 1);
    EXPECT_GE(mixer->x(), 0);
    QScrollBar* sideways = mixer->ScrollBox1()->horizontalScrollBar();
    EXPECT_GT(sideways->maximum(), 0);
    QSlider* last = mixer->volumeSliders().constLast();
    EXPECT_GE(mixer->ScrollBox1()->viewport()->height(), last->parentWidget()->geometry().bottom())
        << "the scroll bar does not cover the columns";

    // Track 0 plays here too, so the focus starts in the second column; Shift+Tab
    // back through the first goes round to the last column, which scrolls into view.
    ASSERT_EQ(mixer->focusWidget(), mixer->volumeSliders().value(1));
    ASSERT_EQ(sideways->value(), 0);
    for (int step = 0; step < 3; ++step) {
        QTest::keyClick(mixer->focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    }
    EXPECT_EQ(mixer->focusWidget(), mixer->balanceSliders().constLast());
    EXPECT_EQ(sideways->value(), sideways->maximum());
}

TEST_F(MixerWindowTest, TheAltoLoweredWhilePlayingReplacesTheSongsVolumeUntilTheMixerCloses)
{
    const QString song = sourceDir() + QStringLiteral("/examples/old-hundredth.mid");
    TfrmMain& main = showWindow({song});
    ASSERT_TRUE(main.session().fileLoaded());
    ManualClock clock;
    main.MidiFile1->SetClock(&clock);
    auto playFor = [&](int ms) {
        clock.advanceMs(ms);
        main.MidiFile1->Tick();
    };
    auto fromTheStart = [&] {
        main.tbPosition->setValue(0);
        main.tbPositionChanged();
        recorder->clearMessages();
        playFor(50);
    };
    const QByteArray songsAltoVolume = message(0xB1, 7, 100);
    const QByteArray loweredAlto = message(0xB1, 7, 20);

    main.Play1->trigger();
    playFor(2000);
    TfrmMixer* mixer = openMixer(main);
    ASSERT_NE(mixer, nullptr);
    recorder->clearMessages();
    slider(mixer, "tBarVolume2")->setValue(127 - 20);
    EXPECT_EQ(sentMessages(), QList<QByteArray>({loweredAlto}));

    fromTheStart();
    EXPECT_TRUE(sentMessages().contains(loweredAlto));
    EXPECT_FALSE(sentMessages().contains(songsAltoVolume));
    EXPECT_TRUE(sentMessages().contains(message(0xB0, 7, 100))) << "the soprano keeps the song's";

    mixer->close();
    fromTheStart();
    EXPECT_TRUE(sentMessages().contains(songsAltoVolume));
    EXPECT_FALSE(sentMessages().contains(loweredAlto));
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

} // namespace harmonet::test
