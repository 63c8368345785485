#include "midiout/MidiOut.h"

#include "midiout/MidiBackend.h"
#include "midiout/MidiLog.h"
#include "midiout/MidiMessage.h"

#include "core/ErrorReport.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <algorithm>
#include <limits>

namespace harmonet {

TMidiOutput::TMidiOutput(QObject* parent) : TMidiOutput(MidiDeviceList::createDefault(), parent) {}

TMidiOutput::TMidiOutput(std::shared_ptr<MidiDeviceList> devices, QObject* parent) : QObject(parent)
{
    setDeviceList(std::move(devices));
}

TMidiOutput::~TMidiOutput()
{
    if (IsOpen()) {
        runGuarded([this] { CloseDevice(); });
    }
}

void TMidiOutput::setDeviceList(std::shared_ptr<MidiDeviceList> devices)
{
    if (IsOpen()) {
        throw EmidioutputError(QStringLiteral("Change to the device list while device was open"));
    }
    m_devices = devices ? std::move(devices) : std::make_shared<MidiDeviceList>(
                                                   std::vector<std::shared_ptr<MidiBackend>>{});
    m_deviceCount = static_cast<quint16>(std::min<int>(m_devices->count(), std::numeric_limits<quint16>::max()));
    m_deviceId = 0;
    m_productName.clear();
}

void TMidiOutput::raise(const EmidioutputError& error)
{
    m_lastError = error.code();
    throw error;
}

void TMidiOutput::setDeviceID(int id)
{
    if (IsOpen()) {
        throw EmidioutputError(QStringLiteral("Change to DeviceID while device was open"));
    }
    if (id >= static_cast<int>(m_deviceCount)) {
        throw EmidioutputError(QStringLiteral("Invalid device ID"));
    }
    m_deviceId = id;
    try {
        m_productName = m_devices->name(id);
        m_lastError = MidiNoError;
    } catch (const EmidioutputError& error) {
        raise(error); // the id stays chosen, the name stays the previous one
    }
}

void TMidiOutput::setProductName(const QString& name)
{
    if (IsOpen()) {
        throw EmidioutputError(QStringLiteral("Change to ProductName while device was open"));
    }
    // The mapper is searched first, so its name selects it even when a device
    // has the same name; names compare exactly, letter case included.
    int found = m_deviceCount;
    for (int id = -1; id < static_cast<int>(m_deviceCount); ++id) {
        QString deviceName;
        try {
            deviceName = m_devices->name(id);
        } catch (const EmidioutputError& error) {
            raise(error);
        }
        if (deviceName == name) {
            m_productName = name;
            found = id;
            break;
        }
    }
    if (m_productName != name) {
        throw EmidioutputError(QCoreApplication::translate("Output", "MIDI output Device %1 not installed").arg(name));
    }
    setDeviceID(found);
}

bool TMidiOutput::OpenDevice()
{
    if (IsOpen()) {
        return true; // the selected device is already open; a second connection would leak
    }
    try {
        m_port = m_devices->open(m_deviceId);
    } catch (const EmidioutputError& error) {
        m_lastError = error.code() != MidiNoError ? error.code() : quint16(MidiUnspecifiedError);
        m_lastOpenFailure = error.message();
        return false;
    } catch (const std::exception& error) {
        m_lastError = MidiDriverError;
        m_lastOpenFailure = QString::fromLocal8Bit(error.what());
        return false;
    }
    m_lastError = MidiNoError;
    m_lastOpenFailure.clear();
    m_log = MidiLog::fromEnvironment();
    m_openedAt.start();
    attachNoticeHandler();
    return true;
}

void TMidiOutput::attachNoticeHandler()
{
    // The device may report from any thread: the notice is queued to this
    // object's thread (and dropped with the object).
    m_port->setNoticeHandler([this] {
        QMetaObject::invokeMethod(this, [this] { emit DeviceNoticeChanged(); }, Qt::QueuedConnection);
    });
}

void TMidiOutput::releasePort()
{
    m_port->setNoticeHandler({});
    m_port.reset();
    m_log.reset();
}

void TMidiOutput::deviceLost(const EmidioutputError& error)
{
    try {
        m_port->close();
    } catch (const std::exception&) {
        // The device is gone: there is nothing left to close properly.
    }
    releasePort();
    m_lost = true;
    m_lostNotice = QCoreApplication::translate("Output", "%1. Choose another output device in the settings.").arg(error.message());
    QMetaObject::invokeMethod(
        this,
        [this, name = m_productName] {
            emit DeviceLost(name);
            emit DeviceNoticeChanged();
        },
        Qt::QueuedConnection);
    raise(error);
}

void TMidiOutput::RefreshDeviceList()
{
    m_devices = m_devices->relisted();
    m_deviceCount = static_cast<quint16>(std::min<int>(m_devices->count(), std::numeric_limits<quint16>::max()));
    if (m_productName.isEmpty() || m_deviceId == -1) {
        return; // nothing chosen yet, or the mapper, which stays the mapper
    }
    for (int id = 0; id < m_devices->count(); ++id) {
        if (m_devices->name(id) == m_productName) {
            m_deviceId = id;
            return;
        }
    }
}

bool TMidiOutput::CloseDevice()
{
    if (!IsOpen()) {
        return false;
    }
    if (m_lost) {
        m_lost = false; // closed when it went away
        m_lastError = MidiNoError;
        return true;
    }
    m_port->setNoticeHandler({});
    try {
        m_port->close();
    } catch (const EmidioutputError& error) {
        attachNoticeHandler();
        raise(error); // still open: the caller may try again
    }
    releasePort();
    m_lastError = MidiNoError;
    return true;
}

QString TMidiOutput::DeviceNotice() const
{
    if (m_lost) {
        return m_lostNotice;
    }
    return m_port ? m_port->notice() : QString();
}

void TMidiOutput::SendEvent(const TMyMidiEvent& event, Due due)
{
    if (!IsOpen()) {
        throw EmidioutputError(QCoreApplication::translate("Output", "MIDI Output device not open"));
    }
    if (!event.SysexData) {
        SendShort(event.StatusByte, event.FirstData, event.SecondData, due);
    } else {
        SendLong(event.SysexData.get(), event.SysexSize, due);
    }
}

void TMidiOutput::SendShort(quint8 status, quint8 data1, quint8 data2, Due due)
{
    if (m_lost) {
        m_lastError = MidiDeviceRemoved; // nothing to send it to
        return;
    }
    if (!m_port) {
        raise(EmidioutputError::fromResult(MidiInvalidHandle));
    }
    if (status == 0xF0 || status == 0xF7) {
        // The start or end of a system-exclusive message without its bytes:
        // alone on the wire it would leave a device waiting for the rest.
        // Such messages go out whole through SendLong; this one is dropped.
        m_lastError = MidiNoError;
        return;
    }
    const QByteArray bytes = shortMessageBytes(status, data1, data2);
    if (bytes.isEmpty()) {
        raise(EmidioutputError::fromResult(MidiInvalidMessage));
    }
    try {
        if (due) {
            m_port->sendShortAt(bytes, *due);
        } else {
            m_port->sendShort(bytes);
        }
    } catch (const EmidioutputError& error) {
        if (error.code() == MidiDeviceRemoved) {
            deviceLost(error);
        }
        raise(error);
    }
    m_lastError = MidiNoError;
    logMessage(bytes);
}

void TMidiOutput::SendLong(const quint8* data, quint16 length, Due due)
{
    if (m_lost) {
        m_lastError = MidiDeviceRemoved;
        return;
    }
    if (!m_port) {
        raise(EmidioutputError::fromResult(MidiInvalidHandle));
    }
    if (!data || length == 0) {
        raise(EmidioutputError::fromResult(MidiEmptyLongMessage));
    }
    auto holder = std::make_unique<TMyMidiHdr>(std::span<const quint8>(data, length));
    maskLongMessage(holder->data());
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(holder->data().data()),
                                                     holder->size());
    const quint64 ticket = m_nextTicket++;
    m_inFlight.emplace(ticket, std::move(holder));
    try {
        // The device may report completion from any thread: the notice is
        // queued to this object, whose thread frees the holder.
        auto done = [this, ticket] {
            QMetaObject::invokeMethod(this, [this, ticket] { longMessageDone(ticket); }, Qt::QueuedConnection);
        };
        if (due) {
            m_port->sendLongAt(bytes, *due, std::move(done));
        } else {
            m_port->sendLong(bytes, std::move(done));
        }
    } catch (const EmidioutputError& error) {
        m_inFlight.erase(ticket);
        if (error.code() == MidiDeviceRemoved) {
            deviceLost(error);
        }
        raise(error);
    }
    m_lastError = MidiNoError;
    logMessage(bytes);
}

void TMidiOutput::longMessageDone(quint64 ticket)
{
    const auto holder = m_inFlight.find(ticket);
    if (holder == m_inFlight.end()) {
        return;
    }
    m_inFlight.erase(holder);
    if (m_onMidiOutput) {
        runGuarded([this] { m_onMidiOutput(this); });
    }
}

void TMidiOutput::logMessage(const QByteArray& bytes)
{
    if (m_log) {
        m_log->write(m_openedAt.elapsed(), bytes);
    }
}

} // namespace harmonet
