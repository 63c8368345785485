#include "persist/SettingsStore.h"

#include "persist/SettingsFile.h"
#include "persist/SettingsSession.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>
#include <QSettings>
#include <QStringList>

namespace harmonet {

namespace {

const QChar kKeySeparator = QLatin1Char('\\');
const QChar kGroupSeparator = QLatin1Char('/');

QString joined(const QString& group, const QString& name)
{
    return group.isEmpty() ? name : group + kGroupSeparator + name;
}

// The entry of the list equal to name without regard to case, or empty.
QString matchingEntry(const QStringList& entries, const QString& name)
{
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return {};
}

bool isPlainName(const QString& name)
{
    return !name.isEmpty() && !name.contains(kKeySeparator) && !name.contains(kGroupSeparator);
}

} // namespace

TSettingsStore::TSettingsStore(TRegRoots root)
    : m_root(root), m_file(settingsFilePath(root))
{
    if (m_file.isEmpty())
        return;
    m_readOnly = root != CURRENT_USER || isMarkedReadOnly(m_file);
    QFile existing(m_file);
    if (existing.open(QIODevice::ReadOnly))
        m_damaged = !isWellFormedSettingsText(existing.readAll());
    m_settings = std::make_unique<QSettings>(m_file, QSettings::IniFormat);
    if (m_settings->status() == QSettings::FormatError)
        m_damaged = true;
    if (root != CURRENT_USER)
        return;
    const QString copy = TSettingsSession::instance().copyOf(m_file);
    if (!copy.isEmpty())
        useSessionCopy(copy);
    else if (m_readOnly || isUnwritableLocation(m_file))
        keepChangesForThisRun();
}

void TSettingsStore::useSessionCopy(const QString& copy)
{
    m_settings = std::make_unique<QSettings>(copy, QSettings::IniFormat);
    forgetChildNames();
    m_readOnly = false;
    // The file itself is never replaced, so a damaged one needs no keeping.
    m_damagedFileKept = true;
    m_sessionCopy = true;
}

bool TSettingsStore::keepChangesForThisRun()
{
    const QString copy = TSettingsSession::instance().start(m_file, *m_settings);
    if (copy.isEmpty())
        return false;
    useSessionCopy(copy);
    return true;
}

TSettingsStore::~TSettingsStore()
{
    flush();
}

bool TSettingsStore::resolveGroup(const QString& base, const QString& path, bool create,
                                  QString& group) const
{
    group = base;
    const QStringList parts = path.split(kKeySeparator, Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        if (part.contains(kGroupSeparator))
            return false;
        QString stored = matchingEntry(childNames(group, true), part);
        if (stored.isEmpty()) {
            if (!create)
                return false;
            stored = part;
        }
        group = joined(group, stored);
    }
    return true;
}

bool TSettingsStore::openKey(const QString& path, bool canCreate)
{
    closeKey();
    if (!m_settings)
        return false;
    if (canCreate && m_readOnly) {
        QString existing;
        if (!resolveGroup({}, path, false, existing))
            return false;
    }
    QString group;
    if (!resolveGroup({}, path, canCreate, group))
        return false;
    m_group = group;
    m_keyOpen = true;
    return true;
}

void TSettingsStore::closeKey()
{
    m_keyOpen = false;
    m_group.clear();
}

QString TSettingsStore::storedValueKey(const QString& name) const
{
    if (!m_keyOpen || !isPlainName(name))
        return {};
    return matchingEntry(childNames(m_group, false), name);
}

QStringList TSettingsStore::childNames(const QString& group, bool groups) const
{
    QHash<QString, QStringList>& known = groups ? m_childGroups : m_childKeys;
    if (const auto found = known.constFind(group); found != known.cend())
        return *found;
    if (!group.isEmpty())
        m_settings->beginGroup(group);
    const QStringList names = groups ? m_settings->childGroups() : m_settings->childKeys();
    if (!group.isEmpty())
        m_settings->endGroup();
    known.insert(group, names);
    return names;
}

void TSettingsStore::forgetChildNames()
{
    m_childGroups.clear();
    m_childKeys.clear();
}

bool TSettingsStore::valueExists(const QString& name) const
{
    return !storedValueKey(name).isEmpty();
}

QString TSettingsStore::readString(const QString& name) const
{
    const QString key = storedValueKey(name);
    if (key.isEmpty())
        return {};
    const QVariant value = m_settings->value(joined(m_group, key));
    if (value.typeId() != QMetaType::QString)
        throw ESettingsStoreError(QStringLiteral("The settings value \"%1\" is not a string value.").arg(name));
    return value.toString();
}

void TSettingsStore::prepareChange()
{
    if (!m_settings)
        throw ESettingsStoreError(QStringLiteral("This settings root has no store."));
    if (m_readOnly)
        throw ESettingsStoreError(QCoreApplication::translate("Settings", "The settings file %1 is read-only.").arg(m_file));
    if (!m_damaged || m_damagedFileKept)
        return;
    QFile damagedFile(m_file);
    QSaveFile copy(damagedCopyPath(m_file));
    if (damagedFile.open(QIODevice::ReadOnly) && copy.open(QIODevice::WriteOnly)) {
        const QByteArray content = damagedFile.readAll();
        if (copy.write(content) == content.size() && copy.commit()) {
            m_damagedFileKept = true;
            return;
        }
    }
    // Without a copy of what the user had, the damaged file must not be replaced.
    m_readOnly = true;
    throw ESettingsStoreError(
        QCoreApplication::translate("Settings", "The damaged settings file %1 could not be kept as %2.")
            .arg(m_file, damagedCopyPath(m_file)));
}

void TSettingsStore::writeString(const QString& name, const QString& value)
{
    if (!m_keyOpen)
        throw ESettingsStoreError(QStringLiteral("No settings key is open."));
    if (!isPlainName(name))
        throw ESettingsStoreError(QStringLiteral("\"%1\" cannot name a settings value.").arg(name));
    prepareChange();
    const QString stored = storedValueKey(name);
    m_settings->setValue(joined(m_group, stored.isEmpty() ? name : stored), value);
    if (stored.isEmpty())
        rememberNewValue(name);
}

void TSettingsStore::rememberNewValue(const QString& name)
{
    // Saving a window into a new file adds every value anew: listing the
    // whole file again after each would make a save quadratic in its items.
    const auto addTo = [](QHash<QString, QStringList>& known, const QString& group, const QString& child) {
        const auto found = known.find(group);
        if (found != known.end() && matchingEntry(*found, child).isEmpty())
            found->append(child);
    };
    addTo(m_childKeys, m_group, name);
    QString parent;
    for (const QString& part : m_group.split(kGroupSeparator, Qt::SkipEmptyParts)) {
        addTo(m_childGroups, parent, part);
        parent = joined(parent, part);
    }
}

bool TSettingsStore::deleteKey(const QString& path)
{
    if (!m_settings || path.split(kKeySeparator, Qt::SkipEmptyParts).isEmpty())
        return false;
    const QString base = m_keyOpen ? m_group : QString();
    QString group;
    if (!resolveGroup(base, path, false, group))
        return false;
    prepareChange();
    // A file edited by hand may spell the key twice, in different case: the
    // key is one, so every spelling goes (else the next one would come back).
    do {
        m_settings->remove(group);
        forgetChildNames();
    } while (resolveGroup(base, path, false, group));
    return true;
}

bool TSettingsStore::flush()
{
    if (!m_settings)
        return false;
    if (m_readOnly)
        return true;
    m_settings->sync();
    // Another process's changes may have come in with the file.
    forgetChildNames();
    if (m_settings->status() != QSettings::AccessError)
        return true;
    // A file found unwritable only now: what it held and this connection's
    // changes go on for this run.
    return m_root == CURRENT_USER && !m_sessionCopy && keepChangesForThisRun();
}

} // namespace harmonet
