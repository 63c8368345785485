#include "singing/TargetNotes.h"

#include "practice/VoiceModel.h"
#include "sequencer/BarMap.h"
#include "sequencer/MidiFile.h"

#include <cmath>

namespace harmonet {

std::vector<TargetNote> targetNotes(const TMidiFile& sequencer, std::span<const TVoiceNote> notes,
                                    const TBarMap& bars)
{
    std::vector<TargetNote> targets;
    targets.reserve(notes.size());
    qint32 lastTick = -1;
    for (const TVoiceNote& note : notes) {
        if (note.tick == lastTick && !targets.empty()) {
            targets.back().key = std::max(targets.back().key, int(note.key));
            continue;
        }
        lastTick = note.tick;
        const qint32 length = note.length > 0 ? note.length : sequencer.TicksPerQuarter();
        TargetNote target;
        target.startMs = sequencer.MsAtTicks(note.tick);
        target.endMs = sequencer.MsAtTicks(double(note.tick) + length);
        target.key = note.key;
        const TBarPosition place = bars.BarAtTicks(note.tick);
        target.bar = place.Bar;
        target.beat = place.Beat;
        targets.push_back(target);
    }
    return targets;
}

std::vector<TargetNote> partTargets(const TMidiFile& sequencer, const TVoice& voice,
                                    std::optional<double> pickupBeats)
{
    return targetNotes(sequencer, voice.notes,
                       TBarMap::ofSong(sequencer, sequencer.FollowsTempoChanges(), pickupBeats));
}

FoldedInterval foldedInterval(double sungMidi, double key)
{
    const double semitones = sungMidi - key;
    const int octaves = int(std::floor((semitones + 6.0) / 12.0));
    return {(semitones - 12.0 * octaves) * 100.0, octaves};
}

} // namespace harmonet
