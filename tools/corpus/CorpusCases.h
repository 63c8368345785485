#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

namespace harmonet::tools {

// One seed file of the reader's fuzz corpus. The name says what it exercises:
// "valid-..." for a well-formed shape, "invalid-<reason>-..." for a damaged one.
struct CorpusCase {
    QString name;
    QByteArray bytes;
};

// Every seed, in a fixed order, each a few hundred bytes at most.
std::vector<CorpusCase> corpusCases();

} // namespace harmonet::tools
