// The load error dialog: its fixed layout and texts, and how each way of
// closing it answers.
#include "windows/UDLoadErr.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <functional>

using namespace harmonet;

namespace {

TEST(LoadErrorDialog, FixedCentredLayoutWithItsTexts)
{
    TdlgLoadError dialog;
    EXPECT_EQ(dialog.objectName(), "dlgLoadError");
    EXPECT_EQ(dialog.windowTitle(), "Error Loading File...");
    EXPECT_EQ(dialog.size(), QSize(277, 118));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize()) << "fixed size";
    EXPECT_FALSE(dialog.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(dialog.windowFlags() & Qt::WindowCloseButtonHint);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(dialog.geometry().center(), QRect(screen.topLeft(), QSize(277, 118)).translated(
                                              (screen.width() - 277) / 2, (screen.height() - 118) / 2).center());

    EXPECT_EQ(dialog.pnlLoadError->geometry(), QRect(7, 7, 263, 74));
    EXPECT_EQ(dialog.Image1->geometry(), QRect(7, 9, 32, 32));
    EXPECT_EQ(dialog.Image1->pixmap().size(), QSize(32, 32));
    EXPECT_TRUE(dialog.Image1->pixmap().toImage().hasAlphaChannel()) << "drawn on a transparent ground";
    EXPECT_EQ(dialog.lblReportFile->text(), "Midi file not found");
    EXPECT_EQ(dialog.lblReportFile->font().pixelSize(), 19);
    EXPECT_EQ(dialog.lblLoadAnother->text(), "Load another one now?");
    EXPECT_TRUE(dialog.lblLoadAnother->font().bold());
    EXPECT_EQ(dialog.btnOk->text(), "&Ok");
    EXPECT_EQ(dialog.btnOk->geometry(), QRect(57, 88, 75, 25));
    EXPECT_TRUE(dialog.btnOk->isDefault());
    EXPECT_EQ(dialog.btnCancel->text(), "&Cancel");
    EXPECT_EQ(dialog.btnCancel->geometry(), QRect(145, 88, 75, 25));
}

TEST(LoadErrorDialog, EachWayOfClosingGivesItsAnswer)
{
    struct Case {
        const char* what;
        std::function<void(TdlgLoadError&)> answer;
        int expected;
    };
    const QList<Case> cases = {
        {"Enter", [](TdlgLoadError& d) { QTest::keyClick(&d, Qt::Key_Return); }, QDialog::Accepted},
        {"Ok", [](TdlgLoadError& d) { QTest::mouseClick(d.btnOk, Qt::LeftButton); }, QDialog::Accepted},
        {"Alt+O", [](TdlgLoadError& d) { QTest::keyClick(&d, Qt::Key_O, Qt::AltModifier); }, QDialog::Accepted},
        {"Cancel", [](TdlgLoadError& d) { QTest::mouseClick(d.btnCancel, Qt::LeftButton); }, QDialog::Rejected},
        {"the close box", [](TdlgLoadError& d) { d.close(); }, QDialog::Rejected},
        {"Escape", [](TdlgLoadError& d) { QTest::keyClick(&d, Qt::Key_Escape); }, QDialog::Rejected},
    };
    for (const Case& c : cases) {
        TdlgLoadError dialog;
        QTimer::singleShot(0, &dialog, [&] {
            dialog.activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
            c.answer(dialog);
        });
        QTimer::singleShot(5000, &dialog, [&] { dialog.done(-1); });
        EXPECT_EQ(dialog.exec(), c.expected) << c.what;
    }
}

} // namespace
