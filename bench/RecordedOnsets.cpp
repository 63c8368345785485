#include "bench/RecordedOnsets.h"

#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace harmonet::bench {

std::vector<double> onsetFrames(const std::vector<qint16>& samples, int sampleRate)
{
    int peak = 0;
    for (const qint16 s : samples) {
        peak = std::max(peak, std::abs(int(s)));
    }
    const int threshold = peak / 10;
    const auto quiet = std::size_t(0.15 * sampleRate);
    std::vector<double> found;
    std::size_t lastLoud = 0;
    bool any = false;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (std::abs(int(samples[i])) > threshold) {
            if (!any || i - lastLoud > quiet) {
                found.push_back(double(i));
            }
            any = true;
            lastLoud = i;
        }
    }
    return found;
}

std::vector<double> gridDeviationsMs(const std::vector<double>& frames, int sampleRate)
{
    std::vector<double> result;
    if (frames.size() < 3) {
        return result;
    }
    const double n = double(frames.size());
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const double x = double(i), y = frames[i] * 1000.0 / sampleRate;
        sx += x, sy += y, sxx += x * x, sxy += x * y;
    }
    const double slope = (n * sxy - sx * sy) / (n * sxx - sx * sx);
    const double offset = (sy - slope * sx) / n;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        result.push_back(frames[i] * 1000.0 / sampleRate - (offset + slope * double(i)));
    }
    return result;
}

double p1p99Spread(std::vector<double> values)
{
    if (values.size() < 2) {
        return 0.0;
    }
    std::sort(values.begin(), values.end());
    const auto at = [&values](double q) { return values[std::size_t(std::lround(q * double(values.size() - 1)))]; };
    return at(0.99) - at(0.01);
}

double rmsDb(const std::vector<qint16>& samples, int sampleRate, double fromMs, double toMs)
{
    const auto from = std::size_t(std::max(0.0, fromMs) * sampleRate / 1000.0);
    const auto to = std::min(samples.size(), std::size_t(std::max(0.0, toMs) * sampleRate / 1000.0));
    double squares = 0;
    for (std::size_t i = from; i < to; ++i) {
        squares += double(samples[i]) * samples[i];
    }
    const double rms = to > from ? std::sqrt(squares / double(to - from)) : 0.0;
    return rms > 0 ? 20.0 * std::log10(rms / 32768.0) : -200.0;
}

void waitMs(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace harmonet::bench
