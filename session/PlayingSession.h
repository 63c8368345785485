#pragma once

#include "practice/Clicks.h"
#include "practice/PracticeChoice.h"
#include "practice/TrackSettings.h"
#include "sequencer/BarMap.h"
#include "sequencer/ChannelSetup.h"
#include "sequencer/MidiEvent.h"
#include "practice/BarLoop.h"
#include "session/MidiGateway.h"
#include "session/SongSettings.h"

#include <QObject>
#include <QTimer>

#include <memory>
#include <optional>
#include <vector>

namespace harmonet {

class MidiSink;
class Song;
class TBarMap;
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

    // --- Pitch ---
    // Semitones the song is moved up (down when negative), -12..12; the
    // drums and the clicks keep their pitch. In force at once.
    int transpose() const { return m_gateway.transpose(); }
    void setTranspose(int semitones);
    // My part's note at ms of playing time: the one sounding there, else the
    // next; none without a part or with no note left.
    std::optional<int> myNoteAt(int ms) const;
    // Sounds my part's note at ms for a second, on my part's instrument and
    // transposed, whether the song plays or not; false when there is none
    // (or no output is open).
    bool giveMyNote(int ms);
    static constexpr int MyNoteMs = 1000;

    // --- Clicks ---
    const ClickSettings& clicks() const { return m_clicks; }
    // The count-in and metronome from now on (the metronome from the current place).
    void setClicks(const ClickSettings& clicks);
    // The count-in before playing from ms, at the metre and the playing tempo there.
    CountIn countInAt(int ms) const;
    // Plays from ms as startAt does, after counting in when a count-in is
    // chosen (the clicks on a timer of the session's own); the song starts
    // as the count-in ends.
    void startAfterCountIn(int ms);
    bool countingIn() const { return m_countIn.has_value(); }
    // Click index of the count-in (index == the number of clicks: the end,
    // where the song starts), after ending the one before.
    void strikeCountIn(const CountIn& plan, std::size_t index, const MidiGateway::Due& due = std::nullopt);
    // Ends a count-in under way without starting the song.
    void cancelCountIn();


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
    // tracks (a count-in under way ends). The caller sends the instruments
    // first, as the play action does.
    void startAt(int ms);
    // The tracks to ms without sounding, and the playing time with them:
    // what sounds is released, then the channels get the settings the file
    // has there (see MidiGateway::chase).
    void seek(int ms);
    // The same to the start of a bar (bar numbers as printed), exactly to its tick.
    void seekToBar(qint64 bar);
    // The same to a tick position.
    void seekToTicks(double ticks);
    // The tracks and playing time to ms, sending nothing: the steps of
    // winding, which silenced the output when it began.
    void windTo(int ms);
    // The channels' settings at the playing position, sent (see
    // MidiGateway::chase); winding ends with them.
    void chaseHere();

    // --- Bars and the loop ---
    // The upbeat before the first full bar set by hand, in beats (none: as
    // the file shows it). Bar numbers follow it; a loop keeps its bars.
    std::optional<double> pickupBeats() const { return m_pickupBeats; }
    void setPickupBeats(std::optional<double> beats);
    // The song's bars as a score prints them, with their milliseconds at the
    // song's own tempo (or tempi when tempo changes are followed).
    const TBarMap& bars() const;
    // The bar and beat the playing position is in.
    TBarPosition barPosition() const;
    // Plays bars firstBar to lastBar over and over (passes times, 0: until
    // cleared); the bars are kept within the song's, in order. Playing
    // reaching the end of lastBar goes on at the start of firstBar within the
    // synthesizer's block: notes held across are released, the channels get
    // their settings at firstBar, and wrapped is emitted. With a count-in
    // before each pass, the next pass begins after it.
    void setLoop(qint64 firstBar, qint64 lastBar, int passes = 0);
    void clearLoop();
    const std::optional<BarLoop>& loop() const { return m_loop; }
    // Where the loop lies in playing time at the current tempo: its start and end (ms).
    std::optional<std::pair<int, int>> loopSpanMs() const;

signals:
    // A count-in ended and the song started playing.
    void countInFinished();
    // A meta event of the song fell due (a syllable, a text).
    void metaEventDue(PMidiEvent event);
    // The output's remark for the user changed by itself.
    void outputNoticeChanged();
    // The open output device went away.
    void outputLost();
    // Another song, or none, is played from now on.
    void songChanged();
    // The tracks were moved to ms other than by playing on (a seek, a bar
    // jump, a winding step; a loop's wrap is told by wrapped).
    void positionJumped(int ms);
    // The loop was set, changed or cleared.
    void loopChanged();
    // The song was moved to another pitch.
    void transposeChanged(int semitones);
    // Playing went back from the loop's end to its start, pass (from 2) now
    // under way. Emitted while the sequencer wraps, after the release and the
    // settings at the start went out and before the start's events do: a
    // receiver may send more at the same moment (at), never move the sequencer.
    void wrapped(int pass, const harmonet::TDue& at);
    // partNotice changed.
    void partNoticeChanged();

private:
    class OutputSink;

    void takeSong(std::shared_ptr<const Song> song);
    void setPartNotice(const QString& notice);
    TrackSettings& settingsOf(int track);
    // Answers the pause before the next pass.
    double loopWrapped(const TDue& at);
    // Counts in the pass the wrap at begins, when chosen: its length (ms), or 0.
    double countInBeforePass(const TDue& at);
    // The loop's bars in ticks of the sequencer; the tracks' states at its start.
    void placeLoop();
    // The metronome's clicks on the song's beats, as a track beside the song's.
    void layMetronome();
    void clickDue(const TMidiEvent& event);
    // Sends the count-in's clicks that fell due; starts the song at its end.
    void countInTick();
    // Ends a count-in before a loop's pass (a jump leaves the pass behind).
    void cancelPassCountIn();
    void endMyNote();

    std::shared_ptr<const Song> m_song;
    std::unique_ptr<TMidiFile> m_sequencer;
    std::vector<TrackSettings> m_tracks;
    MidiGateway m_gateway;
    std::unique_ptr<OutputSink> m_outputSink;
    bool m_outputOpen = false;
    TChannelSetupTimeline m_channelStates;
    std::optional<double> m_pickupBeats;
    // Built when first asked for after the song, the upbeat or the tempo
    // map's use changed.
    mutable std::optional<TBarMap> m_bars;
    mutable bool m_barsFollowTempo = false;
    std::optional<BarLoop> m_loop;
    TChannelSetups m_loopStartStates{};
    int m_myVoice = -1;
    QString m_partNotice;

    ClickSettings m_clicks;
    struct CountInUnderWay {
        CountIn plan;
        int fromMs = 0;
        qint64 startClockMs = 0;
        std::size_t next = 0;
        // The song starts at fromMs as it ends; false before a loop's pass,
        // which the sequencer begins by itself.
        bool startsSong = true;
    };
    std::optional<CountInUnderWay> m_countIn;
    QTimer m_countInTimer;
    // My note sounding: its channel and key, ended by the timer.
    std::optional<std::pair<int, int>> m_myNote;
    QTimer m_myNoteTimer;
};

} // namespace harmonet
