#include "tests/support/LilyPondScores.h"

#include "tests/support/TestPaths.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QStandardPaths>

namespace harmonet::test {

namespace {

// LilyPond takes seconds per score; a large one on a busy machine may take minutes.
constexpr int RenderTimeoutMs = 300000;

bool holdsMidi(const QString& folder)
{
    return !QDir(folder).entryList({QStringLiteral("*.midi")}, QDir::Files).isEmpty();
}

} // namespace

QString renderedLilyPondScore(const QString& name)
{
    const QString data = thirdPartyDataDir();
    const QString score = QDir(data).filePath(QStringLiteral("mutopia/") + name + QStringLiteral(".ly"));
    const QString lilypond = QStandardPaths::findExecutable(QStringLiteral("lilypond"));
    if (data.isEmpty() || !QFileInfo(score).isFile() || lilypond.isEmpty()) {
        return {};
    }
    const QString cache = QStringLiteral(HARMONET_TEST_CACHE_DIR "/lilypond");
    QDir().mkpath(cache);
    const QString folder = cache + QLatin1Char('/') + name;
    // Tests run in parallel processes: one renders, the others wait for it.
    QLockFile lock(folder + QStringLiteral(".lock"));
    lock.setStaleLockTime(RenderTimeoutMs + 60000);
    if (!lock.lock()) {
        return {};
    }
    if (holdsMidi(folder)) {
        return folder;
    }
    // Rendered beside the cache and moved into place whole, so that a render
    // cut short never passes for a finished one.
    const QString scratch = folder + QStringLiteral(".rendering");
    QDir(scratch).removeRecursively();
    QDir().mkpath(scratch);
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    // Only the MIDI output is needed; a score may report errors in parts
    // that do not matter here and still write its MIDI files.
    process.start(lilypond, {QStringLiteral("-s"), QStringLiteral("-dno-print-pages"), QStringLiteral("-o"),
                             scratch + QLatin1Char('/') + name, score});
    if (!process.waitForFinished(RenderTimeoutMs) || !holdsMidi(scratch)) {
        process.kill();
        process.waitForFinished();
        QDir(scratch).removeRecursively();
        return {};
    }
    QDir(folder).removeRecursively();
    return QDir().rename(scratch, folder) ? folder : QString();
}

} // namespace harmonet::test
