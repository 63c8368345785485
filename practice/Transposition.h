#pragma once

#include "midiout/Miditype.h"

#include <array>
#include <bitset>
#include <functional>
#include <vector>

namespace harmonet {

// The song moved up or down by whole semitones on the way out, channel by
// channel, the channels of drums (and the metronome's) left alone. Two ways:
// - tuning (the built-in synthesizer): each channel's coarse tuning (RPN 2)
//   is set; notes go out as written and those sounding glide to the new pitch
//   with nothing sent again;
// - shifting (a system port, whose tuning may not follow): every note-on goes
//   out that many keys higher or lower, and its note-off ends the key that
//   note-on started, whatever the transposition is by then, so a change
//   while notes sound leaves none hanging. A note shifted beyond 0..127 is
//   left out, and so is its note-off.
class TTransposition {
public:
    static constexpr int Lowest = -12;
    static constexpr int Highest = 12;
    using Send = std::function<void(const TMyMidiEvent& message)>;

    int semitones() const { return m_semitones; }
    bool tunesChannels() const { return m_tuning; }

    // The channels (1..16) that keep their pitch (bit 0 is channel 1). By
    // default channel 10. A channel tuned before is tuned back through send.
    void setUntouched(std::bitset<16> channels, const Send& send);
    bool untouched(int channel) const;

    // Takes the transposition (kept within Lowest..Highest). Tuning, each
    // touched channel's tuning goes out at once through send (null: with the
    // next retune).
    void setSemitones(int semitones, const Send& send);
    // Tuning or shifting from now on. Notes already shifted keep their keys
    // until they end; a channel tuned before is tuned back through send.
    void setTunesChannels(bool tuning, const Send& send);
    // Every touched channel's tuning again (an output opened anew), when tuning.
    void retune(const Send& send);

    // The message about to go out: a note's key shifted (shifting), the
    // song's own parameter choice noted (tuning puts it back after its own).
    // False when the message must not go out.
    bool route(TMyMidiEvent& message);
    // After the message went out: a reset of all controllers took the
    // channel's tuning with it, which goes out again through send.
    void sent(const TMyMidiEvent& message, const Send& send);

    // Keys sounding now that the shift started (for tests and diagnostics).
    int shiftedNotesSounding() const;

private:
    void tuneChannel(int channel, int semitones, const Send& send);
    void endShifted(int channel, int key, TMyMidiEvent& message);

    int m_semitones = 0;
    bool m_tuning = false;
    std::bitset<16> m_untouched = std::bitset<16>().set(9);
    // Channels whose tuning the output has away from 0.
    std::bitset<16> m_tuned;
    // Per channel: the controllers that choose a parameter (101, 100 for
    // registered, 99, 98 for non-registered) as the song last sent them, and
    // whether the registered one was chosen last.
    struct Choice {
        quint8 rpnMsb = 127, rpnLsb = 127, nrpnMsb = 127, nrpnLsb = 127;
        bool registeredLast = true;
    };
    std::array<Choice, 16> m_choices{};
    // Per channel and written key: the keys sent for its note-ons still
    // sounding, oldest first; -1 for one left out.
    std::array<std::array<std::vector<qint8>, 128>, 16> m_sounding{};
};

} // namespace harmonet
