#pragma once

#include "practice/PracticeChoice.h"
#include "practice/TrackSettings.h"
#include "sequencer/MidiEvent.h"
#include "session/MidiGateway.h"
#include "session/SongSettings.h"

#include <QObject>

#include <memory>
#include <vector>

namespace harmonet {

class MidiSink;
class Song;
class TMidiFile;
class TMidiOutput;

// One song being played: the song as read (shared, never changed), what the
// user set for its tracks, the sequencer that plays it with its clock, and
// the gateway every message goes out through. The main window plays one
// live through the output device; an offline renderer plays one through its
// synthesizer on a clock of its own. It knows no window: what windows show
// comes from its signals.
class PlayingSession : public QObject {
    Q_OBJECT

public:
    explicit PlayingSession(QObject* parent = nullptr);
    ~PlayingSession() override;

    // --- The song ---
    // Reads the file and plays it from now on, the tracks at the file's own
    // settings. Raises what the reader raises; the session then has no song.
    void load(const QString& path);
    // Plays a song read elsewhere, at the file's own settings.
    void setSong(std::shared_ptr<const Song> song);
    // No song any more.
    void close();
    bool fileLoaded() const { return m_song != nullptr; }
    const std::shared_ptr<const Song>& song() const { return m_song; }
    // The sequencer: it plays a copy of the song's tracks of its own.
    TMidiFile& sequencer() { return *m_sequencer; }
    const TMidiFile& sequencer() const { return *m_sequencer; }

    // --- What the user set for the tracks ---
    int trackCount() const { return int(m_tracks.size()); }
    // Raises "List index out of bounds" outside 0..trackCount()-1.
    const TrackSettings& track(int index) const;
    // A muted track sends nothing more; what it holds sounds on until the
    // caller silences it (gateway().silenceTrack).
    void setMuted(int track, bool muted);
    // Sends the instrument as a program change and records it (not when the
    // sending fails).
    void setInstrument(int track, int program);
    // The track mixer's values: sent on the track's channel and recorded
    // (not when the sending fails).
    void setTrackVolume(int track, int volume);
    void setTrackPan(int track, int pan);
    // Whether the track mixer's values replace the file's (while its window is there).
    bool trackMixerInForce() const { return m_gateway.trackMixerInForce(); }
    void setTrackMixerInForce(bool inForce) { m_gateway.setTrackMixerInForce(inForce); }
    // The tempo, the tracks' settings and the track mixer as they are now.
    SongSettings settings() const;
    // Takes them (as far as the song has tracks for them).
    void applySettings(const SongSettings& settings);

    // --- The voices: the parts a singer can choose ---
    // The song's voices, in panel order, named and paired with their words
    // (see Song::voices); none without a song.
    const QList<TVoice>& voices() const;
    // My part, or null: one of voices().
    const TVoice* myVoice() const;
    // Its place in voices(), or -1.
    int myVoiceIndex() const { return m_myVoice; }
    // The channel (1..16) my part sounds on: one of its own where it shares
    // its channel with another voice and the song leaves one free, else its
    // voice's channel; 0 without a part.
    int myChannel() const { return m_gateway.voiceRouting().myChannel(); }
    // The singer's part and its mix, in force at once. A part that is no
    // voice of the song is none; one named by its track alone (a choice
    // remembered so) is the track's first voice.
    const PracticeChoice& practiceChoice() const { return m_gateway.practiceMix().choice(); }
    void setPracticeChoice(const PracticeChoice& choice);
    // What a singer should know of how my part is heard, in their words (it
    // shares a staff and cannot be brought forward alone); empty: nothing.
    const QString& partNotice() const { return m_partNotice; }

    // --- The way out ---
    MidiGateway& gateway() { return m_gateway; }
    // Where the gateway's messages go (not owned); null: nowhere.
    void setSink(MidiSink* sink);
    // The live output device (not owned), which openOutput opens; its
    // notices are passed on as the session's.
    void setOutput(TMidiOutput* output);
    // Opens the named device of the output: false when it cannot be opened.
    bool openOutput(const QString& port);
    void closeOutput();
    bool outputOpen() const { return m_outputOpen; }

    // --- Playing ---
    // One event the sequencer dispatches: a channel event goes out through
    // the gateway with the moment it fell due, a meta event to metaEventDue.
    void dispatch(const TMidiEvent& event);
    // Each voice's instrument (track 1 on: track 0 holds the tempo map) as a
    // program change, as the play action sends them before playing.
    void sendInstruments();
    // Plays from ms on: from the start at 0, else from where a seek put the
    // tracks. The caller sends the instruments first, as the play action does.
    void startAt(int ms);
    // The tracks to ms without sounding, and the playing time with them.
    void seek(int ms);

signals:
    // A meta event of the song fell due (a syllable, a text).
    void metaEventDue(PMidiEvent event);
    // The output's remark for the user changed by itself.
    void outputNoticeChanged();
    // The open output device went away.
    void outputLost();
    // partNotice changed.
    void partNoticeChanged();

private:
    class OutputSink;

    void takeSong(std::shared_ptr<const Song> song);
    void setPartNotice(const QString& notice);
    TrackSettings& settingsOf(int track);

    std::shared_ptr<const Song> m_song;
    std::unique_ptr<TMidiFile> m_sequencer;
    std::vector<TrackSettings> m_tracks;
    MidiGateway m_gateway;
    std::unique_ptr<OutputSink> m_outputSink;
    bool m_outputOpen = false;
    int m_myVoice = -1;
    QString m_partNotice;
};

} // namespace harmonet
