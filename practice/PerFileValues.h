#pragma once

#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace harmonet {

// One text value for each of the files used last, kept in the settings store
// under one key, most recent first, at most MaxFiles of them (the oldest is
// dropped). A file is known by a hash of its content, else by its path: a
// file moved or renamed keeps its value, and so does one edited in place.
// Reading and writing never fail: damaged entries are skipped, and a store
// that cannot be written keeps what it had.
class TPerFileValues {
public:
    static constexpr int MaxFiles = 200;
    // Whether a stored text is a value; others count as damaged.
    using IsValue = std::function<bool(const QString& text)>;

    TPerFileValues(QString keyPath, IsValue isValue);

    // The value remembered for the file with that content hash, or else for that path.
    std::optional<QString> recall(const QString& path, const QString& hash) const;
    // Remembers the value (without a '|') for the file as the most recent one.
    void remember(const QString& path, const QString& hash, const QString& value);

private:
    struct Entry;
    QList<Entry> readEntries() const;

    QString m_keyPath;
    IsValue m_isValue;
};

} // namespace harmonet
