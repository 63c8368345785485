#pragma once

#include "practice/VoiceKey.h"
#include "practice/VoiceSplit.h"

#include <QList>
#include <QString>
#include <vector>

namespace harmonet {

class TMidiFile;
class TSongWords;

// One part a singer can follow: a whole track, the notes of one channel of a
// track that plays on several, or one of the voices that share a track's
// channel (soprano and alto on one staff).
struct TVoice {
    int track = 0;
    // 1..16
    int channel = 1;
    // Whether the voice is one of several that share the track's channel.
    bool split = false;
    // Its place among the voices of the track, top first, and how many there are.
    int part = 0;
    int partCount = 1;
    // The name to show, and the track's own name as the file gives it.
    QString name;
    QString fileName;
    // In the order of the track; a note sung in unison belongs to every
    // voice that sings it.
    std::vector<TVoiceNote> notes;
    // The words tracks its singer follows, best first (see TSongWords).
    QList<int> words;
    // A piano or organ beside the voices (see isAccompaniment): it keeps its
    // level and the centre when another voice is my part.
    bool accompaniment = false;

    // The words track paired with the voice, or -1.
    int wordsTrack() const { return words.isEmpty() ? -1 : words.constFirst(); }
    // What names the voice from one run to the next.
    VoiceKey key() const { return {track, channel, split ? part : 0}; }
};

// The place in voices of the voice with that key, or -1. A key without a
// channel finds the first voice of its track.
int voiceIndex(const QList<TVoice>& voices, const VoiceKey& key);

// Every voice of the loaded song, track by track in panel order (see
// TSongWords::voiceTracksOf), the voices of a track top first, each named
// and paired with its words. words must have been built for the same file.
QList<TVoice> findVoices(const TMidiFile& file, const TSongWords& words);

} // namespace harmonet
