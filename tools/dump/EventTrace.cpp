#include "tools/dump/EventTrace.h"

#include "sequencer/MidiFile.h"

#include <algorithm>
#include <climits>
#include <vector>

namespace harmonet::tools {

namespace {

// Finds the track and index of an event record from its address: each track
// keeps its records in one contiguous block.
class EventLocator {
public:
    explicit EventLocator(const TMidiFile& song)
    {
        for (int index = 0; index < song.NumberOfTracks(); ++index) {
            const auto events = song.TrackAt(index)->Events();
            if (!events.empty())
                blocks_.push_back({events.data(), events.data() + events.size(), index});
        }
        std::sort(blocks_.begin(), blocks_.end(),
                  [](const Block& a, const Block& b) { return a.begin < b.begin; });
    }

    // False for a record that belongs to no track of the song.
    bool locate(PMidiEvent event, int& track, qint64& index) const
    {
        auto after = std::upper_bound(blocks_.begin(), blocks_.end(), event,
                                      [](PMidiEvent e, const Block& b) { return e < b.begin; });
        if (after == blocks_.begin())
            return false;
        const Block& block = *(after - 1);
        if (event >= block.end)
            return false;
        track = block.track;
        index = event - block.begin;
        return true;
    }

private:
    struct Block {
        PMidiEvent begin;
        PMidiEvent end;
        int track;
    };
    std::vector<Block> blocks_;
};

} // namespace

void writeEventTrace(TextOutput& out, TMidiFile& song, int stepMs)
{
    ManualClock clock(0);
    song.SetClock(&clock);
    const EventLocator locator(song);

    song.SetOnMidiEvent([&](PMidiEvent event) {
        int track = -1;
        qint64 index = -1;
        locator.locate(event, track, index);
        out.integer(clock.nowMs()).raw(' ').integer(track).raw(' ').integer(index).raw('\n');
        out.flushIfLarge();
    });

    song.PlayFromStart();
    const qint64 lastMs = qint64(song.SongLengthMs()) + 2 * qint64(stepMs);
    for (qint64 ms = stepMs; ms <= lastMs; ms += stepMs) {
        clock.setNowMs(ms);
        song.AdvanceTo(int(std::min<qint64>(ms, INT_MAX)));
    }
    song.HaltPlay();

    song.SetOnMidiEvent(nullptr);
    song.SetClock(nullptr);
}

} // namespace harmonet::tools
