#include "tests/support/LilyPondScores.h"

#include "tests/support/ChildProcess.h"
#include "tests/support/TestPaths.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QRegularExpression>
#include <QStandardPaths>

namespace harmonet::test {

namespace {

// LilyPond takes seconds per score; a large one on a busy machine may take minutes.
constexpr int RenderTimeoutMs = 300000;

bool holdsMidi(const QString& folder)
{
    return !QDir(folder).entryList({QStringLiteral("*.midi")}, QDir::Files).isEmpty();
}

// Writes the score with midiSettings at the start of every \midi block to
// copy; false when it has none or cannot be written.
bool writeScoreWithMidiSettings(const QString& score, const QString& midiSettings, const QString& copy)
{
    QFile source(score);
    if (!source.open(QIODevice::ReadOnly)) {
        return false;
    }
    QString text = QString::fromUtf8(source.readAll());
    const qsizetype before = text.size();
    text.replace(QRegularExpression(QStringLiteral("\\\\midi\\s*\\{")), QStringLiteral("\\midi { ") + midiSettings + QLatin1Char(' '));
    QFile target(copy);
    return text.size() != before && target.open(QIODevice::WriteOnly) && target.write(text.toUtf8()) > 0;
}

} // namespace

QString renderedLilyPondScore(const QString& name)
{
    return renderedLilyPondScore(name, {}, {});
}

QString renderedLilyPondScore(const QString& name, const QString& variant, const QString& midiSettings)
{
    const QString data = thirdPartyDataDir();
    const QString score = QDir(data).filePath(QStringLiteral("mutopia/") + name + QStringLiteral(".ly"));
    const QString lilypond = QStandardPaths::findExecutable(QStringLiteral("lilypond"));
    if (data.isEmpty() || !QFileInfo(score).isFile() || lilypond.isEmpty()) {
        return {};
    }
    const QString cache = QStringLiteral(HARMONET_TEST_CACHE_DIR "/lilypond");
    QDir().mkpath(cache);
    const QString folder = cache + QLatin1Char('/') + name + (variant.isEmpty() ? QString() : QLatin1Char('-') + variant);
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
    // A copy with the settings is rendered from the scratch folder, finding
    // what it includes in the score's own folder.
    QString source = score;
    if (!midiSettings.isEmpty()) {
        source = scratch + QLatin1Char('/') + name + QStringLiteral("-source.ly");
        if (!writeScoreWithMidiSettings(score, midiSettings, source)) {
            QDir(scratch).removeRecursively();
            return {};
        }
    }
    // Only the MIDI output is needed; a score may report errors in parts
    // that do not matter here and still write its MIDI files.
    ChildProcess::RunOptions options;
    options.errorsToOutput = true;
    options.timeoutMs = RenderTimeoutMs;
    const ChildProcess::Result run =
        ChildProcess::run(lilypond,
                          {QStringLiteral("-s"), QStringLiteral("-dno-print-pages"), QStringLiteral("-I"),
                           QFileInfo(score).absolutePath(), QStringLiteral("-o"), scratch + QLatin1Char('/') + name,
                           source},
                          options);
    if (!run.finished || !holdsMidi(scratch)) {
        QDir(scratch).removeRecursively();
        return {};
    }
    QDir(folder).removeRecursively();
    return QDir().rename(scratch, folder) ? folder : QString();
}

} // namespace harmonet::test
