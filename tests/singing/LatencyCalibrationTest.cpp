#include "singing/LatencyCalibration.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

namespace harmonet::test {
namespace {

constexpr int Rate = 44100;

// What a microphone hears of the calibration: each click (a woodblock-like
// 2 kHz knock decaying in 30 ms) delayed, and room noise.
std::vector<float> heardClicks(double delayMs, double noiseDb, int silentClick, double clickLevel = 0.4)
{
    std::vector<float> heard(std::size_t(CalibrationPlan::lengthMs() * Rate / 1000.0));
    std::mt19937 random(3);
    std::normal_distribution<double> noise(0.0, std::pow(10.0, noiseDb / 20.0));
    for (float& sample : heard) {
        sample = float(noise(random));
    }
    const std::vector<double> played = CalibrationPlan::clickTimes();
    for (int c = 0; c < int(played.size()); ++c) {
        if (c == silentClick) {
            continue;
        }
        const auto start = std::size_t((played[std::size_t(c)] + delayMs) * Rate / 1000.0);
        for (std::size_t i = 0; i < std::size_t(Rate / 5) && start + i < heard.size(); ++i) {
            const double t = double(i) / Rate;
            heard[start + i] += float(clickLevel * std::exp(-t / 0.03) * std::sin(2.0 * std::numbers::pi * 2000.0 * t));
        }
    }
    return heard;
}

TEST(LatencyCalibration, FindsTheDelayOfTheClicks)
{
    struct Case {
        double delayMs;
        double noiseDb;
        int silentClick;
    };
    const Case cases[] = {
        {0.0, -60.0, -1}, {140.0, -45.0, -1}, {330.0, -40.0, 2}, {550.0, -50.0, 0}, {233.0, -35.0, 5},
    };
    const std::vector<double> played = CalibrationPlan::clickTimes();
    for (const Case& c : cases) {
        const std::optional<double> latency =
            measuredLatencyMs(heardClicks(c.delayMs, c.noiseDb, c.silentClick), Rate, played);
        ASSERT_TRUE(latency) << c.delayMs;
        EXPECT_NEAR(*latency, c.delayMs, 3.0) << c.delayMs;
    }
}

TEST(LatencyCalibration, HearsNothingInSilenceOrNoise)
{
    const std::vector<double> played = CalibrationPlan::clickTimes();
    struct Case {
        const char* what;
        std::vector<float> heard;
    };
    std::vector<float> fewClicks = heardClicks(200.0, -50.0, -1);
    // Only two of the six clicks heard: too few to trust.
    const auto cut = std::size_t((played[2] + 100.0) * Rate / 1000.0);
    std::fill(fewClicks.begin() + std::ptrdiff_t(cut), fewClicks.end(), 0.0f);
    const Case cases[] = {
        {"silence", std::vector<float>(std::size_t(CalibrationPlan::lengthMs() * Rate / 1000.0), 0.0f)},
        {"noise", heardClicks(0.0, -30.0, -1, 0.0)},
        {"two clicks", fewClicks},
        {"too short", std::vector<float>(100, 0.5f)},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(measuredLatencyMs(c.heard, Rate, played)) << c.what;
    }
}

} // namespace
} // namespace harmonet::test
