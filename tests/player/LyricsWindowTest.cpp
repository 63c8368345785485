// The lyrics window: its keys, its menu (copy, font, close), its place and
// the text it keeps while hidden.
#include "tests/player/PlayerFixture.h"

#include "windows/Memo.h"
#include "windows/UnitLyrics.h"
#include "windows/UnitSettings.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QTest>

namespace harmonet::test {
namespace {

const QString LyricsKey = QStringLiteral("Software\\Harmonet\\LyricsForm");


class LyricsWindowTest : public PlayerTest {
protected:
    static void storeLyricsFormValue(const QString& name, const QString& value) { storeValue(LyricsKey, name, value); }

    TfrmLyrics& lyricsWithText(const QStringList& lines)
    {
        showWindow();
        TfrmLyrics& lyrics = *window->LyricsWindow();
        lyrics.SetLines(lines);
        lyrics.show();
        lyrics.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&lyrics));
        lyrics.memoLyrics()->setFocus();
        return lyrics;
    }
};

TEST_F(LyricsWindowTest, ControlAWithAnyOtherModifierSelectsAllAndAloneTypesALetter)
{
    struct Case {
        Qt::KeyboardModifiers modifiers;
        bool selectsAll;
    };
    for (const Case& c : {Case{Qt::ControlModifier, true}, Case{Qt::ControlModifier | Qt::ShiftModifier, true},
                          Case{Qt::ControlModifier | Qt::AltModifier, true}, Case{Qt::NoModifier, false}}) {
        SCOPED_TRACE(int(c.modifiers));
        TfrmLyrics& lyrics = lyricsWithText({QStringLiteral("All people"), QStringLiteral("that on earth")});
        TMemo* memo = lyrics.memoLyrics();
        QTest::keyClick(memo, Qt::Key_A, c.modifiers);
        const QString whole = QStringLiteral("All people\u2029that on earth");
        if (c.selectsAll) {
            EXPECT_EQ(memo->textCursor().selectedText(), whole);
            EXPECT_EQ(memo->toPlainText(), QStringLiteral("All people\nthat on earth"));
        } else {
            EXPECT_EQ(memo->toPlainText(), QStringLiteral("aAll people\nthat on earth"));
        }
        window.reset();
    }
}

TEST_F(LyricsWindowTest, EscapeHidesAndTheTextStaysForTheNextShowing)
{
    TfrmLyrics& lyrics = lyricsWithText({QStringLiteral("1. Praise God")});
    QTest::keyClicks(lyrics.memoLyrics(), QStringLiteral("!"));
    QTest::keyClick(lyrics.memoLyrics(), Qt::Key_Escape);
    EXPECT_FALSE(lyrics.isVisible());
    EXPECT_TRUE(window->isVisible());
    lyrics.show();
    EXPECT_TRUE(lyrics.isVisible());
    EXPECT_EQ(lyrics.memoLyrics()->toPlainText(), QStringLiteral("!1. Praise God"));
}

TEST_F(LyricsWindowTest, CopyPutsTheWholeTextOnTheClipboardAndKeepsItAfterHiding)
{
    TfrmLyrics& lyrics = lyricsWithText({QStringLiteral("1. All people"), QString(), QStringLiteral("2. The Lord")});
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    lyrics.CopytoClipboard1->trigger();
    EXPECT_FALSE(lyrics.memoLyrics()->textCursor().hasSelection()) << "the selection is removed again";
    lyrics.Close1->trigger();
    EXPECT_FALSE(lyrics.isVisible());
    QClipboard* clipboard = QGuiApplication::clipboard();
    EXPECT_EQ(clipboard->text(), QStringLiteral("1. All people\n\n2. The Lord"));
    EXPECT_FALSE(clipboard->mimeData()->hasHtml()) << "plain text only";
    if (clipboard->supportsSelection()) {
        EXPECT_EQ(clipboard->text(QClipboard::Selection), QStringLiteral("1. All people\n\n2. The Lord"));
    }
}

TEST_F(LyricsWindowTest, MenuItemsInOrderWithCloseAsTheDefault)
{
    TfrmLyrics& lyrics = lyricsWithText({});
    QStringList items;
    for (const QAction* item : lyrics.PopupMenu1->actions()) {
        items.append(item->isSeparator() ? QStringLiteral("-") : item->text());
    }
    EXPECT_EQ(items, (QStringList{"Close", "-", "Copy to Clipboard", "-", "Change Display Font..."}));
    EXPECT_EQ(lyrics.PopupMenu1->defaultAction(), lyrics.Close1);
}

TEST_F(LyricsWindowTest, ChangeDisplayFontShowsTheSettingsModallyOrReportsThatItIsOpen)
{
    TfrmLyrics& lyrics = lyricsWithText({QStringLiteral("words")});
    TfrmSettings& settings = *window->SettingsWindow();
    bool wasModal = false;
    whenModal<TfrmSettings>([&](TfrmSettings* modal) {
        wasModal = modal->isModal();
        modal->btnCancel->click();
    });
    lyrics.ChangeDisplayFont1->trigger();
    EXPECT_TRUE(wasModal);
    EXPECT_FALSE(settings.isVisible());

    window->Settings1->trigger(); // now open without being modal
    lyrics.ChangeDisplayFont1->trigger();
    EXPECT_EQ(errors, QStringList{QStringLiteral("Cannot make a visible window modal")});
    EXPECT_TRUE(settings.isVisible());
    EXPECT_FALSE(settings.isModal());
}

TEST_F(LyricsWindowTest, StoredPlaceIsKeptWhenItFitsAndCentredWithItsSizeWhenNot)
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    struct Case {
        int top;
        int left;
        bool kept;
    };
    for (const Case& c : {Case{20, 30, true}, Case{screen.height() - 100, 30, false}, Case{20, screen.width(), false},
                          Case{-5, 30, false}}) {
        SCOPED_TRACE(testing::Message() << c.top << "," << c.left);
        storeLyricsFormValue(QStringLiteral("Top"), QString::number(c.top));
        storeLyricsFormValue(QStringLiteral("Left"), QString::number(c.left));
        storeLyricsFormValue(QStringLiteral("Width"), QStringLiteral("300"));
        storeLyricsFormValue(QStringLiteral("Height"), QStringLiteral("250"));
        createWindow();
        const TfrmLyrics& lyrics = *window->LyricsWindow();
        EXPECT_EQ(lyrics.size(), QSize(300, 250));
        if (c.kept) {
            EXPECT_EQ(lyrics.pos(), QPoint(c.left, c.top));
        } else {
            EXPECT_EQ(lyrics.geometry().center().x() / 2, screen.center().x() / 2);
            EXPECT_EQ(lyrics.geometry().center().y() / 2, screen.center().y() / 2);
        }
        window.reset();
    }
}

TEST_F(LyricsWindowTest, FirstRunSizeAndFont)
{
    createWindow();
    const TfrmLyrics& lyrics = *window->LyricsWindow();
    EXPECT_EQ(lyrics.size(), QSize(350, 400));
    EXPECT_EQ(lyrics.windowTitle(), QStringLiteral("Harmonet - Lyrics"));
    const TFont font = lyrics.memoLyrics()->memoFont();
    EXPECT_EQ(font.name(), QStringLiteral("MS Sans Serif"));
    EXPECT_EQ(font.size(), 8);
    EXPECT_EQ(font.color(), clWindowText);
}

} // namespace
} // namespace harmonet::test
