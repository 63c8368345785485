#pragma once

#include "midiout/Miditype.h"
#include "practice/ChannelState.h"
#include "practice/VoiceModel.h"

#include <QList>
#include <QString>

#include <array>
#include <functional>
#include <unordered_map>
#include <vector>

namespace harmonet {

class TMidiFile;
struct TMidiEvent;

// Where the notes of my part go when another voice sings on its channel (a
// closed score's soprano and alto on one track and channel, or two tracks on
// one channel): to a channel of their own that the song leaves free. That
// channel gets every other message of the shared one as well (program,
// controllers, pitch bend), so it sounds the same while its level and side
// follow my part alone. Without a free channel my part stays where it is and
// the whole channel is emphasised with it. A note-off always goes where its
// note-on went, also after the choice changed.
class TVoiceRouting {
public:
    using Send = std::function<void(const TMyMidiEvent& message)>;

    // The song as the sequencer plays it (the events' addresses name them)
    // and its voices, both kept by the caller until the next call; null: no
    // song. My part is none again.
    void setSong(const TMidiFile* song, const QList<TVoice>* voices);

    // The lowest channel no event of the song uses, never the percussion
    // channel; 0 when there is none.
    int freeChannel() const { return m_free; }

    // Takes my part (a place in the voices, or -1). What sounds on the
    // channel of its own of the part before is released through release
    // (null: the output is not there). The new part's channel is made to
    // sound as the one it shares before it sounds a note (see replayIfDue).
    void choose(int voice, const Send& release);
    // The channel that sounds as my part: its channel of its own, else the
    // one it sings on; 0 without a part.
    int myChannel() const;
    // My part shares its channel and no channel is free: the whole channel
    // is emphasised with it.
    bool sharedWithoutFreeChannel() const { return m_voice >= 0 && m_shared && m_own == 0; }

    // One message on its way out, made of event (null for one made by the
    // session itself, which is no note of my part): given to deliver on the
    // channel it is meant for, and a second time on my part's channel when
    // it is a message other than a note on the channel that part shares.
    void route(const TMyMidiEvent& message, const TMidiEvent* event, const Send& deliver);
    // Sends what makes my part's channel sound as the shared one, when it
    // has not been sent since the part was chosen or the output opened.
    void replayIfDue(const Send& deliver);

    // Every channel was silenced: nothing sounds on my part's channel.
    void silenced();
    // The output was opened anew and has forgotten every channel.
    void outputReopened();

private:
    // A note of my part sounding on its channel of its own.
    struct Sounding {
        // The note-off that ends the note, in the sequencer's track; null
        // when the voice knows none.
        const TMidiEvent* off;
        // The channel the note came on, and the one it was sent on.
        int source;
        int channel;
        quint8 key;
        // Ended when my part changed: the note-off is sent nowhere.
        bool released;
    };

    void release(const Send& send);
    bool routeNoteOff(const TMyMidiEvent& message, const TMidiEvent* event, const Send& deliver);

    const TMidiFile* m_song = nullptr;
    const QList<TVoice>* m_voices = nullptr;
    int m_free = 0;
    int m_voice = -1;
    bool m_shared = false;
    // The channel my part shares and its channel of its own, 0 when it has none.
    int m_source = 0;
    int m_own = 0;
    bool m_replayDue = false;
    // My part's note-ons and the note-off of each (null without one).
    std::unordered_map<const TMidiEvent*, const TMidiEvent*> m_myNotes;
    std::vector<Sounding> m_sounding;
    TChannelState m_state;
};

} // namespace harmonet
