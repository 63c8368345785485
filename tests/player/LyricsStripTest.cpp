// The scrolling lyrics of the main window: gathering the lyrics track, the
// strip at a position, the lyrics window's text, the verse menu and its
// jumps, and hiding and showing the strip.
#include "tests/player/PlayerFixture.h"

#include "player/Panel.h"
#include "player/RightAlignedLabel.h"
#include "sequencer/MidiFile.h"
#include "windows/Memo.h"
#include "windows/UnitLyrics.h"

#include <QAction>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSlider>
#include <QStatusBar>
#include <QTest>

namespace harmonet::test {
namespace {

using Syllables = QList<Syllable>;

const Syllables TwoVerses = {{0, "1."}, {240, "Glo"}, {480, "ry "}, {960, "2."}, {1200, "Praise"}};

QStringList stripTexts(const TfrmMain& main)
{
    return {main.pnlLyrics->caption(), main.lblLyrics->text(), main.pnlLyrics2->caption()};
}

QString lyricsWindowText(const TfrmMain& main)
{
    return main.LyricsWindow()->memoLyrics()->toPlainText();
}

QList<bool> verseItemsEnabled(TfrmMain& main)
{
    emit main.pmPosition->aboutToShow();
    QList<bool> enabled;
    for (QAction* item : main.pmPosition->actions()) {
        enabled.append(item->isEnabled());
    }
    return enabled;
}

QAction* verseItem(TfrmMain& main, int verse)
{
    return main.pmPosition->findChild<QAction*>(QStringLiteral("Verse%1").arg(verse));
}

TEST_F(PlayerTest, LoadingGathersTheFirstTracksLyricsIntoVersesAndTheLyricsWindow)
{
    TfrmMain& main = showWindow({writeFile("glory.mid", lyricSong(TwoVerses))});
    EXPECT_EQ(main.LyricTexts(), QStringList({"1.", "Glo", "ry ", "2.", "Praise"}));
    EXPECT_EQ(main.LyricTimes(), QList<qint32>({0, 240, 480, 960, 1200}));
    EXPECT_EQ(main.VerseCount, 2);
    EXPECT_EQ(lyricsWindowText(main), "1.Glory \n\n2.Praise") << "an empty line before the second verse";
    EXPECT_EQ(stripTexts(main), QStringList({"1.", "1.", "Glory 2.Praise"}))
        << "at 0 the first syllable is highlighted and the rest stands to its right";
    EXPECT_EQ(main.tbPosition->pageStep(), main.tbPosition->maximum() / 2);
}

TEST_F(PlayerTest, ChoosingATrackWithoutLyricsLeavesNoVersesAndABlankStrip)
{
    TfrmMain& main = showWindow({writeFile("glory.mid", lyricSong(TwoVerses))});
    QTest::mouseClick(main.findChild<TPanel*>(QStringLiteral("pLyrics2")), Qt::LeftButton);
    EXPECT_EQ(main.LyricTrack, 2);
    EXPECT_TRUE(main.LyricTexts().isEmpty());
    EXPECT_EQ(main.VerseCount, 0);
    EXPECT_EQ(main.tbPosition->pageStep(), main.tbPosition->maximum());
    EXPECT_EQ(main.tbPosition->singleStep(), main.tbPosition->maximum());
    EXPECT_EQ(lyricsWindowText(main), "");
    EXPECT_EQ(stripTexts(main), QStringList({"", "", ""}));
    EXPECT_EQ(verseItemsEnabled(main), QList<bool>(6, false));
}

TEST_F(PlayerTest, LyricsWithoutVerseMarkersAreOneVerseStartingAtZero)
{
    TfrmMain& main = showWindow({writeFile("round.mid", lyricSong({{0, "Dona "}, {480, "nobis"}}))});
    EXPECT_EQ(main.VerseCount, 1);
    EXPECT_EQ(lyricsWindowText(main), "Dona nobis");
    EXPECT_EQ(verseItemsEnabled(main), QList<bool>({true, false, false, false, false, false}));
    main.tbPosition->setValue(700);
    verseItem(main, 1)->trigger();
    EXPECT_EQ(main.tbPosition->value(), 0);
    EXPECT_EQ(stripTexts(main), QStringList({"Dona ", "Dona ", "nobis"}));
}

TEST_F(PlayerTest, ThreeVersesInNinetySecondsJumpByThirds)
{
    // 86 400 ticks at 480 a quarter and 120 bpm last 90 000 ms; 28 800 ticks are 30 000 ms.
    const Syllables verses = {{0, "1.Now"}, {28800, "2.All"}, {57600, "3.Praise"}};
    TfrmMain& main = showWindow({writeFile("hymn.mid", lyricSong(verses, 86400))});
    ASSERT_EQ(main.tbPosition->maximum(), 90000);
    EXPECT_EQ(main.VerseCount, 3);
    EXPECT_EQ(main.tbPosition->pageStep(), 30000);
    EXPECT_EQ(verseItemsEnabled(main), QList<bool>({true, true, true, false, false, false}));

    verseItem(main, 2)->trigger();
    EXPECT_EQ(main.tbPosition->value(), 30000);
    EXPECT_EQ(stripTexts(main), QStringList({"1.Now2.All", "2.All", "3.Praise"}));
    EXPECT_EQ(main.tbPosition->toolTip(), "0:30");

    verseItem(main, 3)->trigger();
    EXPECT_EQ(main.tbPosition->value(), 60000);
    EXPECT_EQ(main.LyricAt(main.NextLyricTime(main.tbPosition->value())), "3.Praise");
    EXPECT_EQ(main.lblLyrics->text(), "3.Praise");

    verseItem(main, 1)->trigger();
    EXPECT_EQ(main.tbPosition->value(), 0);
    EXPECT_EQ(main.lblLyrics->text(), "1.Now");
}

TEST_F(PlayerTest, SevenVersesEnableAllSixItemsAndStepBySevenths)
{
    Syllables verses;
    for (int v = 1; v <= 7; ++v) {
        verses.append({(v - 1) * 960, QByteArray::number(v) + ".la"});
    }
    TfrmMain& main = showWindow({writeFile("seven.mid", lyricSong(verses, 7 * 960))});
    EXPECT_EQ(main.VerseCount, 7);
    EXPECT_EQ(main.pmPosition->actions().size(), 6);
    EXPECT_EQ(verseItemsEnabled(main), QList<bool>(6, true));
    const int step = main.tbPosition->maximum() / 7;
    EXPECT_EQ(main.tbPosition->pageStep(), step);
    verseItem(main, 6)->trigger();
    EXPECT_EQ(main.tbPosition->value(), 5 * step);
}

TEST_F(PlayerTest, APositionAfterTheLastSyllableLeavesTheStripAlone)
{
    TfrmMain& main = showWindow({writeFile("glory.mid", lyricSong(TwoVerses))});
    main.tbPosition->setValue(1000); // 960 ticks: the second verse marker
    const QStringList atSecondVerse = stripTexts(main);
    EXPECT_EQ(atSecondVerse, QStringList({"1.Glory 2.", "2.", "Praise"}));
    main.tbPosition->setValue(main.tbPosition->maximum());
    EXPECT_EQ(stripTexts(main), atSecondVerse);
}

TEST_F(PlayerTest, Utf8AndLatin1LyricsShowTheSameLetters)
{
    TfrmMain& main = showWindow({writeFile("kyrie.mid", lyricSong({{0, "Ky\xC3\xA9"}, {480, "ri\xE9"}}))});
    EXPECT_EQ(main.LyricTexts(), QStringList({QStringLiteral("Ky\u00E9"), QStringLiteral("ri\u00E9")}));
    EXPECT_EQ(main.lblLyrics->text(), QStringLiteral("Ky\u00E9"));
    EXPECT_EQ(main.pnlLyrics2->caption(), QStringLiteral("ri\u00E9"));
}

TEST_F(PlayerTest, LineBreaksOfTheSyllablesKeepTheStripOnOneLine)
{
    TfrmMain& main = showWindow({writeFile("psalm.mid", lyricSong({{0, "Sing"}, {480, "\r\nto "}, {960, "\rthe"}}))});
    main.tbPosition->setValue(500);
    EXPECT_EQ(stripTexts(main), QStringList({"Singto ", "to ", "the"}));
    EXPECT_EQ(main.LyricsAfter(480), "\rthe") << "the text itself keeps them";
    EXPECT_EQ(lyricsWindowText(main), "Sing\nto \nthe");
}

TEST_F(PlayerTest, HidingTheStripShrinksTheWindowAndShowingRestoresIt)
{
    TfrmMain& main = showWindow();
    const int fullHeight = main.height();
    ASSERT_EQ(main.FullHeight, fullHeight);
    ASSERT_TRUE(main.ScrollingLyrics1->isEnabled()) << "usable without a file";

    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    QTest::keyClick(&main, Qt::Key_F3);
    EXPECT_FALSE(main.ScrollingLyrics1->isChecked());
    EXPECT_FALSE(main.pnlScrollingLyrics->isVisible());
    EXPECT_EQ(main.height(), fullHeight - 32);

    main.ScrollingLyrics1->trigger();
    EXPECT_TRUE(main.ScrollingLyrics1->isChecked());
    EXPECT_TRUE(main.pnlScrollingLyrics->isVisible());
    EXPECT_EQ(main.height(), fullHeight);
    const QRect strip(main.pnlScrollingLyrics->mapTo(&main, QPoint(0, 0)), main.pnlScrollingLyrics->size());
    EXPECT_EQ(strip.bottom() + 1, main.statusBar()->geometry().top()) << "the strip sits on the status bar";
}

} // namespace
} // namespace harmonet::test
