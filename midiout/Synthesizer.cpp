#include "midiout/Synthesizer.h"

#include "midiout/AudioLibraryLog.h"
#include "midiout/LiveAudioOutput.h"
#include "midiout/MidiOutError.h"
#include "midiout/Pcm16.h"
#include "midiout/SoundFontLocator.h"
#include "midiout/SynthRenderer.h"

#include <fluidsynth.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <vector>

namespace harmonet {

namespace {
// Audio buffer of the live synthesizer: 4 periods of 256 frames, about 23 ms
// at 44.1 kHz, short enough that notes follow the player's clock closely.
constexpr int periodFrames = 256;
constexpr int periodCount = 4;

// Whether path starts as a SoundFont 2 file does ("RIFF", length, "sfbk").
// Other files are not handed to FluidSynth, whose fallback loaders report
// such files noisily on standard error.
bool looksLikeSoundFont(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray head = file.read(12);
    return head.size() == 12 && head.startsWith("RIFF") && head.mid(8, 4) == "sfbk";
}
} // namespace

struct Synthesizer::Fluid {
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
    std::unique_ptr<SynthRenderer> renderer;
    std::unique_ptr<LiveAudioOutput> live;
    // Planar scratch of offline rendering.
    std::vector<float> left;
    std::vector<float> right;

