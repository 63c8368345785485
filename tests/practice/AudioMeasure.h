#pragma once

#include "midiout/SoundFontLocator.h"

#include <QString>

#include <vector>

namespace harmonet::test {

// An audio file as libsndfile reads it back: its facts, tags and samples
// (interleaved, as floats of -1..1).
struct AudioFile {
    bool opened = false;
    int channels = 0;
    int sampleRate = 0;
    long long frames = 0;
    int format = 0; // the libsndfile major format (SF_FORMAT_WAV, ...)
    QString title;
    QString artist;
    QString album;
    QString trackNumber;
    std::vector<float> samples;
};

AudioFile readAudioFile(const QString& path);

enum class Side { Left, Right, Both };

// Root-mean-square level of one side (or both) between two times, in dB of
// full scale; -200 for silence.
double levelDb(const AudioFile& file, Side side, int fromMs, int toMs);

// Level of the tone of frequency hz in both sides together between two
// times, in dB: the mean power a Goertzel filter finds at hz in blocks of
// about 93 ms (a bin some 11 Hz wide); -200 for silence.
double toneLevelDb(const AudioFile& file, double hz, int fromMs, int toMs);

// The frequency of a MIDI key in equal temperament (A4, key 69, at 440 Hz).
double keyHz(int key);

// libsndfile's major format for a file extension ("wav", "flac", "ogg", "mp3").
int majorFormatOf(const QString& extension);

} // namespace harmonet::test

// Skips the current test where no General MIDI SoundFont is installed.
#define HARMONET_REQUIRE_SOUNDFONT()                                          \
    do {                                                                      \
        if (::harmonet::findSoundFont().isEmpty())                            \
            GTEST_SKIP() << "no General MIDI SoundFont installed";            \
    } while (false)
