// The track panels: mute and lyrics buttons, tooltips, and choosing an
// instrument through the popup of the 128 programs.
#include "tests/player/PlayerFixture.h"

#include "player/ControlTags.h"
#include "player/Panel.h"
#include "sequencer/MidiFile.h"
#include "windows/InstrumentMenu.h"

#include <QAction>
#include <QCheckBox>
#include <QMouseEvent>
#include <QTest>
#include <QToolButton>

namespace harmonet::test {
namespace {

const QColor Yellow(255, 255, 0);

TPanel* panel(TfrmMain& main, const QString& name)
{
    return main.findChild<TPanel*>(name);
}

QAction* instrumentItem(TfrmMain& main, int program)
{
    return main.pmInstruments->findChild<QAction*>(QStringLiteral("Midi%1").arg(program));
}

TEST_F(PlayerTest, MuteButtonTogglesItsLookAndTheTrackFlag)
{
    TfrmMain& main = showWindow({writeFile("satb.mid", choirSong({"S", "A", "T", "B"}))});
    TPanel* mute = panel(main, "pnlMute2");
    recorder->clearMessages(); // loading stops playback, which silences every channel
    const TrackSettings& alto = main.session().track(2);

    QTest::mouseClick(mute, Qt::LeftButton);
    EXPECT_EQ(mute->color(), Yellow);
    EXPECT_EQ(mute->bevel(), TPanel::Bevel::Lowered);
    EXPECT_TRUE(alto.muted);
    EXPECT_FALSE(main.session().track(1).muted);
    EXPECT_EQ(sentMessages(), QList<QByteArray>{QByteArray("\xB1\x7B\x00", 3)})
        << "All Notes Off on the alto's channel at the click";
    recorder->clearMessages();

    QTest::mouseClick(mute, Qt::LeftButton);
    EXPECT_EQ(mute->color(), QPalette().color(QPalette::Button));
    EXPECT_EQ(mute->bevel(), TPanel::Bevel::Raised);
    EXPECT_FALSE(alto.muted);
    EXPECT_TRUE(sentMessages().isEmpty()) << "unmuting sends nothing: the next notes sound";
}

TEST_F(PlayerTest, MuteStaysWithThePanelPlaceAcrossLoads)
{
    TfrmMain& main = showWindow({writeFile("first.mid", choirSong({"S", "A", "T", "B"}))});
    QTest::mouseClick(panel(main, "pnlMute3"), Qt::LeftButton);
    main.CurrentFileName = writeFile("second.mid", choirSong({"Melody", "Harmony", "Bass"}));
    main.LoadMidiFile();
    EXPECT_TRUE(main.session().track(3).muted) << "the third panel's new track";
    EXPECT_FALSE(main.session().track(1).muted);
    EXPECT_FALSE(main.session().track(2).muted);
}

TEST_F(PlayerTest, LyricsButtonSelectsOneTrack)
{
    TfrmMain& main = showWindow({writeFile("satb.mid", choirSong({"S", "A", "T", "B"}))});
    EXPECT_EQ(main.LyricTrack, 1) << "the first bound track after a load";
    EXPECT_EQ(panel(main, "pLyrics1")->bevel(), TPanel::Bevel::Lowered);

    QTest::mouseClick(panel(main, "pLyrics3"), Qt::LeftButton);
    EXPECT_EQ(main.LyricTrack, 3);
    TPanel* chosen = panel(main, "pLyrics3");
    EXPECT_EQ(chosen->color(), QColor(128, 128, 0));
    EXPECT_EQ(chosen->textColor(), QColor(Qt::white));
    TPanel* previous = panel(main, "pLyrics1");
    EXPECT_EQ(previous->bevel(), TPanel::Bevel::Raised);
    EXPECT_EQ(previous->textColor(), QColor(Qt::black));
}

TEST_F(PlayerTest, PanelTooltipShowsItsCaptionAndNoMenuWithoutShowInstruments)
{
    TfrmMain& main = showWindow({writeFile("long.mid", choirSong({"A rather long name for the tenor voice"}))});
    TPanel* first = main.TrackPanels[0];
    QMouseEvent move(QEvent::MouseMove, QPointF(20, 10), first->mapToGlobal(QPointF(20, 10)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(first, &move);
    EXPECT_EQ(first->toolTip(), "A rather long name for the tenor voice");

    QTest::mouseClick(first, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_FALSE(main.pmInstruments->isVisible());
    EXPECT_EQ(main.cbInstruments->toolTip(), "");
}

TEST_F(PlayerTest, ShowInstrumentsSwitchesCaptionsAndHint)
{
    TfrmMain& main = showWindow({writeFile("satb.mid", choirSong({"Soprano", "Alto"}))});
    QTest::mouseClick(main.cbInstruments, Qt::LeftButton);
    EXPECT_TRUE(main.cbInstruments->isChecked());
    EXPECT_EQ(main.cbInstruments->toolTip(), "Click Track to change Instrument");
    EXPECT_EQ(main.TrackPanels[0]->caption(), "Church Organ");

    main.Instruments1->trigger();
    EXPECT_FALSE(main.cbInstruments->isChecked());
    EXPECT_EQ(main.TrackPanels[0]->caption(), "Soprano");
    EXPECT_EQ(main.cbInstruments->toolTip(), "");
}

TEST_F(PlayerTest, ChoosingAnInstrumentSendsItsProgramOnTheTrackChannel)
{
    TfrmMain& main = showWindow({writeFile("satb.mid", choirSong({"S", "A", "T"}))});
    recorder->clearMessages(); // loading stops playback, which silences every channel
    main.Instruments1->trigger();
    TPanel* tenor = main.TrackPanels[2];
    QTest::mouseClick(tenor, Qt::LeftButton, {}, QPoint(20, 10));
    ASSERT_TRUE(main.pmInstruments->isVisible());
    EXPECT_TRUE(instrumentItem(main, 19)->isChecked()) << "the current instrument, Church Organ";

    instrumentItem(main, 52)->trigger();
    EXPECT_FALSE(main.pmInstruments->isVisible());
    EXPECT_EQ(sentMessages(), QList<QByteArray>{QByteArray("\xC2\x34", 2)});
    EXPECT_EQ(main.session().track(3).instrument, "Choir Aahs");
    EXPECT_EQ(main.session().track(3).program(), 52);
    EXPECT_EQ(tenor->caption(), "Choir Aahs");

    QTest::mouseClick(tenor, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_TRUE(instrumentItem(main, 52)->isChecked());
    EXPECT_FALSE(instrumentItem(main, 19)->isChecked());
    main.pmInstruments->hide();
}

TEST_F(PlayerTest, TrackWithoutChannelRecordsTheInstrumentAndSendsNothing)
{
    SmfWriter song;
    song.header(1, 1, 96);
    song.beginTrack().meta(0, SmfWriter::TrackName, "Controls").controlChange(0, 4, 7, 100).endOfTrack().endTrack();
    TfrmMain& main = showWindow({writeFile("controls.mid", song.bytes())});
    TMidiTrack* track = main.MidiFile1->TrackAt(0);
    ASSERT_EQ(track->Channel(), 0);
    recorder->clearMessages(); // loading stops playback, which silences every channel

    main.session().setInstrument(0, 40);
    EXPECT_TRUE(sentMessages().isEmpty());
    EXPECT_EQ(main.session().track(0).instrument, "Violin");
}

TEST_F(PlayerTest, InstrumentOnAClosedOutputIsReportedAndNotRecorded)
{
    TfrmMain& main = showWindow({writeFile("satb.mid", choirSong({"S"}))});
    main.CloseMidiOutput();
    main.Instruments1->trigger();
    QTest::mouseClick(main.TrackPanels[0], Qt::LeftButton, {}, QPoint(20, 10));
    instrumentItem(main, 73)->trigger();
    EXPECT_EQ(errors, QStringList{"MIDI Output device not open"});
    EXPECT_EQ(main.session().track(1).instrument, "Church Organ");
}

TEST_F(PlayerTest, InstrumentMenuHoldsTheProgramsInFourColumns)
{
    TfrmMain& main = createWindow();
    ASSERT_EQ(main.pmInstruments->items().size(), 128);
    EXPECT_EQ(instrumentItem(main, 0)->text(), "Acoustic Grand Piano");
    EXPECT_EQ(instrumentItem(main, 127)->text(), "Gunshot");
    EXPECT_EQ(tagOf(instrumentItem(main, 96)), 96);
    main.pmInstruments->popup(QPoint(0, 0));
    const QRect first = main.pmInstruments->findChildren<QToolButton*>().at(0)->geometry();
    const QRect thirtySecond = main.pmInstruments->findChildren<QToolButton*>().at(32)->geometry();
    EXPECT_EQ(thirtySecond.top(), first.top()) << "program 32 starts the second column";
    EXPECT_GT(thirtySecond.left(), first.left());
    main.pmInstruments->hide();
}

} // namespace
} // namespace harmonet::test
