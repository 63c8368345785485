#pragma once

#include <QtGlobal>

#include <memory>
#include <span>
#include <vector>

namespace harmonet {

// The pitch heard in one stretch of the voice: its time, the pitch as a
// (fractional) MIDI key, and how sure the detector is of it. Unvoiced frames
// (silence, breath, noise) carry no pitch.
struct PitchFrame {
    // The middle of the analysed window, in ms from the first sample pushed.
    double ms = 0.0;
    // 69.0 is A4 (440 Hz); 0 when unvoiced.
    float midi = 0.0f;
    float confidence = 0.0f;
    bool voiced = false;
};

// Finds the pitch of one voice in mono audio, hop by hop, with aubio's YIN
// detector computed through the FFT ("yinfast": the results of "yin" at a
// fraction of its cost) over a 2048-sample window moved 256 samples at a
// time. ("yinfft", the spectrally weighted variant, reports no confidence in
// aubio 0.4.9 and places a clean tone several cents sharp.)
// A frame is unvoiced when the hop at the middle of its window is quieter
// than the silence level (so a note's start and end are placed where the
// pitch is placed, at the window's middle), or when the detector is not
// confident of the pitch. Audio comes in blocks of any size; samples that
// are no numbers (NaN, infinity) count as silence, and values beyond full
// scale are clipped, so no input can derail it.
class PitchTracker {
public:
    static constexpr int WindowSamples = 2048;
    static constexpr int HopSamples = 256;
    // Quieter hops are silence (dB below full scale).
    static constexpr float SilenceDb = -55.0f;
    // A pitch heard with less confidence is not taken.
    static constexpr float MinConfidence = 0.80f;
    // The lowest and highest fundamental taken as sung (Hz).
    static constexpr double LowestHz = 60.0;
    static constexpr double HighestHz = 1400.0;

    // Raises std::invalid_argument for a rate outside 8000..192000.
    explicit PitchTracker(int sampleRate);
    ~PitchTracker();
    PitchTracker(const PitchTracker&) = delete;
    PitchTracker& operator=(const PitchTracker&) = delete;

    // Analyses the samples (values from -1 to 1) and appends one frame per
    // hop completed.
    void push(std::span<const float> samples, std::vector<PitchFrame>& frames);

    int sampleRate() const { return m_sampleRate; }
    // Samples pushed so far.
    qint64 samplesPushed() const { return m_pushed; }

private:
    void analyseHop(std::vector<PitchFrame>& frames);

    int m_sampleRate;
    struct Detector;
    std::unique_ptr<Detector> m_detector;
    // The level (dB) of the last hops, the newest last: the middle of the
    // window lies MiddleHops hops back.
    static constexpr int MiddleHops = WindowSamples / HopSamples / 2 - 1;
    float m_levels[MiddleHops + 1] = {};
    int m_filled = 0;
    qint64 m_pushed = 0;
    qint64 m_hops = 0;
};

// The frequency in Hz of a fractional MIDI key, and back.
double hzOfMidi(double midi);
double midiOfHz(double hz);

} // namespace harmonet
