// The recent files in the main window: File > Reopen and the open button's
// right-click menu, their entries and maintenance items, and a missing file
// answered through the load error dialog.
#include "tests/player/PlayerFixture.h"

#include "windows/UDLoadErr.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QFileDialog>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTest>

namespace harmonet::test {
namespace {

// A menu as text: entries as their captions, separators as "-".
QStringList menuLayout(QMenu* menu)
{
    QStringList entries;
    for (QAction* action : menu->actions()) {
        entries.append(action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    return entries;
}

QAction* entryFor(QMenu* menu, const QString& path)
{
    for (QAction* action : menu->actions()) {
        if (!action->isSeparator() && action->data().toString() == path) {
            return action;
        }
    }
    return nullptr;
}

// Opens the open button's right-click menu as a right click does.
QMenu* openPopup(TfrmMain& main)
{
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(5, 5), main.btnLoad->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(main.btnLoad, &click);
    return main.pmReopen;
}

QStringList popupLayout(TfrmMain& main)
{
    const QStringList layout = menuLayout(openPopup(main));
    main.pmReopen->hide();
    return layout;
}

const QStringList Maintenance = {"-", "Remove Deleted Files", "Remove All"};

class RecentFilesTest : public PlayerTest {
protected:
    void load(TfrmMain& main, const QString& path)
    {
        main.CurrentFileName = path;
        main.LoadMidiFile();
    }
    QString song(const QString& name) { return writeFile(name, choirSong({"Soprano"})); }
    // Writes the songs and loads them in order; their paths, oldest first.
    QStringList loadSongs(TfrmMain& main, const QStringList& names)
    {
        QStringList paths;
        for (const QString& name : names) {
            paths.append(song(name));
            load(main, paths.constLast());
        }
        return paths;
    }
};

TEST_F(RecentFilesTest, WithoutEntriesReopenIsDisabledButThePopupOffersTheMaintenanceItems)
{
    TfrmMain& main = showWindow();
    EXPECT_FALSE(main.Reopen1->menuAction()->isEnabled());
    EXPECT_EQ(menuLayout(main.Reopen1), Maintenance);
    EXPECT_EQ(popupLayout(main), Maintenance);
}

TEST_F(RecentFilesTest, AnEntryLoadsItsWholePathEvenWithSpacesAndAmpersands)
{
    TfrmMain& main = showWindow();
    const QStringList paths = loadSongs(main, {"Rock & Roll Psalm 23.mid", "other.mid"});
    const QString &tricky = paths[0], &other = paths[1];
    const QString lastDir = main.LastDir;

    QAction* entry = entryFor(main.Reopen1, tricky);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->text(), "&2 " + QString(tricky).replace("&", "&&")) << "shown as \"&\", not as an accelerator";
    entry->trigger();
    EXPECT_TRUE(main.session().fileLoaded());
    EXPECT_EQ(main.CurrentFileName, tricky);
    EXPECT_EQ(main.LastDir, lastDir);
    EXPECT_EQ(main.RecentFiles.paths(), (QStringList{tricky, other}));
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();

    entryFor(openPopup(main), other)->trigger();
    EXPECT_EQ(main.CurrentFileName, other) << "the button's menu loads too";
}

TEST_F(RecentFilesTest, BothMenusListTheOpenedFilesNewestFirstAndTheListSurvivesARestart)
{
    const QString first = song("first.mid");
    const QString second = song("second hymn.mid");
    load(showWindow(), first);
    load(*window, second);
    const QStringList expected = QStringList{"&1 " + second, "&2 " + first} + Maintenance;
    EXPECT_TRUE(window->Reopen1->menuAction()->isEnabled());
    EXPECT_EQ(menuLayout(window->Reopen1), expected);
    EXPECT_EQ(popupLayout(*window), expected);
    window.reset();
    TfrmMain& main = createWindow();
    EXPECT_TRUE(main.Reopen1->menuAction()->isEnabled());
    EXPECT_EQ(menuLayout(main.Reopen1), expected);
}

TEST_F(RecentFilesTest, RemoveDeletedFilesKeepsTheFilesThatExistAndRemoveAllEmptiesBothMenus)
{
    TfrmMain& main = showWindow();
    const QStringList paths = loadSongs(main, {"kept.mid", "gone.mid", "newest.mid"});
    const QString &kept = paths[0], &gone = paths[1], &newest = paths[2];
    ASSERT_TRUE(QFile::remove(gone));
    main.findChild<QAction*>("RemoveDeletedFiles1")->trigger();
    EXPECT_EQ(main.RecentFiles.paths(), (QStringList{newest, kept}));
    EXPECT_EQ(menuLayout(main.pmReopen), QStringList({"&1 " + newest, "&2 " + kept}) + Maintenance);

    openPopup(main)->findChild<QAction*>("RemoveAll2")->trigger();
    EXPECT_TRUE(main.RecentFiles.isEmpty());
    EXPECT_FALSE(main.Reopen1->menuAction()->isEnabled());
    EXPECT_EQ(menuLayout(main.Reopen1), Maintenance);
    EXPECT_EQ(menuLayout(main.pmReopen), Maintenance);
    window.reset();
    EXPECT_TRUE(createWindow().RecentFiles.isEmpty()) << "the emptied list is kept";
}

TEST_F(RecentFilesTest, AMissingFileIsDroppedAndEnterOnTheDialogRunsTheOpenDialog)
{
    TfrmMain& main = showWindow();
    const QStringList paths = loadSongs(main, {"missing.mid", "kept.mid"});
    const QString &missing = paths[0], &kept = paths[1];
    ASSERT_TRUE(QFile::remove(missing));

    QStringList seen;
    whenModal<TdlgLoadError>([&](TdlgLoadError* dialog) {
        seen.append(dialog->windowTitle());
        seen.append(QString::number(main.RecentFiles.count()));
        whenModal<QFileDialog>([&](QFileDialog* open) {
            seen.append(open->windowTitle());
            open->reject();
        });
        QTest::keyClick(dialog, Qt::Key_Return);
    });
    entryFor(main.Reopen1, missing)->trigger();

    EXPECT_EQ(seen, (QStringList{"Error Loading File...", "1", "Load MIDI File..."}))
        << "the entry is gone before the question; Ok opens the open dialog";
    EXPECT_EQ(menuLayout(main.Reopen1), QStringList({"&1 " + kept}) + Maintenance);
    EXPECT_EQ(main.CurrentFileName, kept) << "nothing else was loaded";
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
}

TEST_F(RecentFilesTest, TwoMissingFilesAskTwiceAndTheCloseBoxAnswersCancel)
{
    TfrmMain& main = showWindow();
    const QStringList paths = loadSongs(main, {"a.mid", "b.mid", "c.mid"});
    const QString &a = paths[0], &b = paths[1], &c = paths[2];
    ASSERT_TRUE(QFile::remove(a));
    ASSERT_TRUE(QFile::remove(b));

    QList<QPointer<TdlgLoadError>> dialogs;
    auto closeByTheCloseBox = [&](TdlgLoadError* dialog) {
        dialogs.append(dialog);
        dialog->close();
    };
    whenModal<TdlgLoadError>(closeByTheCloseBox);
    entryFor(main.Reopen1, b)->trigger();
    EXPECT_EQ(main.RecentFiles.paths(), (QStringList{c, a}));

    whenModal<TdlgLoadError>(closeByTheCloseBox);
    entryFor(openPopup(main), a)->trigger();
    EXPECT_EQ(main.RecentFiles.paths(), QStringList{c});

    ASSERT_EQ(dialogs.size(), 2);
    EXPECT_TRUE(dialogs[0].isNull() && dialogs[1].isNull()) << "each showing had a dialog of its own, gone after it";
    EXPECT_EQ(main.CurrentFileName, c);
}

TEST_F(RecentFilesTest, AFileThatFailsToLoadTakesNoPlaceAndPushesNoSongOff)
{
    TfrmMain& main = showWindow();
    QStringList names;
    for (int n = 1; n <= TRecentFileList::MaxCount; ++n) {
        names.append(QStringLiteral("song%1.mid").arg(n));
    }
    const QString broken = loadSongs(main, names)[4];
    const QStringList listed = main.RecentFiles.paths();
    QStringList withoutBroken = listed;
    withoutBroken.removeOne(broken);

    // A failed file opened anew leaves the list as it was; a listed song that
    // has become unreadable leaves it when reopened, the others keep their order.
    runGuarded([&] { load(main, writeFile("notes.mid", "not a song")); });
    EXPECT_EQ(main.RecentFiles.paths(), listed);
    writeFile(QFileInfo(broken).fileName(), "damaged now");
    entryFor(main.Reopen1, broken)->trigger();
    EXPECT_EQ(errors.size(), 2);
    EXPECT_FALSE(main.session().fileLoaded());
    EXPECT_EQ(menuLayout(main.Reopen1).size(), withoutBroken.size() + Maintenance.size());
    window.reset();
    EXPECT_EQ(createWindow().RecentFiles.paths(), withoutBroken) << "as stored";
}

} // namespace
} // namespace harmonet::test
