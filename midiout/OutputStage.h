#pragma once

#include <QObject>

#include <array>
#include <atomic>

namespace harmonet {

// The built-in synthesizer's output stage: the volume, mute, bass and treble
// that the system mixer would offer, applied to every block the synthesizer
// renders (live through the audio driver's callback, and offline alike, so
// what is heard is what the render tool writes).
//
// Raw values are those of a sound card's mixer: volumes 0..65535 per stereo
// channel, mutes 0..1, bass and treble 0..65535 with 32768 flat (a shelf of
// -12 dB at 0 to +12 dB at 65535; bass about 200 Hz, treble about 4 kHz).
// The speakers line (master volume and mute, bass, treble) and the
// synthesizer line (synthesizer volume and mute) both act on the synthesizer's
// output, their gains multiplied.
//
// Setters and value() belong to the GUI thread; the audio thread reads the
// values through atomics only (no lock, no allocation on the audio thread).
// changed() is emitted on the GUI thread for every change of a value, also one
// the program made itself, so a mixer follows the stage like a sound card.
class SynthOutputStage : public QObject {
    Q_OBJECT

public:
    enum Control { MasterVolume, MasterMute, SynthVolume, SynthMute, Bass, Treble };
    static constexpr int controlCount = 6;
    static constexpr quint32 rawMaximum = 65535;
    static constexpr quint32 toneFlat = 32768;

    explicit SynthOutputStage(QObject* parent = nullptr);

    // The stage every built-in synthesizer of this process plays through.
    // Starts at full volume, unmuted, flat.
    static SynthOutputStage& shared();

    // 2 for the volumes (left, right), 1 for mutes and tone.
    static int channels(Control control);
    static quint32 maximum(Control control);

    quint32 value(Control control, int channel = 0) const;
    // Clamps to the control's range; a channel outside the control's channels
    // is ignored. Emits changed(control) when the stored value differs.
    void setValue(Control control, int channel, quint32 value);
    // Full volume, unmuted, flat.
    void reset();

    // Audio thread: applies the stage in place to interleaved stereo frames
    // rendered at sampleRate. Each instance of the synthesizer keeps its own
    // filter state in a Processor.
    class Processor;

    // The volume mapping: a raw volume v gives the linear gain (v / 65535)^3,
    // so the slider's travel feels even to the ear (half the range is -18 dB,
    // a quarter -36 dB) and 0 is silence. Master and synthesizer gains multiply.
    static double volumeGain(quint32 raw);
    // The shelf of a raw tone value in dB: -12 at 0, 0 at 32768, +12 at 65535.
    static double toneDb(quint32 raw);
    // The bands the shelves act on: below bassHz and above trebleHz they give
    // at least 9.5 dB of their 12 dB; at 1 kHz they stay within half a dB.
    static constexpr double bassHz = 200.0;
    static constexpr double trebleHz = 4000.0;
    static constexpr double shelfRangeDb = 12.0;

signals:
    void changed(int control);

private:
    friend class Processor;
    static constexpr int slotCount = 8; // MasterVolume L/R, MasterMute, SynthVolume L/R, SynthMute, Bass, Treble
    static int slot(Control control, int channel);
    std::array<std::atomic<quint32>, slotCount> m_values;
};

// The stage's state on one synthesizer's audio thread: the shelf filters'
// memory and the gains it is ramping. process() reads the stage's values at
// the start of every block, recomputes the filters only when a tone value
// changed, and moves each channel's gain towards its target by at most
// 1/rampFrames of full scale per frame (a mute is silent within rampMs).
// process() never locks, allocates or throws.
class SynthOutputStage::Processor {
public:
    static constexpr double rampMs = 10.0;

    Processor(const SynthOutputStage& stage, double sampleRate);

    // Applies the stage in place to planar stereo.
    void process(float* left, float* right, int frames) noexcept;
    // The same for interleaved stereo (left, right, left, ...).
    void processInterleaved(float* stereo, int frames) noexcept;

private:
    struct Biquad {
        double b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
        double s1[2] = {0, 0};
        double s2[2] = {0, 0};
        bool flat = true;
    };
    void readTargets() noexcept;
    template <int stride>
    void run(float* left, float* right, int frames) noexcept;

    const SynthOutputStage& m_stage;
    double m_sampleRate;
    float m_step;
    std::array<float, 2> m_gain{};
    std::array<float, 2> m_target{};
    quint32 m_bassRaw = toneFlat;
    quint32 m_trebleRaw = toneFlat;
    Biquad m_bass;
    Biquad m_treble;
};

} // namespace harmonet
