#include "tests/singing/SungAlto.h"

#include "sequencer/MidiFile.h"
#include "singing/MyPart.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

namespace harmonet::test {

QString exampleSongPath()
{
    return sourceDir() + QStringLiteral("/examples/old-hundredth.mid");
}

std::shared_ptr<const Song> exampleSong()
{
    return Song::read(exampleSongPath());
}

std::vector<TargetNote> altoTargets(const Song& song)
{
    const std::optional<TVoice> alto = voiceNamed(song.voices(), QStringLiteral("Alto"));
    EXPECT_TRUE(alto.has_value());
    return alto ? partTargets(song.file(), *alto) : std::vector<TargetNote>{};
}

std::vector<SungNote> sungAlto(const std::vector<TargetNote>& targets, const AltoFaults& faults)
{
    std::vector<SungNote> sung;
    for (int i = 0; i < int(targets.size()); ++i) {
        if (i == faults.leftOut) {
            continue;
        }
        const TargetNote& target = targets[std::size_t(i)];
        SungNote note{target.startMs + faults.delayMs, target.endMs + faults.delayMs,
                      target.key + 12.0 * faults.octaves};
        note.startMs += i == faults.lateNote ? LateMs : 0.0;
        note.midi -= i == faults.flatNote ? 1.0 : 0.0;
        sung.push_back(note);
    }
    return sung;
}

double takeLengthMs(const std::vector<TargetNote>& targets)
{
    return targets.empty() ? 0.0 : targets.back().endMs + 500.0;
}

std::vector<std::pair<int, NoteVerdict>> faultsOf(const std::vector<NoteResult>& results)
{
    std::vector<std::pair<int, NoteVerdict>> faults;
    for (int i = 0; i < int(results.size()); ++i) {
        if (results[std::size_t(i)].verdict != NoteVerdict::Good) {
            faults.emplace_back(i, results[std::size_t(i)].verdict);
        }
    }
    return faults;
}

} // namespace harmonet::test
