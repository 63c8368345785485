#include "midiout/SynthBackend.h"

#include "midiout/MidiOutError.h"

namespace harmonet {

namespace {
class SynthPort : public MidiPort {
public:
    explicit SynthPort(std::shared_ptr<Synthesizer> synth) : m_synth(std::move(synth)) {}

    void sendShort(const QByteArray& bytes) override { m_synth->play(bytes); }

    void sendLong(const QByteArray& bytes, std::function<void()> done) override
    {
        m_synth->playSysex(bytes);
        done();
    }

    void sendShortAt(const QByteArray& bytes, TimePoint due) override { m_synth->play(bytes, due); }

    // The synthesizer keeps its own copy of the bytes: the holder may go at once.
    void sendLongAt(const QByteArray& bytes, TimePoint due, std::function<void()> done) override
    {
        m_synth->playSysex(bytes, due);
        done();
    }

    void close() override { m_synth->setAudioNoticeHandler({}); }

    QString notice() const override { return m_synth->audioNotice(); }
    void setNoticeHandler(std::function<void()> changed) override { m_synth->setAudioNoticeHandler(std::move(changed)); }

private:
    std::shared_ptr<Synthesizer> m_synth;
};
} // namespace

SynthBackend::SynthBackend(Mode mode, int sampleRate, QStringList soundFonts)
    : m_mode(mode), m_sampleRate(sampleRate), m_soundFonts(std::move(soundFonts))
{
}

QStringList SynthBackend::deviceNames() const
{
    return {deviceName()};
}

std::unique_ptr<MidiPort> SynthBackend::open(int index)
{
    if (index != 0) {
        throw EmidioutputError::fromResult(MidiBadDeviceId);
    }
    auto synth = std::make_shared<Synthesizer>(
        m_mode == Mode::Offline ? Synthesizer::Output::Offline : Synthesizer::Output::AudioDevice, m_sampleRate,
        m_soundFonts);
    {
        const std::lock_guard lock(m_mutex);
        m_current = synth;
    }
    return std::make_unique<SynthPort>(std::move(synth));
}

std::shared_ptr<Synthesizer> SynthBackend::synthesizer() const
{
    const std::lock_guard lock(m_mutex);
    return m_current.lock();
}

} // namespace harmonet
