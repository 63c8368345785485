#include "singing/LatencyCalibration.h"

#include <algorithm>
#include <cmath>

namespace harmonet {

namespace {
// Power a click must reach above the noise: 13 dB.
constexpr double LeastContrast = 20.0;
// Where the click begins: its power's first rise to this share of its loudest.
constexpr double RiseShare = 0.1;
} // namespace

std::vector<double> CalibrationPlan::clickTimes()
{
    std::vector<double> times;
    for (int i = 0; i < Clicks; ++i) {
        times.push_back(FirstClickMs + i * SpacingMs);
    }
    return times;
}

double CalibrationPlan::lengthMs()
{
    return FirstClickMs + Clicks * SpacingMs + LongestDelayMs;
}

std::optional<double> clickOnsetMs(std::span<const float> recording, int sampleRate, double fromMs, double toMs)
{
    const int perMs = std::max(1, sampleRate / 1000);
    const auto first = std::size_t(std::max(0.0, fromMs) * sampleRate / 1000.0);
    const auto last = std::min(recording.size(), std::size_t(std::max(0.0, toMs) * sampleRate / 1000.0));
    std::vector<double> power;
    for (std::size_t at = first; at + std::size_t(perMs) <= last; at += std::size_t(perMs)) {
        double sum = 0.0;
        for (int i = 0; i < perMs; ++i) {
            const double sample = std::isfinite(recording[at + std::size_t(i)]) ? recording[at + std::size_t(i)] : 0.0;
            sum += sample * sample;
        }
        power.push_back(sum / perMs);
    }
    if (power.size() < 10) {
        return std::nullopt;
    }
    std::vector<double> sorted = power;
    std::nth_element(sorted.begin(), sorted.begin() + std::ptrdiff_t(sorted.size() / 2), sorted.end());
    const double noise = sorted[sorted.size() / 2];
    const double loudest = *std::max_element(power.begin(), power.end());
    if (loudest <= 0.0 || loudest < noise * LeastContrast) {
        return std::nullopt;
    }
    const double threshold = noise + (loudest - noise) * RiseShare;
    const auto rise = std::find_if(power.begin(), power.end(), [threshold](double p) { return p >= threshold; });
    return double(first) * 1000.0 / sampleRate + double(rise - power.begin()) * perMs * 1000.0 / sampleRate;
}

std::optional<double> measuredLatencyMs(std::span<const float> recording, int sampleRate,
                                        std::span<const double> playedMs)
{
    std::vector<double> delays;
    for (const double played : playedMs) {
        // Up to the next click's earliest arrival.
        const double until = played + std::min(CalibrationPlan::SpacingMs, CalibrationPlan::LongestDelayMs);
        if (const std::optional<double> onset = clickOnsetMs(recording, sampleRate, played, until)) {
            delays.push_back(*onset - played);
        }
    }
    if (delays.empty() || delays.size() * 2 <= playedMs.size()) {
        return std::nullopt;
    }
    std::nth_element(delays.begin(), delays.begin() + std::ptrdiff_t(delays.size() / 2), delays.end());
    return delays[delays.size() / 2];
}

} // namespace harmonet
