#pragma once

#include "midiout/MidiDeviceList.h"
#include "midiout/MidiOutError.h"
#include "midiout/Miditype.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>

namespace harmonet {

class MidiLog;
class MidiPort;

// The program's MIDI output device: chooses one of the numbered output
// devices (-1 the mapper, 0..DeviceCount()-1 the devices), opens and closes
// it and sends short and long messages to it. Every data byte it passes on is
// a 7-bit value. Lives and is used on the GUI thread.
class TMidiOutput : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString ProductName READ ProductName WRITE setProductName)
    Q_PROPERTY(int DeviceID READ DeviceID WRITE setDeviceID)

public:
    using TNotifyEvent = std::function<void(QObject* sender)>;

    // Uses MidiDeviceList::createDefault() (the built-in synthesizer and the
    // system's ports, or the list a test installed).
    explicit TMidiOutput(QObject* parent = nullptr);
    TMidiOutput(std::shared_ptr<MidiDeviceList> devices, QObject* parent = nullptr);
    ~TMidiOutput() override;

    QString ProductName() const { return m_productName; }
    int DeviceID() const { return m_deviceId; }

    // Select a device by number or by exact name; both raise EmidioutputError
    // while the device is open or when there is no such device.
    void setDeviceID(int id);
    void setProductName(const QString& name);

    // Number of devices, counted when the device list was installed.
    quint16 DeviceCount() const { return m_deviceCount; }

    // Replaces the devices to choose from (raises while open) and returns to
    // the state after creation: DeviceID 0, no ProductName.
    void setDeviceList(std::shared_ptr<MidiDeviceList> devices);
    std::shared_ptr<MidiDeviceList> deviceList() const { return m_devices; }

    // Opens the selected device: false on any failure, which raises nothing
    // (LastOpenFailure() then says why).
    virtual bool OpenDevice();
    // Closes the device: true when one was open and has been closed.
    virtual bool CloseDevice();
    // The moment on the steady clock a message fell due (for example the
    // moment the sequencer's event fell due), or none: it falls due as it is
    // sent. A device that plays messages at their time (the built-in
    // synthesizer) uses it; the others send at once.
    using TimePoint = std::chrono::steady_clock::time_point;
    using Due = std::optional<TimePoint>;

    // Sends a short message, or the long one when the event carries sysex data.
    virtual void SendEvent(const TMyMidiEvent& event, Due due = std::nullopt);
    // A short message; a lone 0xF0 or 0xF7 (a system-exclusive message
    // without its bytes) is not sent.
    virtual void SendShort(quint8 status, quint8 data1, quint8 data2, Due due = std::nullopt);
    virtual void SendLong(const quint8* data, quint16 length, Due due = std::nullopt);

    // True from a successful OpenDevice to CloseDevice, also after the device
    // went away in between (IsLost()).
    bool IsOpen() const { return m_port != nullptr || m_lost; }
    // The open device went away (a port unplugged): the send that found out
    // raised EmidioutputError (code MidiDeviceRemoved) naming it, DeviceLost
    // was emitted, and every message is dropped until CloseDevice.
    bool IsLost() const { return m_lost; }

    // Looks for the devices again (a port may have come or gone since the
    // list was made): DeviceCount() and the names follow what is there now.
    // While a device is chosen whose name is still listed, DeviceID follows
    // that name; an open device stays open.
    void RefreshDeviceList();

    // Result code of the last call into a device (0 after success).
    quint16 LastError() const { return m_lastError; }
    // The text of a result code.
    static QString ErrorText(quint16 code) { return midiResultText(code); }
    // Why the last OpenDevice failed, for the user (empty after a success).
    QString LastOpenFailure() const { return m_lastOpenFailure; }
    // A remark on the open device the user should see, such as that the
    // built-in synthesizer has no audio output or that the device went away;
    // empty when all is well.
    QString DeviceNotice() const;

    // Long messages the device has not yet reported done (their holders live).
    int LongMessagesInFlight() const { return static_cast<int>(m_inFlight.size()); }

    // Called (on the GUI thread) each time the device has finished with a long
    // message and its holder has been freed.
    const TNotifyEvent& Onmidioutput() const { return m_onMidiOutput; }
    void SetOnmidioutput(TNotifyEvent handler) { m_onMidiOutput = std::move(handler); }

signals:
    // The open device's remark (DeviceNotice()) changed by itself, for
    // example when the synthesizer's audio output was lost or came back.
    void DeviceNoticeChanged();
    // The open device named name went away; the owner should stop playing.
    void DeviceLost(const QString& name);

private:
    [[noreturn]] void deviceLost(const EmidioutputError& error);
    void attachNoticeHandler();
    void releasePort();
    void sendToPort(const QByteArray& bytes);
    void longMessageDone(quint64 ticket);
    void logMessage(const QByteArray& bytes);
    [[noreturn]] void raise(const EmidioutputError& error);

    std::shared_ptr<MidiDeviceList> m_devices;
    quint16 m_deviceCount = 0;
    int m_deviceId = 0;
    QString m_productName;
    std::unique_ptr<MidiPort> m_port;
    std::unique_ptr<MidiLog> m_log;
    QElapsedTimer m_openedAt;
    quint16 m_lastError = 0;
    QString m_lastOpenFailure;
    quint64 m_nextTicket = 0;
    std::map<quint64, std::unique_ptr<TMyMidiHdr>> m_inFlight;
    TNotifyEvent m_onMidiOutput;
    bool m_lost = false;
    QString m_lostNotice;
};

} // namespace harmonet
