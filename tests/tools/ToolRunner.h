#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace harmonet::test {

// What a command-line tool did: its exit code and both output streams.
struct ToolResult {
    int exitCode = -1;
    bool crashed = false;
    QByteArray out;
    QByteArray err;
};

// Runs the built harmonet-dump / harmonet-make-corpus with args and waits
// for it to finish. With stdoutFile the dump's output goes to that file.
ToolResult runDump(const QStringList& args, const QString& stdoutFile = {});
ToolResult runMakeCorpus(const QStringList& args);

// Parses the dump's standard output as one JSON object; an empty object
// (and a test failure) when it is not one.
QJsonObject parseDump(const QByteArray& out);

// A temporary folder for the songs one test writes.
class SongDir {
public:
    QString save(const QString& name, const QByteArray& bytes) const;
    QString path(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
};

} // namespace harmonet::test
