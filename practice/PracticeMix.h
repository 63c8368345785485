#pragma once

#include "midiout/Miditype.h"
#include "practice/PracticeChoice.h"

#include <array>
#include <bitset>
#include <functional>

namespace harmonet {

class TMidiFile;
class TMidiTrack;

// What a channel is in the mix of a practice choice: my part, one of the
// other voices, or the accompaniment, which stays centred at its own level.
enum class ChannelRole { Mine, Other, Accompaniment };

// Whether the track accompanies the voices: a piano, chromatic percussion or
// organ (programs 0 to 23), not on the percussion channel, in a song that
// also has a voice of another instrument.
bool isAccompaniment(const TMidiFile& song, const TMidiTrack& track);

// The role of a channel (1..16) when myChannel sounds as my part (0: none):
// the accompaniment is the channel of a track that accompanies.
ChannelRole channelRole(const TMidiFile& song, int myChannel, int channel);

// Channel volume and pan (controllers 7 and 10) of a channel in the mix,
// given what the file and the track mixer would send (base). Channel volume
// acts on loudness as its square, so the others' level of D dB scales their
// volume by 10^(D/40); silent others get volume 0. Without my part, mine gets
// volume 0 and the others their own. Panned, my part goes hard
// to its side, the others hard to the other side, the accompaniment to the
// centre.
quint8 mixedVolume(ChannelRole role, const PracticeChoice& choice, quint8 base);
quint8 mixedPan(ChannelRole role, const PracticeChoice& choice, quint8 base);

// The practice choice applied to what goes out, message by message: the
// routing hands it each message it is about to send. It keeps, per channel,
// the volume and pan the file and the track mixer asked for last, sends the
// choice's values in their place, and makes a change of the choice take
// effect at once by sending every channel's values anew. With no part chosen
// it changes nothing and sends nothing.
class TPracticeMix {
public:
    using Send = std::function<void(const TMyMidiEvent& message)>;

    // A newly loaded song (or none): the channels are back at their defaults
    // and the choice is none.
    void setSong(const TMidiFile* song);
    const TMidiFile* song() const { return m_song; }

    const PracticeChoice& choice() const { return m_choice; }
    // Takes the choice, my part sounding on myChannel (see
    // TVoiceRouting::myChannel). With a part chosen, every channel a track
    // plays on and myChannel get their volume and pan at once through send;
    // back to none, the channels whose values were changed get the file's
    // own again. A null send (no output open) leaves the sending to the next
    // note of each channel.
    void setChoice(const PracticeChoice& choice, int myChannel, const Send& send);

    // The message the routing is about to send: a volume or pan controller
    // takes the choice's value (and its own value is kept as the channel's
    // base); before the first note of a channel whose values the output does
    // not have yet, they are sent through send.
    void route(TMyMidiEvent& message, const Send& send);

    // The output may have lost the channels' values (it was opened anew):
    // each channel's values go out again before its next note.
    void resendBeforeNextNotes();

private:
    bool active() const { return m_song && m_choice.hasPart(); }
    void sendLevels(int channel, const Send& send);

    const TMidiFile* m_song = nullptr;
    PracticeChoice m_choice;
    int m_myChannel = 0;
    std::array<quint8, 16> m_baseVolume{};
    std::array<quint8, 16> m_basePan{};
    // Channels whose values the output does not have yet.
    std::bitset<16> m_levelsDue;
    // Channels that sound otherwise than the file says.
    std::bitset<16> m_changed;
};

} // namespace harmonet
