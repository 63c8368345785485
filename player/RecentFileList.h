#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace harmonet {

// The files opened last, newest first, at most MaxCount of them, kept in the
// current user's settings under Software\Harmonet\Reopen as the values "1"
// to "10". Two paths name the same entry when the file system would take them
// for the same file: letter case counts where file names are case-sensitive,
// unless both spellings lead to one existing file.
class TRecentFileList {
public:
    static constexpr int MaxCount = 10;
    static const QString StoreKey;

    explicit TRecentFileList(Qt::CaseSensitivity caseSensitivity = fileNameCaseSensitivity());

    // How this system's file names compare: case-sensitive on Linux and other
    // Unix systems, case-insensitive on Windows and macOS.
    static Qt::CaseSensitivity fileNameCaseSensitivity();

    const QStringList& paths() const { return m_paths; }
    bool isEmpty() const { return m_paths.isEmpty(); }
    qsizetype count() const { return m_paths.size(); }

    // Puts the path at the top, dropping an entry for the same file and the
    // entries beyond MaxCount.
    void add(const QString& path);
    // Removes the entry for the same file; returns whether there was one.
    bool remove(const QString& path);
    // Removes every entry whose file does not exist; returns how many went.
    qsizetype removeMissing(const std::function<bool(const QString&)>& exists);
    void clear() { m_paths.clear(); }

    // Reads the values "1" to "10" in order, skipping missing and blank ones.
    // A store that cannot be read gives an empty list.
    void load();
    // Replaces the stored list: the subkey is removed, then entry k is
    // written as value k. A store that cannot be written is left as it is.
    void save() const;

    // The menu caption of the entry at a 1-based position: "&" + position +
    // a space + the path, the position being the item's accelerator and every
    // "&" of the path shown as itself.
    static QString caption(int position, const QString& path);

private:
    bool sameFile(const QString& a, const QString& b) const;
    qsizetype indexOf(const QString& path) const;

    Qt::CaseSensitivity m_caseSensitivity;
    QStringList m_paths;
};

} // namespace harmonet
