#pragma once

#include "core/Exception.h"
#include "persist/RegRoots.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>

class QSettings;

namespace harmonet {

// A failure of the settings store: a value that is not a string value, a write
// without an open key, a read-only root, a damaged file that could not be kept.
class ESettingsStoreError : public Exception {
public:
    using Exception::Exception;
};

// One connection to the store of named string values under backslash-separated
// key paths ("Software\Harmonet\MainForm") of one root. The current user's root
// is an INI file (see settingsFilePath); LOCAL_MACHINE is the system-wide file,
// opened read-only, as is a file marked read-only (see isMarkedReadOnly); the
// other roots have no store and none of their keys opens.
// Key paths and value names are matched without regard to case; a new key or
// value takes the spelling it is written with.
//
// Writes collect in memory and reach the file when flush() runs or the
// connection ends, in one atomic replacement of the file (the previous file
// stays whole if the write fails), under a lock file shared with other
// processes, whose changes to other values are kept.
//
// When the current user's file cannot be written (it or its folder is
// read-only, or a write fails), every connection of this run works on a
// private copy of it instead (TSettingsSession): changes are kept until the
// program ends and the file stays as it is.
//
// A file that cannot be fully read is still read as far as it can be; before
// the first change of this connection it is copied beside itself as
// "Harmonet.ini.bad", and if that copy cannot be made the connection changes
// nothing.
//
// A key with no values and no subkeys is not kept in the file: once the
// connection ends it no longer exists.
class TSettingsStore {
public:
    explicit TSettingsStore(TRegRoots root);
    ~TSettingsStore();
    TSettingsStore(const TSettingsStore&) = delete;
    TSettingsStore& operator=(const TSettingsStore&) = delete;

    TRegRoots root() const { return m_root; }
    // Whether the root has a store at all.
    bool available() const { return m_settings != nullptr; }
    // Whether the file could not be fully read when the connection opened.
    bool damaged() const { return m_damaged; }
    // Whether this connection works on this run's copy of the file.
    bool keptForThisRunOnly() const { return m_sessionCopy; }

    // Opens the key at the path (relative to the root; empty parts are skipped),
    // closing the one open before. Without canCreate a missing key is not
    // opened; with it the key and its missing parents are created. A path part
    // holding "/" names no key. Returns whether a key is open.
    bool openKey(const QString& path, bool canCreate);
    void closeKey();
    bool hasOpenKey() const { return m_keyOpen; }

    // Whether the open key holds a value of that name (any form).
    bool valueExists(const QString& name) const;
    // The string value of that name under the open key; empty when it is
    // missing. Throws ESettingsStoreError when the value is held in another
    // form than a plain string (a byte array, a variant, a list).
    QString readString(const QString& name) const;
    // Writes a string value under the open key, replacing any value of that
    // name. Throws ESettingsStoreError when no key is open, the root is
    // read-only, the name holds "\" or "/" or is empty, or a damaged file could
    // not be kept first.
    void writeString(const QString& name, const QString& value);
    // Deletes the subkey at the path (relative to the open key, or to the root
    // when none is open) with all its values and subkeys. Returns whether it
    // existed and was deleted.
    bool deleteKey(const QString& path);

    // Writes the changes made so far to the file. Returns false when the file
    // could not be written (the previous file is then unchanged).
    bool flush();

private:
    // The stored spelling of a key path, resolved part by part without regard
    // to case; false when a part is missing and create is false.
    bool resolveGroup(const QString& base, const QString& path, bool create, QString& group) const;
    // The stored spelling of a value name under the open key, or empty.
    QString storedValueKey(const QString& name) const;
    // The names of the subkeys (groups) or of the values (keys) stored
    // directly under a group, remembered until the next change.
    QStringList childNames(const QString& group, bool groups) const;
    void forgetChildNames();
    // Adds a value just written under the open key, and the groups of its
    // path, to the listings kept.
    void rememberNewValue(const QString& name);
    // Makes sure a damaged file is kept before the first change.
    void prepareChange();
    // Works on this run's copy of the file from now on.
    void useSessionCopy(const QString& copy);
    // Starts this run's copy from what the connection holds; false when no
    // copy could be made.
    bool keepChangesForThisRun();

    TRegRoots m_root;
    QString m_file;
    std::unique_ptr<QSettings> m_settings;
    bool m_readOnly = false;
    bool m_damaged = false;
    bool m_damagedFileKept = false;
    bool m_sessionCopy = false;
    bool m_keyOpen = false;
    QString m_group;
    // Listing a group walks every key of the file, and each item of a window
    // lists the groups along its path: the listings are kept per connection.
    mutable QHash<QString, QStringList> m_childGroups;
    mutable QHash<QString, QStringList> m_childKeys;
};

} // namespace harmonet
