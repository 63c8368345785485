#pragma once

#include <QHash>
#include <QMutex>
#include <QObject>
#include <QString>
#include <memory>

class QSettings;
class QTemporaryDir;

namespace harmonet {

// The settings of this run of the program when the current user's settings
// file cannot be written (the file or its folder is read-only): a private copy
// of what the file holds, which every connection to the store uses instead of
// the file from then on. The program goes on with the settings it has and
// keeps every change until it ends; the file itself is never touched. The
// copies go when the program ends.
class TSettingsSession : public QObject {
    Q_OBJECT

public:
    static TSettingsSession& instance();
    ~TSettingsSession() override;

    // The copy used in place of the settings file, or empty while the file is
    // used itself.
    QString copyOf(const QString& settingsFile) const;
    // Makes the copy of the settings file from what current holds (read from
    // the file, with any changes not yet written) and returns its path; the
    // copy already made when there is one. Empty when no copy can be made.
    QString start(const QString& settingsFile, const QSettings& current);

signals:
    // The settings file's changes are kept only for this run from now on.
    void started(const QString& settingsFile);

private:
    TSettingsSession();

    mutable QMutex m_mutex;
    std::unique_ptr<QTemporaryDir> m_folder;
    QHash<QString, QString> m_copies;
};

} // namespace harmonet
