#include "tools/dump/BarsJson.h"

#include "sequencer/BarMap.h"

#include <algorithm>
#include <cmath>

namespace harmonet::tools {

namespace {

std::string_view sourceName(TPickupSource source)
{
    switch (source) {
    case TPickupSource::File:
        return "file";
    case TPickupSource::Hand:
        return "hand";
    case TPickupSource::None:
        break;
    }
    return "none";
}

// Milliseconds to the microsecond, so that sums of tempo segments print short.
double roundedMs(double ms)
{
    return std::round(ms * 1000.0) / 1000.0;
}

} // namespace

void writeBarsJson(TextOutput& out, const TBarMap& bars)
{
    out.raw("{\"pickup\":{\"beats\":").number(bars.PickupBeats());
    out.raw(",\"from\":\"").raw(sourceName(bars.PickupSource())).raw("\"}");
    out.raw(",\"firstBar\":").integer(bars.FirstBar()).raw(",\"lastBar\":").integer(bars.LastBar());
    out.raw(",\"bars\":[");
    const qint64 listed = std::min(bars.BarCount(), MostBarsListed);
    for (qint64 bar = bars.FirstBar(); bar < bars.FirstBar() + listed; ++bar) {
        const TMetre metre = bars.MetreOfBar(bar);
        out.raw(bar == bars.FirstBar() ? "{\"bar\":" : ",{\"bar\":").integer(bar);
        out.raw(",\"tick\":").number(bars.TicksOfBar(bar)).raw(",\"ms\":").number(roundedMs(bars.MsOfBar(bar)));
        out.raw(",\"metre\":\"").integer(metre.Numerator).raw('/').integer(metre.Denominator).raw('"');
        out.raw(",\"beats\":").number(bars.BeatsOfBar(bar)).raw('}');
        out.flushIfLarge();
    }
    out.raw("],\"barsLeftOut\":").integer(bars.BarCount() - listed).raw("}\n");
}

} // namespace harmonet::tools
