#include "sequencer/Clock.h"

#include <chrono>

namespace harmonet {

namespace {
qint64 steadyNs()
{
    using namespace std::chrono;
    return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}
constexpr qint64 nsPerMs = 1000000;
} // namespace

qint64 SteadyClock::nowMs() const
{
    return (steadyNs() + m_offsetNs) / nsPerMs;
}

std::optional<std::chrono::steady_clock::time_point> SteadyClock::steadyTimeAt(qint64 ms) const
{
    return std::chrono::steady_clock::time_point(std::chrono::nanoseconds(ms * nsPerMs - m_offsetNs));
}

void SteadyClock::centreOnNow()
{
    const qint64 now = steadyNs();
    m_offsetNs = nsPerMs / 2 - now % nsPerMs;
}

SteadyClock& SteadyClock::instance()
{
    static SteadyClock clock;
    return clock;
}

} // namespace harmonet
