#pragma once

#include <QtGlobal>

#include <array>
#include <optional>
#include <vector>

namespace harmonet {

class TMidiFile;

// What one channel is set to at a place in a song: the settings that a jump
// to that place sends again, so the music plays on with the instrument,
// levels, pedal and bend the file has there. Settings the song never makes
// on the channel are none (a bank, a program, a bend range): nothing is sent
// for them; those it makes somewhere are at their power-on value before it
// first makes them.
struct TChannelSetup {
    // The song has channel messages on the channel.
    bool Used = false;
    std::optional<quint8> BankMsb;
    std::optional<quint8> BankLsb;
    std::optional<quint8> Program;
    quint8 Volume = 100;
    quint8 Expression = 127;
    quint8 Pan = 64;
    quint8 Sustain = 0;
    // 14 bits, 8192 at rest.
    quint16 PitchBend = 8192;
    // Registered parameter 0: the bend range in semitones and cents.
    std::optional<quint8> BendRangeSemitones;
    std::optional<quint8> BendRangeCents;
    // The registered parameter data entry goes to (127, 127: none).
    quint8 ParameterMsb = 127;
    quint8 ParameterLsb = 127;

    bool operator==(const TChannelSetup&) const = default;
};

using TChannelSetups = std::array<TChannelSetup, 16>;

// The settings changes of a song, gathered once, from which the state of
// every channel at any place is found in time proportional to the number of
// changes (not of notes).
class TChannelSetupTimeline {
public:
    TChannelSetupTimeline() = default;
    explicit TChannelSetupTimeline(const TMidiFile& song);

    // Each channel (index 0 is channel 1) as the events before ticks left it,
    // in the order the song plays them.
    TChannelSetups At(double ticks) const;

private:
    struct Change {
        qint32 ticks;
        quint8 status;
        quint8 value1;
        quint8 value2;
    };

    TChannelSetups m_initial{};
    std::vector<Change> m_changes;
};

} // namespace harmonet
