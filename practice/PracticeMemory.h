#pragma once

#include "practice/PerFileValues.h"
#include "practice/PracticeChoice.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace harmonet {

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
// bar, and the playing values. Each is kept under its own key for at most MaxFiles files; a file is
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

    // The playing values remembered for the file; values out of their
    // ranges (a settings file edited by hand) are not taken.
    std::optional<TPlayingValues> recallPlaying(const QString& path, const QString& hash) const;
    void rememberPlaying(const QString& path, const QString& hash, const TPlayingValues& values);

private:
    TPerFileValues m_choices;
    TPerFileValues m_pickups;
    TPerFileValues m_playing;
};

} // namespace harmonet
