#include "persist/SettingsSession.h"

#include <QCoreApplication>
#include <QSettings>
#include <QTemporaryDir>

namespace harmonet {

TSettingsSession& TSettingsSession::instance()
{
    static TSettingsSession session;
    return session;
}

TSettingsSession::TSettingsSession()
{
    // Its notice reaches the windows on their own thread, whichever thread
    // found the file read-only.
    if (QCoreApplication* app = QCoreApplication::instance()) {
        moveToThread(app->thread());
    }
}

TSettingsSession::~TSettingsSession() = default;

QString TSettingsSession::copyOf(const QString& settingsFile) const
{
    const QMutexLocker lock(&m_mutex);
    return m_copies.value(settingsFile);
}

QString TSettingsSession::start(const QString& settingsFile, const QSettings& current)
{
    {
        const QMutexLocker lock(&m_mutex);
        if (m_copies.contains(settingsFile)) {
            return m_copies.value(settingsFile);
        }
        if (!m_folder) {
            m_folder = std::make_unique<QTemporaryDir>();
        }
        if (!m_folder->isValid()) {
            return QString();
        }
        const QString copyPath = m_folder->filePath(QStringLiteral("Harmonet-%1.ini").arg(m_copies.size() + 1));
        QSettings copy(copyPath, QSettings::IniFormat);
        copy.clear();
        for (const QString& key : current.allKeys()) {
            copy.setValue(key, current.value(key));
        }
        copy.sync();
        if (copy.status() != QSettings::NoError) {
            return QString();
        }
        m_copies.insert(settingsFile, copyPath);
    }
    emit started(settingsFile);
    return copyOf(settingsFile);
}

} // namespace harmonet
