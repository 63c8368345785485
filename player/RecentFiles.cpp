// The recent files: the list kept in the settings, the File > Reopen submenu
// and the open button's right-click menu built from it, and their items.
#include "player/UnitMain.h"

#include "player/ControlTags.h"
#include "windows/UDLoadErr.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>

namespace harmonet {

namespace {
bool fileExists(const QString& path)
{
    return QFileInfo(path).isFile();
}
} // namespace

void TfrmMain::LoadRecentFiles()
{
    RecentFiles.load();
    fillReopenMenu(Reopen1, 1);
    Reopen1->menuAction()->setEnabled(!RecentFiles.isEmpty());
}

void TfrmMain::SaveRecentFiles()
{
    RecentFiles.save();
}

void TfrmMain::AddRecentFile(const QString& path)
{
    RecentFiles.add(path);
    SaveRecentFiles();
    LoadRecentFiles();
}

void TfrmMain::ForgetRecentFile(const QString& path)
{
    if (RecentFiles.remove(path)) {
        SaveRecentFiles();
        LoadRecentFiles();
    }
}

void TfrmMain::pmReopenPopup()
{
    fillReopenMenu(pmReopen, 2);
}

void TfrmMain::fillReopenMenu(QMenu* menu, int number)
{
    // The clicked item may be the one being replaced: old items go once the
    // click has been handled.
    for (QAction* old : menu->actions()) {
        menu->removeAction(old);
        old->deleteLater();
    }
    for (qsizetype k = 0; k < RecentFiles.count(); ++k) {
        const QString& path = RecentFiles.paths()[k];
        QAction* entry = menu->addAction(TRecentFileList::caption(int(k) + 1, path));
        entry->setData(path);
        setTag(entry, 1);
        connect(entry, &QAction::triggered, this, [this, entry] { guarded([this, entry] { RecentFileClick(entry); }); });
    }
    menu->addSeparator();
    QAction* removeDeleted = menu->addAction(tr("Remove Deleted Files"));
    removeDeleted->setObjectName(QStringLiteral("RemoveDeletedFiles%1").arg(number));
    setTag(removeDeleted, 1);
    connect(removeDeleted, &QAction::triggered, this, [this] { guarded([this] { RemoveDeletedFilesClick(); }); });
    QAction* removeAll = menu->addAction(tr("Remove All"));
    removeAll->setObjectName(QStringLiteral("RemoveAll%1").arg(number));
    setTag(removeAll, 1);
    connect(removeAll, &QAction::triggered, this, [this] { guarded([this] { RemoveAllClick(); }); });
}

void TfrmMain::RecentFileClick(QAction* item)
{
    // The stored path itself, not the caption, whose "&" are doubled.
    const QString path = item->data().toString();
    if (fileExists(path)) {
        CurrentFileName = path;
        LoadMidiFile();
        return;
    }
    RecentFiles.remove(path);
    SaveRecentFiles();
    LoadRecentFiles();
    TdlgLoadError dlgLoadError(this);
    if (dlgLoadError.exec() == QDialog::Accepted) {
        btnLoadClick();
    }
}

void TfrmMain::RemoveDeletedFilesClick()
{
    RecentFiles.removeMissing(fileExists);
    SaveRecentFiles();
    LoadRecentFiles();
    pmReopenPopup();
}

void TfrmMain::RemoveAllClick()
{
    RecentFiles.clear();
    SaveRecentFiles();
    LoadRecentFiles();
    pmReopenPopup();
}

} // namespace harmonet
