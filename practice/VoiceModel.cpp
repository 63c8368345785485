#include "practice/VoiceModel.h"

#include "practice/PracticeMix.h"
#include "practice/VoiceNames.h"
#include "sequencer/MidiBytes.h"
#include "sequencer/MidiFile.h"
#include "sequencer/SongWords.h"

#include <algorithm>
#include <array>
#include <map>

namespace harmonet {

namespace {

constexpr int ChannelCount = 16;
constexpr int KeyCount = 128;

bool isNoteOff(const TMidiEvent& event)
{
    const quint8 kind = event.Status & 0xF0;
    return kind == 0x80 || (kind == midi::NoteOn && event.Value2 == 0);
}

// The notes of one channel of a track, and its program when the track sets one.
struct ChannelNotes {
    std::vector<TVoiceNote> notes;
    int program = -1;
};

// The notes of each channel of a track, note-offs matched as the reader
// matches them: to the last note-on of the key.
std::map<int, ChannelNotes> notesByChannel(const TMidiTrack& track)
{
    std::map<int, ChannelNotes> channels;
    std::array<std::array<int, KeyCount>, ChannelCount> sounding;
    for (auto& keys : sounding) {
        keys.fill(-1);
    }
    std::array<int, ChannelCount> programs;
    programs.fill(-1);
    const auto events = track.Events();
    for (int index = 0; index < int(events.size()); ++index) {
        const TMidiEvent& event = events[size_t(index)];
        if (event.Status < 0x80 || event.Status >= 0xF0) {
            continue;
        }
        const int channel = event.Status & 0x0F;
        const quint8 kind = event.Status & 0xF0;
        int& last = sounding[size_t(channel)][event.Value1 & 0x7F];
        if (kind == midi::ProgramChange && programs[size_t(channel)] < 0) {
            programs[size_t(channel)] = event.Value1;
        } else if (isNoteOff(event)) {
            if (last >= 0 && event.NoteTicks == -1) {
                channels[channel + 1].notes[size_t(last)].offIndex = index;
            }
            last = -1;
        } else if (kind == midi::NoteOn) {
            std::vector<TVoiceNote>& notes = channels[channel + 1].notes;
            last = int(notes.size());
            notes.push_back({event.Ticks, std::max(0, event.NoteTicks), event.Value1, event.Value2, index, -1});
        }
    }
    for (auto& [channel, notes] : channels) {
        notes.program = programs[size_t(channel - 1)];
    }
    return channels;
}

std::vector<TVoiceNote> pick(const std::vector<TVoiceNote>& notes, const std::vector<int>& indices)
{
    std::vector<TVoiceNote> picked;
    picked.reserve(indices.size());
    for (const int index : indices) {
        picked.push_back(notes[size_t(index)]);
    }
    std::stable_sort(picked.begin(), picked.end(), [](const TVoiceNote& a, const TVoiceNote& b) {
        return a.onIndex < b.onIndex;
    });
    return picked;
}

// A channel whose notes several voices share, and where its voices lie in the list.
struct SharedChannel {
    qsizetype firstVoice = 0;
    int voiceCount = 0;
    std::vector<TVoiceNote> notes;
};

void splitInto(QList<TVoice>& voices, const SharedChannel& shared, qint32 ticksPerQuarter,
               const std::vector<std::vector<qint32>>& syllableTicks)
{
    const auto parts = splitVoices(shared.notes, shared.voiceCount, ticksPerQuarter, syllableTicks);
    for (int part = 0; part < shared.voiceCount; ++part) {
        voices[shared.firstVoice + part].notes = pick(shared.notes, parts[size_t(part)]);
    }
}

void pairWithWords(QList<TVoice>& voices, qint32 ticksPerQuarter, const QList<TWordsSource>& sources)
{
    QList<TVoiceOnsets> described;
    for (const TVoice& voice : std::as_const(voices)) {
        TVoiceOnsets onsets{voice.track, voice.split ? QString() : voice.fileName, {}};
        for (const TVoiceNote& note : voice.notes) {
            onsets.onsets.push_back(note.tick);
        }
        std::sort(onsets.onsets.begin(), onsets.onsets.end());
        onsets.onsets.erase(std::unique(onsets.onsets.begin(), onsets.onsets.end()), onsets.onsets.end());
        described.append(onsets);
    }
    const QList<QList<int>> paired = pairVoiceOnsetsWithWords(ticksPerQuarter, described, sources);
    for (qsizetype v = 0; v < voices.size(); ++v) {
        voices[v].words = paired[v];
    }
}

// The syllable ticks of the words each voice of a shared channel sings
// alone (words paired with two of them tell nothing apart); empty when the
// pairing found none.
std::vector<std::vector<qint32>> syllablesOf(const QList<TVoice>& voices, const SharedChannel& shared,
                                             const TSongWords& words)
{
    std::vector<std::vector<qint32>> ticks(size_t(shared.voiceCount));
    bool any = false;
    for (int part = 0; part < shared.voiceCount; ++part) {
        for (const int track : voices[shared.firstVoice + part].words) {
            const TWordsSource* source = words.sourceOf(track);
            bool alone = source != nullptr && track != voices[shared.firstVoice].track;
            for (int other = 0; other < shared.voiceCount && alone; ++other) {
                alone = other == part || !voices[shared.firstVoice + other].words.contains(track);
            }
            if (!alone) {
                continue;
            }
            for (const TWordsSyllable& syllable : source->syllables) {
                ticks[size_t(part)].push_back(syllable.ticks);
            }
            any = true;
        }
        std::sort(ticks[size_t(part)].begin(), ticks[size_t(part)].end());
    }
    return any ? ticks : std::vector<std::vector<qint32>>{};
}

} // namespace

int voiceIndex(const QList<TVoice>& voices, const VoiceKey& key)
{
    for (qsizetype v = 0; v < voices.size(); ++v) {
        const TVoice& voice = voices[v];
        if (key.isVoice() && voice.track == key.track && (key.channel == 0 || voice.key() == key)) {
            return int(v);
        }
    }
    return -1;
}

QList<TVoice> findVoices(const TMidiFile& file, const TSongWords& words)
{
    QList<TVoice> voices;
    std::vector<SharedChannel> shared;
    const qint32 ticksPerQuarter = file.TicksPerQuarter();
    for (const int trackIndex : TSongWords::voiceTracksOf(file)) {
        const TMidiTrack& track = *file.TrackAt(trackIndex);
        const QString fileName = words.encoding().decodeLatin1Held(track.TrackName());
        const bool accompaniment = isAccompaniment(file, track);
        std::map<int, ChannelNotes> channels = notesByChannel(track);
        const int channelCount = int(channels.size());
        int part = 0;
        for (auto& [channel, notes] : channels) {
            TVoice voice{trackIndex, channel, false, part++, channelCount, {}, fileName, {}, {}, accompaniment};
            const bool percussion = channel == midi::PercussionChannel;
            const TVoiceCount count = channelCount > 1 || percussion ? TVoiceCount{}
                                                                     : countVoices(notes.notes, notes.program,
                                                                                   ticksPerQuarter);
            if (count.voices < 2) {
                voice.notes = std::move(notes.notes);
                voices.append(voice);
                continue;
            }
            shared.push_back({voices.size(), count.voices, std::move(notes.notes)});
            for (int split = 0; split < count.voices; ++split) {
                voice.split = true;
                voice.part = split;
                voice.partCount = count.voices;
                voices.append(voice);
            }
        }
    }

    // Split by the notes alone, pair, then split again with the syllables of
    // the words each voice was found to sing, and pair again.
    for (const SharedChannel& channel : shared) {
        splitInto(voices, channel, ticksPerQuarter, {});
    }
    pairWithWords(voices, ticksPerQuarter, words.sources());
    bool heard = false;
    for (const SharedChannel& channel : shared) {
        const auto syllables = syllablesOf(voices, channel, words);
        if (!syllables.empty()) {
            splitInto(voices, channel, ticksPerQuarter, syllables);
            heard = true;
        }
    }
    if (heard) {
        pairWithWords(voices, ticksPerQuarter, words.sources());
    }
    nameVoices(voices, words.sources());
    return voices;
}

} // namespace harmonet
