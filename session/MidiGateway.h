#pragma once

#include "midiout/Miditype.h"
#include "practice/PracticeMix.h"
#include "practice/VoiceRouting.h"
#include "practice/TrackSettings.h"
#include "sequencer/MidiFile.h"

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
// out until it is open. The transposition and loop of later practice tools
// belong here too: a message rule beside the practice mix, a seek of the
// session's sequencer.
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
    // The output was opened anew: the channels' levels go out again.
    void outputReopened();

private:
    int channelOf(int track) const;
    // A message of the song's channel (made of event) or of the user's or
    // the session's own for a channel: my part's notes to their channel,
    // then the practice mix; required raises when no output is open.
    void pass(const TMyMidiEvent& message, const TMidiEvent* event, const Due& due, bool required);
    // The practice mix's value in the message, sent while an output is open.
    void emphasise(const TMyMidiEvent& message, const Due& due);

    const TMidiFile& m_song;
    const std::vector<TrackSettings>& m_tracks;
    MidiSink* m_sink = nullptr;
    TPracticeMix m_mix;
    TVoiceRouting m_voices;
    bool m_trackMixerInForce = false;
    int m_currentTrack = 1;
};

} // namespace harmonet
