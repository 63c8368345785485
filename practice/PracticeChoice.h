#pragma once

#include "practice/VoiceKey.h"

#include <QString>
#include <QtGlobal>

#include <optional>

namespace harmonet {

// Where my part sounds when the voices are panned apart; the others take the
// other side.
enum class PanSide { Left, Right };

// The singer's practice choice for a song: which voice is my part (or none),
// how far below it the other voices play, whether my part and the others
// are panned to opposite sides, and whether my part is left out altogether
// (the others then play at their full level) for singing it alone.
struct PracticeChoice {
    static constexpr VoiceKey NoPart{};
    // The level of the others that silences them.
    static constexpr int SilentDb = -96;
    static constexpr int DefaultOthersDb = -12;

    // My part's voice (see TVoice::key), or NoPart.
    VoiceKey part = NoPart;
    // The others' level relative to their own, in dB: 0 down to SilentDb (silent).
    int othersDb = DefaultOthersDb;
    bool panned = false;
    PanSide side = PanSide::Left;
    bool withoutMyPart = false;

    bool hasPart() const { return part.isVoice(); }
    bool othersSilent() const { return othersDb <= SilentDb; }
    bool operator==(const PracticeChoice&) const = default;
};

// Keeps a level within 0..SilentDb (anything at or below SilentDb is silent).
int boundedOthersDb(int db);

// The text form of a choice, as it is remembered: "part;othersDb;panned;side"
// with the part as "track.channel.place", for example "2.1.0;-12;1;left", or
// -1 for none, followed by ";without" when my part is left out. A part given
// as a track alone ("2;-12;1;left", as choices were once remembered) reads as
// that track's first voice.
QString choiceText(const PracticeChoice& choice);
// The choice of a text form, or nothing when the text is not one.
std::optional<PracticeChoice> choiceFromText(const QString& text);

} // namespace harmonet
