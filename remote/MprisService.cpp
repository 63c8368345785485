#include "remote/MprisService.h"

#include "remote/MediaPlayerControl.h"
#include "remote/MprisAdaptors.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>

namespace harmonet {

MprisService::MprisService(MediaPlayerControl& control, const QDBusConnection& bus)
    : m_control(control), m_bus(bus)
{
    new MprisRootAdaptor(&m_host, control);
    m_player = new MprisPlayerAdaptor(&m_host, control);
    m_announced = playerProperties(control.state());
    m_gather.setSingleShot(true);
    m_gather.setInterval(0);
    connect(&m_gather, &QTimer::timeout, this, &MprisService::announceChanges);
    connect(&control, &MediaPlayerControl::stateChanged, &m_gather, qOverload<>(&QTimer::start));
    connect(&control, &MediaPlayerControl::positionJumped, this, [this] {
        m_jumped = true;
        m_gather.start();
    });
}

std::unique_ptr<MprisService> MprisService::publish(MediaPlayerControl& control, const QDBusConnection& bus)
{
    if (!bus.isConnected()) {
        return nullptr;
    }
    std::unique_ptr<MprisService> service(new MprisService(control, bus));
    if (!service->registerOn(QStringLiteral("org.mpris.MediaPlayer2.harmonet"))) {
        return nullptr;
    }
    return service;
}

bool MprisService::registerOn(const QString& baseName)
{
    if (!m_bus.registerObject(QString::fromLatin1(ObjectPath), &m_host, QDBusConnection::ExportAdaptors)) {
        return false;
    }
    for (const QString& name : {baseName, baseName + QStringLiteral(".instance%1").arg(QCoreApplication::applicationPid())}) {
        if (m_bus.registerService(name)) {
            m_serviceName = name;
            return true;
        }
    }
    m_bus.unregisterObject(QString::fromLatin1(ObjectPath));
    return false;
}

MprisService::~MprisService()
{
    if (!m_serviceName.isEmpty()) {
        m_bus.unregisterService(m_serviceName);
        m_bus.unregisterObject(QString::fromLatin1(ObjectPath));
    }
}

void MprisService::announceChanges()
{
    const QVariantMap now = playerProperties(m_control.state());
    const QVariantMap changed = changedValues(m_announced, now);
    m_announced = now;
    if (!changed.isEmpty()) {
        QDBusMessage signal = QDBusMessage::createSignal(QString::fromLatin1(ObjectPath),
                                                         QStringLiteral("org.freedesktop.DBus.Properties"),
                                                         QStringLiteral("PropertiesChanged"));
        signal << QString::fromLatin1(PlayerInterface) << changed << QStringList();
        m_bus.send(signal);
    }
    if (m_jumped) {
        m_jumped = false;
        emit m_player->Seeked(m_control.positionMs() * 1000);
    }
}

} // namespace harmonet
