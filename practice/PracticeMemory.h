#pragma once

#include "practice/PracticeChoice.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace harmonet {

// The practice choice of each of the files opened last, kept in the
// settings store under its own key, most recent first, at most MaxFiles of
// them (the oldest is dropped). A file is known by its path and by a hash
// of its content: a file moved or renamed keeps its choice, and so does one
// edited in place. Reading and writing never fail: damaged entries are
// skipped, and a store that cannot be written keeps what it had.
class TPracticeMemory {
public:
    static constexpr int MaxFiles = 200;
    // Key path of the remembered choices in the current user's store.
    static QString keyPath();
    // The hash that knows a file by its content.
    static QString contentHash(const QByteArray& bytes);

    // The choice remembered for the file with that content hash, or else
    // for that path.
    std::optional<PracticeChoice> recall(const QString& path, const QString& hash) const;
    // Remembers the choice for the file as the most recent one.
    void remember(const QString& path, const QString& hash, const PracticeChoice& choice);
};

} // namespace harmonet
