#pragma once

#include "midiout/Miditype.h"
#include "practice/PracticeMix.h"
#include "practice/Transposition.h"
#include "practice/VoiceRouting.h"
#include "practice/TrackSettings.h"
#include "sequencer/ChannelSetup.h"
#include "sequencer/MidiFile.h"
#include "session/SoundingNotes.h"

#include <optional>
#include <vector>

namespace harmonet {

class MidiSink;

// The one way out for every MIDI message of a playing session. Messages are
// made by the typed builders, the song's channel events pass the routing
// rules (the owner track, its mute and instrument, the track mixer's values
// when in force, my part's notes to a channel of their own where it shares
// one, then the practice mix), and each goes to the sink with the
// moment it fell due, or none. The gateway alone checks that the output is
// open: the song's messages and the user's own changes (an instrument, a
// track mixer value) then raise "MIDI Output device not open", while what
// the session sends of its own accord (silencing, my part's levels) is left
// out until it is open. Last of all, every message passes the transposition
// (see TTransposition), which the kind of output decides: the built-in
// synthesizer tunes its channels, a system port gets its notes shifted. The
// clicks of the count-in and the metronome go out on a channel of their own,
// which keeps its pitch.
class MidiGateway {
public:
    using Due = std::optional<TDue>;

    // Channels count from 1 to 16; values are kept to 0..127.
    static bool validChannel(int channel) { return channel >= 1 && channel <= 16; }
    static TMyMidiEvent note(int channel, int key, int velocity);
    static TMyMidiEvent controller(int channel, int number, int value);
    static TMyMidiEvent program(int channel, int program);
    static TMyMidiEvent allNotesOff(int channel);

    // The song the sequencer plays and the settings of its tracks, both the
    // session's; the gateway only reads them.
    MidiGateway(const TMidiFile& song, const std::vector<TrackSettings>& tracks);

    // Not owned; null sends nothing.
    void setSink(MidiSink* sink) { m_sink = sink; }
    bool isOpen() const;

    bool trackMixerInForce() const { return m_trackMixerInForce; }
    void setTrackMixerInForce(bool inForce) { m_trackMixerInForce = inForce; }

    // Sends the message as it is; raises EmidioutputError when no output is open.
    void send(const TMyMidiEvent& message, const Due& due = std::nullopt);
    // Sends the message as it is while an output is open, else nothing.
    void offer(const TMyMidiEvent& message, const Due& due = std::nullopt);

    // A channel event the sequencer dispatched (not a meta event), as the
    // routing rules make it.
    void route(const TMidiEvent& event, const Due& due);
    // The track that owns the channel of the latest routed message that has
    // an owner (1 before any).
    int currentTrack() const { return m_currentTrack; }
    void setCurrentTrack(int track) { m_currentTrack = track; }

    // The program as a program change on the track's channel (none when it has none).
    void sendInstrument(int track, int program);
    // All Notes Off on each of the 16 channels, while an output is open.
    void silence();
    // All Notes Off on the track's channel, while an output is open.
    void silenceTrack(int track);
    // Ends what sounds, while an output is open: on each channel the pedal
    // is lifted, every note the gateway started and did not end gets its
    // note-off, then All Notes Off; at the moment given, or now.
    void release(const Due& due = std::nullopt);
    // The channels' settings at a place sent again, while an output is open:
    // bank, program, volume, expression, pan, pedal, pitch bend and bend
    // range of every channel the song uses, by the routing rules (the
    // owner's instrument, the track mixer, the practice mix) except the
    // mute, so a muted track plays right once it is heard again.
    void chase(const TChannelSetups& states, const Due& due = std::nullopt);
    // Notes started through the gateway and not ended.
    int soundingNoteCount() const { return m_sounding.count(); }

    // A volume or pan value of the track mixer for the track's channel: it
    // takes the emphasis of the singer's part, as the file's own do.
    void sendTrackMix(int track, int controller, int value);

    // The singer's part and its mix: the song and its voices (or none) are
    // taken anew; the choice (my part the voice at that place in them, or
    // -1) takes effect at once.
    const TPracticeMix& practiceMix() const { return m_mix; }
    const TVoiceRouting& voiceRouting() const { return m_voices; }
    void songChanged(const QList<TVoice>* voices);
    void setPracticeChoice(const PracticeChoice& choice, int voice);
    // The output was opened anew: the channels' levels go out again, and
    // so do their tunings and the click channel's drum kit.
    void outputReopened();

    // --- Pitch ---
    int transpose() const { return m_transposition.semitones(); }
    // The song moved by semitones (-12..12) from now on.
    void setTranspose(int semitones);
    // Keys sounding now that a shift on a system port started.
    int shiftedNotesSounding() const { return m_transposition.shiftedNotesSounding(); }

    // --- Clicks ---
    // The channel (1..16; 0: none) the clicks play on. Any channel but 10 is
    // given a drum kit before its first click and its own sound back after.
    void setClickChannel(int channel);
    int clickChannel() const { return m_clickChannel; }
    // Whether clicks also go to a system port (the built-in synthesizer always has them).
    void setClicksOnSystemPorts(bool on) { m_clicksOnPorts = on; }
    // Whether clicks reach the output now.
    bool clicksHeard() const;
    // A click struck (key, velocity) on the click channel, while they are heard.
    void sendClick(int key, int velocity, const Due& due = std::nullopt);
    void endClick(int key, const Due& due = std::nullopt);

private:
    int channelOf(int track) const;
    // Routes a channel event; a chasing one ignores the owner's mute and
    // leaves the current track alone.
    void routeEvent(const TMidiEvent& event, const Due& due, bool chasing);
    void chaseChannel(int channel, const TChannelSetup& state, const Due& due);
    // A message of the song's channel (made of event) or of the user's or
    // the session's own for a channel: my part's notes to their channel,
    // then the practice mix; required raises when no output is open.
    void pass(const TMyMidiEvent& message, const TMidiEvent* event, const Due& due, bool required);
    // The practice mix's value in the message, sent while an output is open.
    void emphasise(const TMyMidiEvent& message, const Due& due);
    // Every message's last step: the transposition, then the sink.
    void deliver(const TMyMidiEvent& message, const Due& due);
    // Messages of the gateway's own (tunings, drum kits) straight to the sink.
    TTransposition::Send direct();
    // Tuning on the built-in synthesizer, shifting elsewhere.
    void followOutputKind();
    // The drum kit on (or off) a click channel other than 10.
    void setDrumKit(int channel, bool on);

    const TMidiFile& m_song;
    const std::vector<TrackSettings>& m_tracks;
    MidiSink* m_sink = nullptr;
    TPracticeMix m_mix;
    TVoiceRouting m_voices;
    bool m_trackMixerInForce = false;
    int m_currentTrack = 1;
    SoundingNotes m_sounding;
    TTransposition m_transposition;
    int m_clickChannel = 0;
    bool m_clicksOnPorts = false;
    // The output has the drum kit on the click channel.
    bool m_drumKitSet = false;
};

} // namespace harmonet
