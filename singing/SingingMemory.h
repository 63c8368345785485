#pragma once

#include "practice/PerFileValues.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

namespace harmonet {

// One pass of singing along as it is remembered: when, which bars, at which
// tempo, and how it went.
struct PassRecord {
    QDateTime when;
    qint64 fromBar = 1;
    qint64 toBar = 1;
    int bpm = 0;
    int notes = 0;
    int withinTolerance = 0;
    int late = 0;
    double meanAbsCents = 0.0;
    bool operator==(const PassRecord&) const = default;
};

// "2026-12-08T19:30:00,3-8,80,24,21,1,12.5": date, bars, tempo, notes, in
// tune, late, mean cents off.
QString passText(const PassRecord& pass);
std::optional<PassRecord> passFromText(const QString& text);

// What singing along remembers in the settings store: the passes of each of
// the files sung last (at most MaxPasses each, newest last; see
// TPerFileValues), and the latency measured for each microphone. Reading and
// writing never fail; damaged entries are skipped.
class TSingingMemory {
public:
    static constexpr int MaxPasses = 50;
    // The latencies taken as measured, in ms.
    static constexpr int LongestLatencyMs = 1000;

    TSingingMemory();

    QList<PassRecord> passes(const QString& path, const QString& hash) const;
    void addPass(const QString& path, const QString& hash, const PassRecord& pass);

    std::optional<int> latencyMs(const QString& device) const;
    void rememberLatency(const QString& device, int ms);

private:
    TPerFileValues m_passes;
};

} // namespace harmonet
