#include "midiout/SystemPortBackend.h"

#include "midiout/AudioLibraryLog.h"
#include "midiout/MidiOutError.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QtGlobal>

#include <rtmidi/RtMidi.h>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

#ifdef HARMONET_HAVE_JACK
#include <jack/jack.h>
#endif

#include <memory>
#include <mutex>

namespace harmonet {

namespace {

const char* const clientName = "Harmonet";

// RtMidi reports through this callback instead of printing on standard
// error: warnings go to the debug log, errors are kept for the caller to raise.
struct ErrorCollector {
    QString error;

    static void callback(RtMidiError::Type type, const std::string& text, void* self)
    {
        if (type == RtMidiError::WARNING || type == RtMidiError::DEBUG_WARNING) {
            qCDebug(lcMidiOut) << "system MIDI:" << text.c_str();
            return;
        }
        static_cast<ErrorCollector*>(self)->error = QString::fromStdString(text);
    }

    // Raises the error kept since the last check, if any.
    void raiseIfFailed()
    {
        if (!error.isEmpty()) {
            throw EmidioutputError(std::exchange(error, QString()), MidiDriverError);
        }
    }
};

#ifdef HARMONET_HAVE_JACK
void jackMessageToDebug(const char* text)
{
    qCDebug(lcMidiOut) << "JACK:" << text;
}

bool jackServerRunning()
{
    static std::once_flag once;
    std::call_once(once, [] {
        jack_set_error_function(jackMessageToDebug);
        jack_set_info_function(jackMessageToDebug);
    });
    jack_status_t status{};
    jack_client_t* probe = jack_client_open("harmonet-probe", JackNoStartServer, &status);
    if (!probe) {
        return false;
    }
    jack_client_close(probe);
    return true;
}
#endif

// Whether RtMidi can reach api here without failing (and printing) while it
// is being made: its constructor reports such failures before an error
// callback can be installed.
bool apiReachable(RtMidi::Api api)
{
    switch (api) {
    case RtMidi::LINUX_ALSA:
#ifdef Q_OS_UNIX
        return ::access("/dev/snd/seq", R_OK | W_OK) == 0;
#else
        return false;
#endif
    case RtMidi::UNIX_JACK:
#ifdef HARMONET_HAVE_JACK
        return jackServerRunning();
#else
        return false;
#endif
    case RtMidi::RTMIDI_DUMMY:
    case RtMidi::UNSPECIFIED:
        return false;
    default:
        return true;
    }
}

// An RtMidi output client of api that reports to collector, or null when the
// API cannot be used.
std::unique_ptr<RtMidiOut> makeClient(RtMidi::Api api, ErrorCollector& collector)
{
    try {
        auto client = std::make_unique<RtMidiOut>(api, clientName);
        client->setErrorCallback(&ErrorCollector::callback, &collector);
        return client;
    } catch (const RtMidiError& error) {
        qCDebug(lcMidiOut) << "system MIDI:" << error.getMessage().c_str();
        return nullptr;
    }
}

class SystemPort : public MidiPort {
public:
    SystemPort(std::unique_ptr<ErrorCollector> collector, std::unique_ptr<RtMidiOut> client, std::string name)
        : m_collector(std::move(collector)), m_client(std::move(client)), m_name(std::move(name))
    {
        m_checked.start();
    }

    void sendShort(const QByteArray& bytes) override { send(bytes); }

    void sendLong(const QByteArray& bytes, std::function<void()> done) override
    {
        send(bytes);
        done();
    }

    void close() override
    {
        m_client->closePort();
        m_collector->raiseIfFailed();
    }

private:
    // A port that goes away (a USB keyboard unplugged) is not always reported
    // by the system when it is sent to (the ALSA sequencer drops the message
    // silently); whether it is still listed is checked after a failure and
    // a few times a second while sending.
    static constexpr qint64 checkIntervalMs = 250;

    void send(const QByteArray& bytes)
    {
        m_client->sendMessage(reinterpret_cast<const unsigned char*>(bytes.constData()),
                              static_cast<size_t>(bytes.size()));
        const bool failed = !m_collector->error.isEmpty();
        if (failed || m_checked.elapsed() >= checkIntervalMs) {
            m_checked.restart();
            if (!stillListed()) {
                m_collector->error.clear();
                throw EmidioutputError(QCoreApplication::translate("Output", "The MIDI port %1 is no longer available")
                                           .arg(QString::fromStdString(m_name)),
                                       MidiDeviceRemoved);
            }
        }
        m_collector->raiseIfFailed();
    }

    bool stillListed() const
    {
        const unsigned int count = m_client->getPortCount();
        for (unsigned int i = 0; i < count; ++i) {
            if (m_client->getPortName(i) == m_name) {
                return true;
            }
        }
        return false;
    }

    std::unique_ptr<ErrorCollector> m_collector;
    std::unique_ptr<RtMidiOut> m_client;
    std::string m_name;
    QElapsedTimer m_checked;
};

} // namespace

SystemPortBackend::SystemPortBackend()
{
    quietenAudioLibraries();
    refresh();
}

void SystemPortBackend::refresh()
{
    m_ports.clear();
    std::vector<RtMidi::Api> apis;
    RtMidi::getCompiledApi(apis);
    for (const RtMidi::Api api : apis) {
        if (!apiReachable(api)) {
            continue;
        }
        ErrorCollector collector;
        const auto client = makeClient(api, collector);
        if (!client) {
            continue;
        }
        const unsigned int count = client->getPortCount();
        for (unsigned int i = 0; i < count; ++i) {
            const std::string name = client->getPortName(i);
            if (!name.empty()) {
                m_ports.push_back({static_cast<int>(api), name});
            }
        }
        if (!collector.error.isEmpty()) {
            qCDebug(lcMidiOut) << "system MIDI:" << collector.error;
        }
    }
}

QStringList SystemPortBackend::deviceNames() const
{
    QStringList names;
    for (const Entry& port : m_ports) {
        names << QString::fromStdString(port.name);
    }
    return names;
}

std::unique_ptr<MidiPort> SystemPortBackend::open(int index)
{
    if (index < 0 || index >= static_cast<int>(m_ports.size())) {
        throw EmidioutputError::fromResult(MidiBadDeviceId);
    }
    const Entry& wanted = m_ports[static_cast<std::size_t>(index)];
    auto collector = std::make_unique<ErrorCollector>();
    auto client = makeClient(static_cast<RtMidi::Api>(wanted.api), *collector);
    if (!client) {
        throw EmidioutputError::fromResult(MidiDriverError);
    }
    // Ports come and go: open the one of that name, wherever it is listed now.
    const unsigned int count = client->getPortCount();
    for (unsigned int i = 0; i < count; ++i) {
        if (client->getPortName(i) == wanted.name) {
            client->openPort(i, "Harmonet Output");
            collector->raiseIfFailed();
            return std::make_unique<SystemPort>(std::move(collector), std::move(client), wanted.name);
        }
    }
    collector->raiseIfFailed();
    throw EmidioutputError(QCoreApplication::translate("Output", "The MIDI port %1 is no longer available")
                               .arg(QString::fromStdString(wanted.name)),
                           MidiBadDeviceId);
}

} // namespace harmonet
