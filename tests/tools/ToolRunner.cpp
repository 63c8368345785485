#include "tests/tools/ToolRunner.h"

#include "tests/support/ChildProcess.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonParseError>
#include <gtest/gtest.h>

namespace harmonet::test {

namespace {

ToolResult run(const QString& program, const QStringList& args, const QString& stdoutFile = {})
{
    ChildProcess::RunOptions options;
    options.outputFile = stdoutFile;
    const ChildProcess::Result run = ChildProcess::run(program, args, options);
    ToolResult result;
    if (!run.started) {
        ADD_FAILURE() << "cannot start " << program.toStdString();
        return result;
    }
    if (!run.finished) {
        ADD_FAILURE() << program.toStdString() << " did not finish";
    }
    result.crashed = !run.exitCode.has_value();
    result.exitCode = run.exitCode.value_or(-1);
    result.out = run.output;
    result.err = run.errors;
    return result;
}

} // namespace

ToolResult runDump(const QStringList& args, const QString& stdoutFile)
{
    return run(QStringLiteral(HARMONET_DUMP_PATH), args, stdoutFile);
}

ToolResult runMakeCorpus(const QStringList& args)
{
    return run(QStringLiteral(HARMONET_MAKE_CORPUS_PATH), args);
}

QJsonObject parseDump(const QByteArray& out)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(out, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError)
        << error.errorString().toStdString() << " at " << error.offset << " in: " << out.left(300).toStdString();
    EXPECT_TRUE(document.isObject());
    return document.object();
}

QString SongDir::save(const QString& name, const QByteArray& bytes) const
{
    const QString path = dir_.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size()) << path.toStdString();
    return path;
}

} // namespace harmonet::test