    ~Fluid()
    {
        live.reset(); // stops rendering before the synthesizer goes
        renderer.reset();
        if (synth) {
            delete_fluid_synth(synth);
        }
        if (settings) {
            delete_fluid_settings(settings);
        }
    }
};

const std::chrono::milliseconds Synthesizer::schedulingDelay = SynthRenderer::schedulingDelay;

Synthesizer::Synthesizer(Output output, int sampleRate, const QStringList& soundFonts,
                         const SynthOutputStage& stage)
    : m_fluid(std::make_unique<Fluid>()), m_output(output), m_sampleRate(sampleRate)
{
    quietenAudioLibraries();
    if (sampleRate < 8000 || sampleRate > 96000) {
        throw EmidioutputError(QStringLiteral("Sample rate %1 Hz is outside 8000 to 96000 Hz").arg(sampleRate),
                               MidiSynthesizerFailed);
    }

    fluid_settings_t* settings = m_fluid->settings = new_fluid_settings();
    if (!settings) {
        throw EmidioutputError::fromResult(MidiSynthesizerFailed);
    }
    // No real-time scheduling and no locked memory: both need privileges an
    // ordinary desktop user does not have.
    fluid_settings_setint(settings, "audio.realtime-prio", 0);
    fluid_settings_setint(settings, "synth.lock-memory", 0);
    fluid_settings_setint(settings, "audio.period-size", periodFrames);
    fluid_settings_setint(settings, "audio.periods", periodCount);
    fluid_settings_setnum(settings, "synth.sample-rate", sampleRate);
    // Answers system-exclusive messages to the usual device of Roland GS
    // instruments (the drum part of a channel among them).
    fluid_settings_setint(settings, "synth.device-id", 0x10);

    m_fluid->synth = new_fluid_synth(settings);
    if (!m_fluid->synth) {
        throw EmidioutputError::fromResult(MidiSynthesizerFailed);
    }

    QStringList unusable;
    for (const QString& candidate : soundFonts) {
        if (!QFileInfo(candidate).isFile()) {
            continue;
        }
        if (looksLikeSoundFont(candidate) &&
            fluid_synth_sfload(m_fluid->synth, QFile::encodeName(candidate).constData(), 1) != FLUID_FAILED) {
            m_soundFontPath = candidate;
            break;
        }
        unusable << candidate;
    }
    if (m_soundFontPath.isEmpty()) {
        QString advice = noSoundFontAdvice(soundFonts);
        if (!unusable.isEmpty()) {
            advice = QCoreApplication::translate("Output", "Not a usable SoundFont: %1. ").arg(unusable.join(QStringLiteral(", "))) + advice;
        }
        throw EmidioutputError(advice, MidiNoSoundFont);
    }

    m_fluid->renderer = std::make_unique<SynthRenderer>(m_fluid->synth, sampleRate, stage);
    if (output != Output::Offline) {
        QString driverName;
        char* name = nullptr;
        if (fluid_settings_dupstr(settings, "audio.driver", &name) == FLUID_OK && name) {
            driverName = QString::fromUtf8(name);
            fluid_free(name);
        }
        m_fluid->live = std::make_unique<LiveAudioOutput>(
            output == Output::AudioDevice ? LiveAudioOutput::Mode::Driver : LiveAudioOutput::Mode::Host, settings,
            *m_fluid->renderer, sampleRate, driverName);
    }
}

Synthesizer::~Synthesizer() = default;

void Synthesizer::play(const QByteArray& message)
{
    play(message, std::chrono::steady_clock::now());
}

void Synthesizer::play(const QByteArray& message, TimePoint due)
{
    const auto* bytes = reinterpret_cast<const quint8*>(message.constData());
    const int size = static_cast<int>(std::min<qsizetype>(message.size(), 3));
    if (m_output == Output::Offline) {
        m_fluid->renderer->apply(bytes, size, false);
    } else {
        m_fluid->renderer->schedule(bytes, size, false, due);
    }
}

void Synthesizer::playSysex(const QByteArray& message)
{
    playSysex(message, std::chrono::steady_clock::now());
}

void Synthesizer::playSysex(const QByteArray& message, TimePoint due)
{
    qsizetype begin = 0;
    qsizetype end = message.size();
    if (begin < end && static_cast<quint8>(message[begin]) == 0xF0) {
        ++begin;
    }
    if (begin < end && static_cast<quint8>(message[end - 1]) == 0xF7) {
        --end;
    }
    if (begin >= end) {
        return;
    }
    const auto* bytes = reinterpret_cast<const quint8*>(message.constData() + begin);
    const int size = static_cast<int>(end - begin);
    if (m_output == Output::Offline) {
        m_fluid->renderer->apply(bytes, size, true);
    } else {
        m_fluid->renderer->schedule(bytes, size, true, due);
    }
}

void Synthesizer::requireOffline() const
{
    if (m_output != Output::Offline) {
        throw EmidioutputError(QStringLiteral("Only the offline synthesizer renders on request"),
                               MidiSynthesizerFailed);
    }
}

void Synthesizer::renderPlanar(std::size_t frames)
{
    requireOffline();
    m_fluid->left.resize(frames);
    m_fluid->right.resize(frames);
    m_fluid->renderer->render(m_fluid->left.data(), m_fluid->right.data(), static_cast<int>(frames));
}

void Synthesizer::setReverbMayRest(bool mayRest)
{
    requireOffline();
    m_fluid->renderer->setReverbMayRest(mayRest);
}

qint64 Synthesizer::reverbRestedFrames() const
{
    return m_fluid->renderer->reverbRestedFrames();
}

void Synthesizer::renderPeriod(std::span<float> left, std::span<float> right, TimePoint now)
{
    if (m_output != Output::Callback) {
        throw EmidioutputError(QStringLiteral("Only a synthesizer driven by its host renders periods"),
                               MidiSynthesizerFailed);
    }
    const std::size_t frames = std::min(left.size(), right.size());
    m_fluid->renderer->render(left.data(), right.data(), static_cast<int>(frames), now);
}

void Synthesizer::render(std::span<float> stereo)
{
    const std::size_t frames = stereo.size() / 2;
    renderPlanar(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        stereo[2 * i] = m_fluid->left[i];
        stereo[2 * i + 1] = m_fluid->right[i];
    }
}

void Synthesizer::render(std::span<qint16> stereo)
{
    const std::size_t frames = stereo.size() / 2;
    renderPlanar(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        stereo[2 * i] = pcm16(m_fluid->left[i]);
        stereo[2 * i + 1] = pcm16(m_fluid->right[i]);
    }
}

bool Synthesizer::hasAudioOutput() const
{
    return m_fluid->live && m_fluid->live->hasAudioOutput();
}

QString Synthesizer::audioNotice() const
{
    return m_fluid->live ? m_fluid->live->notice() : QString();
}

void Synthesizer::setAudioNoticeHandler(std::function<void()> changed)
{
    if (m_fluid->live) {
        m_fluid->live->setNoticeHandler(std::move(changed));
    }
}

int Synthesizer::activeVoices() const
{
    return fluid_synth_get_active_voice_count(m_fluid->synth);
}

} // namespace harmonet
