#pragma once

#include "practice/BarLoop.h"
#include "practice/Clicks.h"
#include "practice/PerFileValues.h"
#include "practice/PracticeChoice.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace harmonet {

// The words chosen for a file: the voice track whose words the strip shows
// (-1: none chosen), and for voice tracks the words track chosen for them.
struct TWordsChoice {
    struct Pair {
        int voice = 0;
        int words = 0;
        bool operator==(const Pair&) const = default;
    };
    int voice = -1;
    QList<Pair> chosen;
    bool operator==(const TWordsChoice&) const = default;
};

// The text form of a words choice: "voice;voice:words,voice:words", for
// example "3;3:5,4:6"; tracks are numbers from 0 to 65535.
QString wordsChoiceText(const TWordsChoice& choice);
// The choice of a text form, or nothing when the text is not one.
std::optional<TWordsChoice> wordsChoiceFromText(const QString& text);

// How the singer plays a file besides the practice choice: the tempo (0:
// the file's own), the transposition in semitones and the bars counted in.
struct TPlayingValues {
    static constexpr int FastestBpm = 1000;
    int bpm = 0;
    int transpose = 0;
    int countInBars = 0;
    bool operator==(const TPlayingValues&) const = default;
};

// What the singer chose for each of the files opened last, kept in the
// settings store: the practice choice, the upbeat before the first full
// bar, the loop, the words and the playing values. Each is kept under its own key for at most MaxFiles files; a file is
// known by its path and by a hash of its content (see TPerFileValues).
class TPracticeMemory {
public:
    static constexpr int MaxFiles = TPerFileValues::MaxFiles;
    // The longest upbeat remembered, in beats (the most a time signature counts).
    static constexpr double LongestPickupBeats = 255.0;

    TPracticeMemory();

    // Key paths of the remembered choices and upbeats in the current user's store.
    static QString keyPath();
    static QString pickupKeyPath();
    static QString loopKeyPath();
    static QString wordsKeyPath();
    static QString playingKeyPath();
    // The hash that knows a file by its content.
    static QString contentHash(const QByteArray& bytes);

    // The choice remembered for the file with that content hash, or else
    // for that path.
    std::optional<PracticeChoice> recall(const QString& path, const QString& hash) const;
    // Remembers the choice for the file as the most recent one.
    void remember(const QString& path, const QString& hash, const PracticeChoice& choice);

    // The upbeat set for the file, in beats of its first metre (0: none).
    std::optional<double> recallPickupBeats(const QString& path, const QString& hash) const;
    // Remembers the upbeat; beats outside 0..LongestPickupBeats are not kept.
    void rememberPickupBeats(const QString& path, const QString& hash, double beats);

    // The loop set for the file; none when it has none (or it was cleared).
    std::optional<BarLoop> recallLoop(const QString& path, const QString& hash) const;
    // Remembers the loop, or that the file has none.
    void rememberLoop(const QString& path, const QString& hash, const std::optional<BarLoop>& loop);
    std::optional<TWordsChoice> recallWords(const QString& path, const QString& hash) const;
    void rememberWords(const QString& path, const QString& hash, const TWordsChoice& choice);
    // The playing values remembered for the file; values out of their
    // ranges (a settings file edited by hand) are not taken.
    std::optional<TPlayingValues> recallPlaying(const QString& path, const QString& hash) const;
    void rememberPlaying(const QString& path, const QString& hash, const TPlayingValues& values);

    // The clicks chosen last, for every file (a file's own count-in aside);
    // none when nothing valid is kept.
    static QString clicksKeyPath();
    std::optional<ClickSettings> recallClicks() const;
    void rememberClicks(const ClickSettings& clicks);

private:
    TPerFileValues m_choices;
    TPerFileValues m_pickups;
    TPerFileValues m_loops;
    TPerFileValues m_words;
    TPerFileValues m_playing;
};

} // namespace harmonet
