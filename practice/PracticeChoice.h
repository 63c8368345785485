#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

namespace harmonet {

// Where my part sounds when the voices are panned apart; the others take the
// other side.
enum class PanSide { Left, Right };

// The singer's practice choice for a song: which track is my part (or none),
// how far below it the other voices play, whether my part and the others
// are panned to opposite sides, and whether my part is left out altogether
// (the others then play at their full level) for singing it alone.
struct PracticeChoice {
    static constexpr int NoPart = -1;
    // The level of the others that silences them.
    static constexpr int SilentDb = -96;
    static constexpr int DefaultOthersDb = -12;

    // Index of my part's track in the song, or NoPart.
    int part = NoPart;
    // The others' level relative to their own, in dB: 0 down to SilentDb (silent).
    int othersDb = DefaultOthersDb;
    bool panned = false;
    PanSide side = PanSide::Left;
    bool withoutMyPart = false;

    bool hasPart() const { return part >= 0; }
    bool othersSilent() const { return othersDb <= SilentDb; }
    bool operator==(const PracticeChoice&) const = default;
};

// Keeps a level within 0..SilentDb (anything at or below SilentDb is silent).
int boundedOthersDb(int db);

// The text form of a choice, as it is remembered: "part;othersDb;panned;side",
// for example "2;-12;1;left", followed by ";without" when my part is left out.
QString choiceText(const PracticeChoice& choice);
// The choice of a text form, or nothing when the text is not one.
std::optional<PracticeChoice> choiceFromText(const QString& text);

} // namespace harmonet
