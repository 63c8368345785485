#include "tests/tools/ToolRunner.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QProcess>
#include <gtest/gtest.h>

namespace harmonet::test {

namespace {

ToolResult run(const QString& program, const QStringList& args, const QString& stdoutFile = {})
{
    QProcess process;
    if (!stdoutFile.isEmpty())
        process.setStandardOutputFile(stdoutFile);
    process.start(program, args);
    ToolResult result;
    if (!process.waitForStarted(10000)) {
        ADD_FAILURE() << "cannot start " << program.toStdString();
        return result;
    }
    process.closeWriteChannel();
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        ADD_FAILURE() << program.toStdString() << " did not finish";
    }
    result.crashed = process.exitStatus() != QProcess::NormalExit;
    result.exitCode = process.exitCode();
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
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
