// The load error dialog: its fixed layout and texts, and how each way of
// closing it answers.
#include "windows/UDLoadErr.h"

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

TEST(LoadErrorDialog, FixedCentredWindowWithItsTexts)
{
    TdlgLoadError dialog;
    EXPECT_EQ(dialog.windowTitle(), "Error Loading File...");
    EXPECT_EQ(dialog.size(), QSize(277, 118));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize()) << "fixed size";
    EXPECT_FALSE(dialog.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(dialog.windowFlags() & Qt::WindowCloseButtonHint);
    const QPoint middle = QGuiApplication::primaryScreen()->geometry().center();
    EXPECT_LE((dialog.geometry().center() - middle).manhattanLength(), 2) << "centred on the screen";

    EXPECT_FALSE(dialog.Image1->pixmap().isNull());
    EXPECT_EQ(dialog.lblReportFile->text(), "Midi file not found");
    EXPECT_EQ(dialog.lblLoadAnother->text(), "Load another one now?");
    EXPECT_TRUE(dialog.btnOk->isDefault());
    for (const QLabel* label : {dialog.lblReportFile, dialog.lblLoadAnother}) {
        EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width())
            << label->objectName().toStdString() << " shows its whole text";
    }
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
