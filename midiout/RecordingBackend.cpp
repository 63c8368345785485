#include "midiout/RecordingBackend.h"

#include "midiout/MidiOutError.h"

#include <utility>

namespace harmonet {

class RecordingBackend::Port : public MidiPort {
public:
    Port(std::shared_ptr<RecordingBackend> owner, int device) : m_owner(std::move(owner)), m_device(device) {}

    // A port destroyed without a successful close forgets the long messages it
    // holds: whoever waited for them is gone.
    ~Port() override
    {
        m_owner->setNoticeHandler(this, {});
        if (!m_closed) {
            m_owner->portDropped(this);
        }
    }

    void sendShort(const QByteArray& bytes) override
    {
        m_owner->checkSend();
        m_owner->record(m_device, bytes, false);
    }

    void sendShortAt(const QByteArray& bytes, TimePoint due) override
    {
        m_owner->checkSend();
        m_owner->record(m_device, bytes, false, due);
    }

    void sendLong(const QByteArray& bytes, std::function<void()> done) override
    {
        m_owner->checkSend();
        m_owner->record(m_device, bytes, true);
        {
            const std::lock_guard lock(m_owner->m_mutex);
            if (m_owner->m_hold) {
                m_owner->m_held.emplace_back(this, std::move(done));
                return;
            }
        }
        done();
    }

    void close() override
    {
        m_owner->portClosing(this);
        m_closed = true;
    }

    QString notice() const override { return m_owner->notice(); }
    void setNoticeHandler(std::function<void()> changed) override { m_owner->setNoticeHandler(this, std::move(changed)); }

private:
    std::shared_ptr<RecordingBackend> m_owner;
    int m_device;
    bool m_closed = false;
};

RecordingBackend::RecordingBackend(QStringList deviceNames) : m_names(std::move(deviceNames)) {}

QStringList RecordingBackend::deviceNames() const
{
    const std::lock_guard lock(m_mutex);
    return m_names;
}

void RecordingBackend::setDeviceNames(QStringList names)
{
    const std::lock_guard lock(m_mutex);
    m_names = std::move(names);
}

std::unique_ptr<MidiPort> RecordingBackend::open(int index)
{
    const std::lock_guard lock(m_mutex);
    if (index < 0 || index >= m_names.size()) {
        throw EmidioutputError::fromResult(MidiBadDeviceId);
    }
    if (const Failure failure = std::exchange(m_openFailure, {}); failure.code != MidiNoError) {
        throw EmidioutputError::fromResult(failure.code, failure.text);
    }
    ++m_openPorts;
    return std::make_unique<Port>(shared_from_this(), index);
}

std::vector<RecordedMessage> RecordingBackend::messages() const
{
    const std::lock_guard lock(m_mutex);
    return m_messages;
}

void RecordingBackend::clearMessages()
{
    const std::lock_guard lock(m_mutex);
    m_messages.clear();
}

int RecordingBackend::openPorts() const
{
    const std::lock_guard lock(m_mutex);
    return m_openPorts;
}

void RecordingBackend::failNextOpen(quint16 code, const QString& text)
{
    const std::lock_guard lock(m_mutex);
    m_openFailure = {code, text};
}

void RecordingBackend::failSends(quint16 code, const QString& text)
{
    const std::lock_guard lock(m_mutex);
    m_sendFailure = {code, text};
}

void RecordingBackend::failNextClose(quint16 code, const QString& text)
{
    const std::lock_guard lock(m_mutex);
    m_closeFailure = {code, text};
}

void RecordingBackend::stopFailing()
{
    const std::lock_guard lock(m_mutex);
    m_openFailure = m_sendFailure = m_closeFailure = {};
}

void RecordingBackend::holdLongMessages(bool hold)
{
    const std::lock_guard lock(m_mutex);
    m_hold = hold;
}

int RecordingBackend::heldLongMessages() const
{
    const std::lock_guard lock(m_mutex);
    return static_cast<int>(m_held.size());
}

void RecordingBackend::releaseLongMessages()
{
    std::vector<std::pair<const void*, std::function<void()>>> released;
    {
        const std::lock_guard lock(m_mutex);
        released.swap(m_held);
    }
    for (auto& held : released) {
        held.second();
    }
}

QString RecordingBackend::notice() const
{
    const std::lock_guard lock(m_mutex);
    return m_notice;
}

void RecordingBackend::setNoticeHandler(const void* port, std::function<void()> changed)
{
    const std::lock_guard lock(m_mutex);
    std::erase_if(m_noticeHandlers, [port](const auto& handler) { return handler.first == port; });
    if (changed) {
        m_noticeHandlers.emplace_back(port, std::move(changed));
    }
}

void RecordingBackend::setNotice(const QString& notice)
{
    std::vector<std::function<void()>> handlers;
    {
        const std::lock_guard lock(m_mutex);
        m_notice = notice;
        for (const auto& handler : m_noticeHandlers) {
            handlers.push_back(handler.second);
        }
    }
    for (const auto& changed : handlers) {
        changed();
    }
}

void RecordingBackend::record(int device, const QByteArray& bytes, bool isLong,
                               std::optional<std::chrono::steady_clock::time_point> due)
{
    const auto time = std::chrono::steady_clock::now() - m_start;
    const std::lock_guard lock(m_mutex);
    m_messages.push_back({device, std::chrono::duration_cast<std::chrono::nanoseconds>(time), bytes, isLong, due});
}

void RecordingBackend::checkSend() const
{
    const std::lock_guard lock(m_mutex);
    if (m_sendFailure.code != MidiNoError) {
        throw EmidioutputError::fromResult(m_sendFailure.code, m_sendFailure.text);
    }
}

std::vector<std::function<void()>> RecordingBackend::takeHeld(const void* port)
{
    std::vector<std::function<void()>> taken;
    for (auto it = m_held.begin(); it != m_held.end();) {
        if (it->first == port) {
            taken.push_back(std::move(it->second));
            it = m_held.erase(it);
        } else {
            ++it;
        }
    }
    return taken;
}

void RecordingBackend::portClosing(const void* port)
{
    std::vector<std::function<void()>> released;
    {
        const std::lock_guard lock(m_mutex);
        if (const Failure failure = std::exchange(m_closeFailure, {}); failure.code != MidiNoError) {
            throw EmidioutputError::fromResult(failure.code, failure.text);
        }
        // A closing device hands back every long message it still holds.
        released = takeHeld(port);
        --m_openPorts;
    }
    for (auto& done : released) {
        done();
    }
}

void RecordingBackend::portDropped(const void* port)
{
    const std::lock_guard lock(m_mutex);
    takeHeld(port);
    --m_openPorts;
}

} // namespace harmonet
