#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QTimer>
#include <QVariantMap>

#include <memory>

namespace harmonet {

class MediaPlayerControl;
class MprisPlayerAdaptor;

// The player on the session bus as an MPRIS2 media player: the bus name
// org.mpris.MediaPlayer2.harmonet (with ".instance<pid>" when another
// program holds it already), the object /org/mpris/MediaPlayer2 with the
// two interfaces. Every change the player reports is announced with
// PropertiesChanged, every jump of the position with Seeked; both are
// gathered until the player's own handling is done, so one action that
// changes several things announces them once.
class MprisService : public QObject {
    Q_OBJECT

public:
    static constexpr const char* ObjectPath = "/org/mpris/MediaPlayer2";
    static constexpr const char* PlayerInterface = "org.mpris.MediaPlayer2.Player";

    // Publishes the player on the bus; none when the bus cannot be reached
    // or refuses the object, and the program then runs without it.
    static std::unique_ptr<MprisService> publish(MediaPlayerControl& control,
                                                 const QDBusConnection& bus = QDBusConnection::sessionBus());
    ~MprisService() override;

    // The bus name taken.
    QString serviceName() const { return m_serviceName; }

private:
    MprisService(MediaPlayerControl& control, const QDBusConnection& bus);
    bool registerOn(const QString& baseName);
    void announceChanges();

    MediaPlayerControl& m_control;
    QDBusConnection m_bus;
    QObject m_host;
    MprisPlayerAdaptor* m_player = nullptr;
    QString m_serviceName;
    QVariantMap m_announced;
    bool m_jumped = false;
    QTimer m_gather;
};

} // namespace harmonet
