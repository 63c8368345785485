// Settings that cannot be saved: the window says so once and the program goes
// on with its settings in memory, my part included, leaving the file as it was.
#include "tests/player/PlayerFixture.h"

#include "player/PracticeMenus.h"
#include "tests/persist/ConfigHome.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>

namespace harmonet::test {
namespace {

QAction* myPartItem(TfrmMain& main, const QString& name)
{
    for (QAction* item : main.PracticeMenus1->MyPart1->actions()) {
        if (item->objectName() == name) {
            return item;
        }
    }
    ADD_FAILURE() << "no item " << name.toStdString();
    return main.PracticeMenus1->MyPartNone1;
}

TEST_F(PlayerTest, ReadOnlySettingsAreSaidOnceAndMyPartIsKeptForTheRun)
{
    const QFileDevice::Permissions readOnly = QFileDevice::ReadOwner | QFileDevice::ExeOwner;
    const QString hymn = writeFile("hymn.mid", choirSong({"Soprano", "Alto"}));
    const QString carol = writeFile("carol.mid", choirSong({"Tenor", "Bass"}));
    for (const bool lockFolder : {false, true}) {
        SCOPED_TRACE(lockFolder ? "a read-only folder" : "a read-only file");
        const ConfigHome home;
        home.writeSettings("[Software]\nHarmonet\\PracticeParts\\File1=\"0123|2;-12;0;left|/elsewhere/old.mid\"\n");
        const QByteArray stored = home.settingsBytes();
        const QString locked = lockFolder ? home.settingsFolder() : home.settingsFile();
        ASSERT_TRUE(QFile::setPermissions(locked, readOnly));

        TfrmMain& main = showWindow({hymn});
        EXPECT_TRUE(main.lblSettingsNotice->isVisible());
        EXPECT_EQ(main.lblSettingsNotice->text(), "Settings not saved");
        EXPECT_TRUE(main.lblSettingsNotice->toolTip().contains(QDir::toNativeSeparators(home.settingsFile())));

        myPartItem(main, "MyPartTrack2")->trigger();
        main.CurrentFileName = carol;
        main.LoadMidiFile();
        EXPECT_TRUE(main.PracticeMenus1->MyPartNone1->isChecked()) << "the other song has no part chosen";
        main.CurrentFileName = hymn;
        main.LoadMidiFile();
        EXPECT_TRUE(myPartItem(main, "MyPartTrack2")->isChecked()) << "my part of the song is kept for the run";
        EXPECT_TRUE(errors.isEmpty()) << "no message box: " << errors.join("; ").toStdString();
        window.reset();

        EXPECT_EQ(home.settingsBytes(), stored) << "what was stored stays as it was";
        QFile::setPermissions(locked, readOnly | QFileDevice::WriteOwner);
    }
}

} // namespace
} // namespace harmonet::test
