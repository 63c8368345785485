#include "player/RecentFileList.h"

#include "persist/SettingsStore.h"

#include <QFile>

#include <algorithm>
#include <filesystem>

namespace harmonet {

const QString TRecentFileList::StoreKey = QStringLiteral("Software\\Harmonet\\Reopen");

namespace {
// Whether nothing but blanks and control characters is left of the text.
bool isBlankValue(const QString& text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() <= 32; });
}
} // namespace

TRecentFileList::TRecentFileList(Qt::CaseSensitivity caseSensitivity)
    : m_caseSensitivity(caseSensitivity)
{
}

Qt::CaseSensitivity TRecentFileList::fileNameCaseSensitivity()
{
#if defined(Q_OS_WIN) || defined(Q_OS_DARWIN)
    return Qt::CaseInsensitive;
#else
    return Qt::CaseSensitive;
#endif
}

bool TRecentFileList::sameFile(const QString& a, const QString& b) const
{
    if (a.compare(b, m_caseSensitivity) == 0) {
        return true;
    }
    if (a.compare(b, Qt::CaseInsensitive) != 0) {
        return false;
    }
    // Spellings that differ only in letter case are one file where the file
    // system holding them ignores case (a memory card, a shared folder), or
    // where one is a link to the other.
    std::error_code error;
    return std::filesystem::equivalent(QFile::encodeName(a).toStdString(), QFile::encodeName(b).toStdString(),
                                       error);
}

qsizetype TRecentFileList::indexOf(const QString& path) const
{
    for (qsizetype i = 0; i < m_paths.size(); ++i) {
        if (sameFile(m_paths[i], path)) {
            return i;
        }
    }
    return -1;
}

void TRecentFileList::add(const QString& path)
{
    remove(path);
    m_paths.prepend(path);
    while (m_paths.size() > MaxCount) {
        m_paths.removeLast();
    }
}

bool TRecentFileList::remove(const QString& path)
{
    const qsizetype index = indexOf(path);
    if (index < 0) {
        return false;
    }
    m_paths.removeAt(index);
    return true;
}

qsizetype TRecentFileList::removeMissing(const std::function<bool(const QString&)>& exists)
{
    qsizetype removed = 0;
    for (qsizetype i = m_paths.size() - 1; i >= 0; --i) {
        if (!exists(m_paths[i])) {
            m_paths.removeAt(i);
            ++removed;
        }
    }
    return removed;
}

void TRecentFileList::load()
{
    m_paths.clear();
    TSettingsStore store(CURRENT_USER);
    if (!store.openKey(StoreKey, false)) {
        return;
    }
    for (int n = 1; n <= MaxCount; ++n) {
        try {
            const QString path = store.readString(QString::number(n));
            if (!isBlankValue(path)) {
                m_paths.append(path);
            }
        } catch (const ESettingsStoreError&) {
            // A value that is not a string holds no path.
        }
    }
}

void TRecentFileList::save() const
{
    TSettingsStore store(CURRENT_USER);
    try {
        store.deleteKey(StoreKey);
        if (m_paths.isEmpty() || !store.openKey(StoreKey, true)) {
            return;
        }
        for (qsizetype k = 0; k < m_paths.size(); ++k) {
            store.writeString(QString::number(k + 1), m_paths[k]);
        }
    } catch (const ESettingsStoreError&) {
        // A read-only or damaged store keeps the list it has.
    }
}

QString TRecentFileList::caption(int position, const QString& path)
{
    QString shown = path;
    shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QStringLiteral("&%1 %2").arg(position).arg(shown);
}

} // namespace harmonet
