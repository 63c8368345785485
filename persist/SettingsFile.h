#pragma once

#include "persist/RegRoots.h"

#include <QByteArray>
#include <QString>

namespace harmonet {

// Where the settings of a root are kept: the current user's file
// Harmonet/Harmonet.ini in the user's configuration folder (XDG_CONFIG_HOME when
// set, read afresh on every call), the system-wide file of the same name for
// LOCAL_MACHINE, and an empty string for the roots that have no store.
QString settingsFilePath(TRegRoots root);

// Whether an existing settings file is marked read-only: this user may not
// write it, or it is this user's own file without its owner's write
// permission (which counts even for the administrator, whom the file system
// would let write anyway).
bool isMarkedReadOnly(const QString& settingsFile);

// Whether a settings file cannot be written in place: it is marked read-only,
// or the folder it lies in (the nearest existing folder above it, while that
// folder is missing) is, by the same rule, since the file is replaced whole.
bool isUnwritableLocation(const QString& settingsFile);

// The file beside a settings file that keeps a damaged file's content.
QString damagedCopyPath(const QString& settingsFile);

// Whether the bytes are a settings file every line of which can be read: valid
// UTF-8 text without control characters below U+0020 (tab, carriage return and
// line feed aside), each line blank, a comment (";" or "#"), a closed section
// header "[...]", or a "name=value" line. Whatever the store writes is.
bool isWellFormedSettingsText(const QByteArray& bytes);

} // namespace harmonet
