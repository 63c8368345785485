#include "practice/PerFileValues.h"

#include "persist/SettingsStore.h"

#include <QDir>
#include <QFileInfo>
#include <QList>

namespace harmonet {

// One remembered file: "hash|value|path", stored as the value "File<n>".
struct TPerFileValues::Entry {
    QString hash;
    QString value;
    QString path;
};

namespace {

QString valueName(int number)
{
    return QStringLiteral("File%1").arg(number);
}

QString normalPath(const QString& path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

} // namespace

TPerFileValues::TPerFileValues(QString keyPath, IsValue isValue)
    : m_keyPath(std::move(keyPath)), m_isValue(std::move(isValue))
{
}

QList<TPerFileValues::Entry> TPerFileValues::readEntries() const
{
    QList<Entry> entries;
    try {
        TSettingsStore store(CURRENT_USER);
        if (!store.openKey(m_keyPath, false)) {
            return entries;
        }
        for (int n = 1; n <= MaxFiles; ++n) {
            try {
                const QString text = store.readString(valueName(n));
                const qsizetype first = text.indexOf(QLatin1Char('|'));
                const qsizetype second = first < 0 ? -1 : text.indexOf(QLatin1Char('|'), first + 1);
                const QString value = text.mid(first + 1, second - first - 1);
                if (first > 0 && second > 0 && m_isValue(value)) {
                    entries.append(Entry{text.left(first), value, text.mid(second + 1)});
                }
            } catch (const ESettingsStoreError&) {
                // A value of another form is no entry.
            }
        }
    } catch (...) {
        // Without a readable store nothing is remembered.
    }
    return entries;
}

std::optional<QString> TPerFileValues::recall(const QString& path, const QString& hash) const
{
    const QList<Entry> entries = readEntries();
    for (const Entry& entry : entries) {
        if (entry.hash == hash) {
            return entry.value;
        }
    }
    const QString wanted = normalPath(path);
    for (const Entry& entry : entries) {
        if (entry.path == wanted) {
            return entry.value;
        }
    }
    return std::nullopt;
}

void TPerFileValues::remember(const QString& path, const QString& hash, const QString& value)
{
    const QString wanted = normalPath(path);
    QList<Entry> entries = readEntries();
    entries.removeIf([&](const Entry& entry) { return entry.hash == hash || entry.path == wanted; });
    entries.prepend(Entry{hash, value, wanted});
    while (entries.size() > MaxFiles) {
        entries.removeLast();
    }
    try {
        // The key is written anew, so no entry of a longer list stays behind;
        // the store reaches the file in one replacement when it is flushed.
        TSettingsStore store(CURRENT_USER);
        store.deleteKey(m_keyPath);
        if (!store.openKey(m_keyPath, true)) {
            return;
        }
        for (int n = 1; n <= entries.size(); ++n) {
            const Entry& entry = entries[n - 1];
            store.writeString(valueName(n), entry.hash + QLatin1Char('|') + entry.value + QLatin1Char('|') + entry.path);
        }
        store.flush();
    } catch (...) {
        // The store keeps what it had.
    }
}

} // namespace harmonet
