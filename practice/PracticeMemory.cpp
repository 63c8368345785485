#include "practice/PracticeMemory.h"

#include "persist/SettingsStore.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QList>

namespace harmonet {

namespace {

// One remembered file: "hash|choice|path", stored as the value "File<n>".
struct Entry {
    QString hash;
    PracticeChoice choice;
    QString path;
};

QString valueName(int number)
{
    return QStringLiteral("File%1").arg(number);
}

std::optional<Entry> entryFromText(const QString& text)
{
    const qsizetype first = text.indexOf(QLatin1Char('|'));
    const qsizetype second = first < 0 ? -1 : text.indexOf(QLatin1Char('|'), first + 1);
    if (second < 0) {
        return std::nullopt;
    }
    const std::optional<PracticeChoice> choice = choiceFromText(text.mid(first + 1, second - first - 1));
    if (!choice || first == 0) {
        return std::nullopt;
    }
    return Entry{text.left(first), *choice, text.mid(second + 1)};
}

QString entryText(const Entry& entry)
{
    return entry.hash + QLatin1Char('|') + choiceText(entry.choice) + QLatin1Char('|') + entry.path;
}

QString normalPath(const QString& path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

QList<Entry> readEntries()
{
    QList<Entry> entries;
    try {
        TSettingsStore store(CURRENT_USER);
        if (!store.openKey(TPracticeMemory::keyPath(), false)) {
            return entries;
        }
        for (int n = 1; n <= TPracticeMemory::MaxFiles; ++n) {
            try {
                if (const std::optional<Entry> entry = entryFromText(store.readString(valueName(n)))) {
                    entries.append(*entry);
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

} // namespace

QString TPracticeMemory::keyPath()
{
    return QStringLiteral("Software\\Harmonet\\PracticeParts");
}

QString TPracticeMemory::contentHash(const QByteArray& bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

std::optional<PracticeChoice> TPracticeMemory::recall(const QString& path, const QString& hash) const
{
    const QList<Entry> entries = readEntries();
    for (const Entry& entry : entries) {
        if (entry.hash == hash) {
            return entry.choice;
        }
    }
    const QString wanted = normalPath(path);
    for (const Entry& entry : entries) {
        if (entry.path == wanted) {
            return entry.choice;
        }
    }
    return std::nullopt;
}

void TPracticeMemory::remember(const QString& path, const QString& hash, const PracticeChoice& choice)
{
    const QString wanted = normalPath(path);
    QList<Entry> entries = readEntries();
    entries.removeIf([&](const Entry& entry) { return entry.hash == hash || entry.path == wanted; });
    entries.prepend(Entry{hash, choice, wanted});
    while (entries.size() > MaxFiles) {
        entries.removeLast();
    }
    try {
        // The key is written anew, so no entry of a longer list stays behind;
        // the store reaches the file in one replacement when it is flushed.
        TSettingsStore store(CURRENT_USER);
        store.deleteKey(keyPath());
        if (!store.openKey(keyPath(), true)) {
            return;
        }
        for (int n = 1; n <= entries.size(); ++n) {
            store.writeString(valueName(n), entryText(entries[n - 1]));
        }
        store.flush();
    } catch (...) {
        // The store keeps what it had.
    }
}

} // namespace harmonet
