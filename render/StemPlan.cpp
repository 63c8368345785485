#include "render/StemPlan.h"

#include "practice/VoiceRouting.h"
#include "sequencer/MidiFile.h"
#include "session/Song.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace harmonet {

namespace {

using ChannelWork = std::array<qint64, 16>;

// The work of rendering a note: the synthesizer's cost grows with the time
// it sounds, so its length in ticks, and a quarter's worth for its start and
// release (all a note never switched off counts).
qint64 startWork(int ticksPerQuarter)
{
    return std::max(1, ticksPerQuarter);
}

// The work of rendering each channel's notes, over every track.
ChannelWork workByChannel(const TMidiFile& song)
{
    ChannelWork work{};
    for (int i = 0; i < song.NumberOfTracks(); ++i) {
        std::array<std::array<qint64, 128>, 16> since{};
        for (auto& keys : since) {
            keys.fill(-1);
        }
        for (const TMidiEvent& event : song.TrackAt(i)->Events()) {
            const int kind = event.Status & 0xF0;
            if (kind != 0x80 && kind != 0x90) {
                continue;
            }
            const std::size_t channel = std::size_t(event.Status & 0x0F);
            qint64& start = since[channel][std::size_t(event.Value1 & 0x7F)];
            if (start >= 0) {
                work[channel] += std::max<qint64>(0, event.Ticks - start);
                start = -1;
            }
            if (kind == 0x90 && event.Value2 > 0) {
                work[channel] += startWork(song.TicksPerQuarter());
                start = event.Ticks;
            }
        }
    }
    return work;
}

} // namespace

std::vector<Stem> voiceStems(const Song& song)
{
    const ChannelWork work = workByChannel(song.file());
    TVoiceRouting routing;
    routing.setSong(&song.file(), &song.voices());
    const int free = routing.freeChannel();
    std::vector<Stem> stems;
    Stem rest;
    for (std::size_t c = 0; c < work.size(); ++c) {
        rest.channels.set(c, work[c] > 0);
    }
    for (const TVoice& voice : song.voices()) {
        if (voice.accompaniment || voice.channel < 1 || voice.channel > 16) {
            continue;
        }
        const std::size_t c = std::size_t(voice.channel - 1);
        rest.channels.reset(c);
        if (voice.split && free != 0) {
            Stem alone;
            alone.channels.set(std::size_t(free - 1));
            alone.voices.push_back(voice.key());
            alone.routedPart = voice.key();
            for (const TVoiceNote& note : voice.notes) {
                alone.work += note.length + startWork(song.file().TicksPerQuarter());
            }
            stems.push_back(alone);
            continue;
        }
        const std::bitset<16> channel = std::bitset<16>().set(c);
        const auto same = std::find_if(stems.begin(), stems.end(), [&](const Stem& stem) {
            return !stem.routedPart.isVoice() && stem.channels == channel;
        });
        if (same != stems.end()) {
            same->voices.push_back(voice.key());
            continue;
        }
        Stem stem;
        stem.channels = channel;
        stem.voices.push_back(voice.key());
        stem.work = work[c];
        stems.push_back(stem);
    }
    if (rest.channels.any()) {
        for (std::size_t c = 0; c < work.size(); ++c) {
            rest.work += rest.channels.test(c) ? work[c] : 0;
        }
        stems.push_back(rest);
    }
    return stems;
}

void addClickStem(std::vector<Stem>& stems, int channel)
{
    if (channel < 1 || channel > 16) {
        return;
    }
    const std::size_t c = std::size_t(channel - 1);
    const bool rendered = std::any_of(stems.cbegin(), stems.cend(), [c](const Stem& stem) {
        return stem.channels.test(c) && !stem.routedPart.isVoice();
    });
    if (!rendered) {
        Stem clicks;
        clicks.channels.set(c);
        stems.push_back(clicks);
    }
}

std::vector<Stem> balancedStems(const TMidiFile& song, int count)
{
    const ChannelWork work = workByChannel(song);
    std::vector<std::size_t> channels;
    for (std::size_t c = 0; c < work.size(); ++c) {
        if (work[c] > 0) {
            channels.push_back(c);
        }
    }
    if (channels.empty()) {
        Stem all;
        all.channels.set();
        return {all};
    }
    std::stable_sort(channels.begin(), channels.end(),
                     [&](std::size_t a, std::size_t b) { return work[a] > work[b]; });
    std::vector<Stem> stems(std::size_t(std::clamp<qsizetype>(count, 1, qsizetype(channels.size()))));
    for (const std::size_t c : channels) {
        Stem& lightest = *std::min_element(stems.begin(), stems.end(),
                                           [](const Stem& a, const Stem& b) { return a.work < b.work; });
        lightest.channels.set(c);
        lightest.work += work[c];
    }
    return stems;
}

StemPlacement stemPlacement(const Stem& stem, const PracticeChoice& choice)
{
    if (!choice.hasPart() || stem.voices.empty()) {
        return {};
    }
    const bool mine = std::find(stem.voices.cbegin(), stem.voices.cend(), choice.part) != stem.voices.cend();
    StemPlacement placement;
    if (choice.withoutMyPart) {
        // My part left out, the others at their own level.
        placement.gain = mine ? 0.0f : 1.0f;
    } else if (!mine) {
        placement.gain = choice.othersSilent() ? 0.0f : float(std::pow(10.0, choice.othersDb / 20.0));
    }
    placement.placed = choice.panned;
    const PanSide other = choice.side == PanSide::Left ? PanSide::Right : PanSide::Left;
    placement.side = mine ? choice.side : other;
    return placement;
}

} // namespace harmonet
