#pragma once

#include "sequencer/Clock.h"

#include <chrono>

namespace harmonet::test {

// A hand-driven clock whose milliseconds stand for those of the steady clock,
// so what the engine reports as due times can be checked exactly.
class ScriptedSteadyClock final : public Clock {
public:
    explicit ScriptedSteadyClock(qint64 startMs) : nowMsValue(startMs) {}

    qint64 nowMs() const override { return nowMsValue; }
    std::optional<std::chrono::steady_clock::time_point> steadyTimeAt(qint64 ms) const override
    {
        return std::chrono::steady_clock::time_point(std::chrono::milliseconds(ms));
    }

    qint64 nowMsValue;
};

} // namespace harmonet::test
