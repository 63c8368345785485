#pragma once

#include <optional>
#include <span>
#include <vector>

namespace harmonet {

// The delay from a sound leaving the speakers to its arrival in the
// microphone's recording, found by playing short clicks at known moments and
// looking for them in what the microphone heard.
struct CalibrationPlan {
    static constexpr int Clicks = 6;
    static constexpr double FirstClickMs = 500.0;
    static constexpr double SpacingMs = 700.0;
    // The longest delay looked for.
    static constexpr double LongestDelayMs = 600.0;

    // When each click is played, from the start of the recording.
    static std::vector<double> clickTimes();
    // How long the recording must run.
    static double lengthMs();
};

// Where a click begins within [fromMs, toMs) of the recording: the first
// millisecond whose power rises to a tenth of the loudest there; none when
// nothing stands out of the noise by at least 13 dB.
std::optional<double> clickOnsetMs(std::span<const float> recording, int sampleRate, double fromMs, double toMs);

// The median delay of the clicks played at playedMs (on the recording's
// timeline) as the recording has them; none unless more than half were heard.
std::optional<double> measuredLatencyMs(std::span<const float> recording, int sampleRate,
                                        std::span<const double> playedMs);

} // namespace harmonet
