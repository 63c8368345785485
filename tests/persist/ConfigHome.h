#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

namespace harmonet::test {

// A private configuration folder for one test: XDG_CONFIG_HOME points into a
// fresh temporary folder while the object lives, and is restored afterwards.
class ConfigHome {
public:
    ConfigHome() : m_previous(qgetenv("XDG_CONFIG_HOME"))
    {
        qputenv("XDG_CONFIG_HOME", m_dir.path().toLocal8Bit());
    }
    ~ConfigHome() { qputenv("XDG_CONFIG_HOME", m_previous); }
    ConfigHome(const ConfigHome&) = delete;
    ConfigHome& operator=(const ConfigHome&) = delete;

    QString path() const { return m_dir.path(); }
    QString settingsFolder() const { return m_dir.path() + QStringLiteral("/Harmonet"); }
    QString settingsFile() const { return settingsFolder() + QStringLiteral("/Harmonet.ini"); }

    QByteArray settingsBytes() const
    {
        QFile file(settingsFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Puts the bytes in place as the settings file.
    void writeSettings(const QByteArray& bytes) const
    {
        QDir().mkpath(settingsFolder());
        QFile file(settingsFile());
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(bytes);
    }

private:
    QTemporaryDir m_dir;
    QByteArray m_previous;
};

} // namespace harmonet::test
