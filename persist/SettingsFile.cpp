#include "persist/SettingsFile.h"

#include <QFileInfo>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QStringList>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace harmonet {

namespace {

const QString kRelativeFile = QStringLiteral("/Harmonet/Harmonet.ini");

bool isWellFormedLine(const QString& raw)
{
    for (const QChar c : raw) {
        // The store escapes these in what it writes; DEL and the rest it
        // writes as they are, so they are no sign of damage.
        if (c.unicode() < 0x20 && c != QLatin1Char('\t') && c != QLatin1Char('\r'))
            return false;
    }
    const QString line = raw.trimmed();
    if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
        return true;
    if (line.startsWith(QLatin1Char('[')))
        return line.endsWith(QLatin1Char(']'));
    return line.contains(QLatin1Char('='));
}

} // namespace

QString settingsFilePath(TRegRoots root)
{
    switch (root) {
    case CURRENT_USER:
        return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
            + kRelativeFile;
    case LOCAL_MACHINE: {
        // The system-wide configuration folders follow the user's own folder.
        const QString user = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
        for (const QString& folder :
             QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation)) {
            if (folder != user)
                return folder + kRelativeFile;
        }
        return QStringLiteral("/etc/xdg") + kRelativeFile;
    }
    default:
        return {};
    }
}

bool isMarkedReadOnly(const QString& settingsFile)
{
    const QFileInfo file(settingsFile);
    if (!file.exists())
        return false;
    if (!file.isWritable())
        return true;
#ifdef Q_OS_UNIX
    return file.ownerId() == ::getuid() && !file.permission(QFileDevice::WriteOwner);
#else
    return false;
#endif
}

bool isUnwritableLocation(const QString& settingsFile)
{
    if (isMarkedReadOnly(settingsFile))
        return true;
    QFileInfo folder(QFileInfo(settingsFile).absolutePath());
    while (!folder.exists()) {
        const QFileInfo parent(folder.absolutePath());
        if (parent.absoluteFilePath() == folder.absoluteFilePath())
            return true;
        folder = parent;
    }
    return isMarkedReadOnly(folder.absoluteFilePath());
}

QString damagedCopyPath(const QString& settingsFile)
{
    return settingsFile + QStringLiteral(".bad");
}

bool isWellFormedSettingsText(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return false;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        if (!isWellFormedLine(line))
            return false;
    }
    return true;
}

} // namespace harmonet
