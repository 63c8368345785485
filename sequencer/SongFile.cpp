#include "sequencer/SongFile.h"

#include "sequencer/MidiFile.h"
#include "sequencer/RiffMidi.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace harmonet {

namespace {

// Enough to find the data chunk of any RIFF MIDI file met in practice; a plain
// MIDI file needs only its first four bytes.
constexpr qint64 headSize = 64 * 1024;

bool beginsAsMidi(const QByteArray& head)
{
    return head.startsWith("MThd") || riffMidiData(head).has_value();
}

QString quotedName(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    return QStringLiteral("“%1”").arg(name.isEmpty() ? QDir::toNativeSeparators(path) : name);
}

QString composedMessage(const QString& summary, const QString& readerMessage, const QString& path)
{
    QString message = summary;
    if (!readerMessage.isEmpty()) {
        message += QStringLiteral("\n\n") + readerMessage;
    }
    return message + QStringLiteral("\n\n")
           + QCoreApplication::translate("SongFile", "File: %1")
                 .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()));
}

} // namespace

SongFileProblem songFileProblem(const QString& path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists()) {
        return SongFileProblem::NotFound;
    }
    if (info.isDir()) {
        return SongFileProblem::Folder;
    }
    // A device or a pipe is no song, and reading it might never end.
    if (!info.isFile()) {
        return SongFileProblem::NotMidi;
    }
    if (info.size() == 0) {
        return SongFileProblem::Empty;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return SongFileProblem::None;
    }
    return beginsAsMidi(file.read(headSize)) ? SongFileProblem::None : SongFileProblem::NotMidi;
}

QString songFileProblemText(SongFileProblem problem, const QString& path)
{
    switch (problem) {
    case SongFileProblem::None:
        break;
    case SongFileProblem::NotFound:
        return QCoreApplication::translate("SongFile", "%1 was not found.").arg(quotedName(path));
    case SongFileProblem::Folder:
        return QCoreApplication::translate("SongFile", "%1 is a folder, not a MIDI file.").arg(quotedName(path));
    case SongFileProblem::Empty:
        return QCoreApplication::translate("SongFile", "%1 is empty.").arg(quotedName(path));
    case SongFileProblem::NotMidi:
        return QCoreApplication::translate("SongFile", "%1 is not a MIDI file.").arg(quotedName(path));
    }
    return QString();
}

ESongFileError::ESongFileError(const QString& summary, const QString& readerMessage, const QString& path)
    : Exception(composedMessage(summary, readerMessage, path)), m_summary(summary), m_readerMessage(readerMessage)
{
}

void readSongFile(const QString& path, const std::function<void()>& read)
{
    const SongFileProblem problem = songFileProblem(path);
    if (problem != SongFileProblem::None) {
        throw ESongFileError(songFileProblemText(problem, path), QString(), path);
    }
    QString readerMessage;
    try {
        read();
        return;
    } catch (const Exception& error) {
        readerMessage = error.message();
    } catch (const std::exception& error) {
        readerMessage = QString::fromLocal8Bit(error.what());
    }
    throw ESongFileError(QCoreApplication::translate("SongFile", "%1 could not be read.").arg(quotedName(path)), readerMessage, path);
}

} // namespace harmonet
