#pragma once

#include "sequencer/Clock.h"
#include "sequencer/GMPrograms.h"
#include "sequencer/MidiEvent.h"
#include "sequencer/MidiTrack.h"
#include "sequencer/ProcessPriority.h"
#include "sequencer/SequencerErrors.h"
#include "sequencer/TempoMap.h"
#include "sequencer/TimeSignature.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace harmonet {

// When a dispatched event fell due, in playing time (milliseconds since the
// start of playing, as CurrentTime counts them): the first whole millisecond
// at which the position passed it, which is when a live output plays it, and
// the moment within that the position reached its tick, where an offline
// rendering places it to the sample.
struct TDue {
    qint64 ms = 0;
    double exactMs = 0.0;
    bool operator==(const TDue&) const = default;
};

// A passage played over and over: from StartTicks up to EndTicks (not
// included), Passes times in all (0: without end), then on.
struct TTickLoop {
    qint64 StartTicks = 0;
    qint64 EndTicks = 0;
    int Passes = 0;
    bool operator==(const TTickLoop&) const = default;
};

// The sequencer: loads a Standard MIDI File into tracks of events and plays
// them against a monotonic clock, handing each event that falls due to
// OnMidiEvent, track by track. One tempo applies to the whole song, unless
// the file's tempo changes are followed.
class TMidiFile : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString Filename READ Filename WRITE SetFilename)
    Q_PROPERTY(int NumberOfTracks READ NumberOfTracks)
    Q_PROPERTY(int TicksPerQuarter READ TicksPerQuarter)
    Q_PROPERTY(int Bpm READ Bpm WRITE SetBpm)
    Q_PROPERTY(int CurrentTime READ CurrentTime)
    Q_PROPERTY(double CurrentPos READ CurrentPos)

public:
    using TNotifyEvent = std::function<void(TMidiFile* sender)>;

    // The period of the playback wake-up.
    static constexpr int TimerPeriodMs = 10;

    explicit TMidiFile(QObject* parent = nullptr);
    ~TMidiFile() override;

    // --- Loading ---
    const QString& Filename() const { return m_filename; }
    void SetFilename(const QString& filename) { m_filename = filename; }

    // The whole file's bytes; raises EFileError ("File not found", "Access
    // denied", "Is a directory", or the system's reason) or std::bad_alloc.
    static QByteArray ReadWholeFile(const QString& filename);
    // Discards all tracks and reads the file named by Filename. Raises the first
    // failure; the tracks read until then stay.
    void LoadSong();
    // The same from bytes already in memory (the file name is not used). The
    // loaded texts keep referring to the bytes, shared, not copied.
    void LoadSongFromBytes(const QByteArray& bytes);
    // Takes the tracks, tempo and file name of a song loaded elsewhere, which
    // is only read (its events are copied, their texts shared): each player
    // of one song has its own playback pointers. This file's own choice of
    // following tempo changes stays and applies to the song taken.
    void LoadSongFrom(const TMidiFile& song);

    int NumberOfTracks() const { return int(m_tracks.size()); }
    int TicksPerQuarter() const { return m_ticksPerQuarter; }
    TFileFormat FileFormat() const { return m_fileFormat; }

    // Raises "List index out of bounds (%d)" outside 0..NumberOfTracks()-1.
    TMidiTrack* TrackAt(int index) const;
    // The first track whose Channel is channel (1..16), else track 0.
    TMidiTrack* TrackForChannel(int channel) const;

    // Events played beside the song's tracks on the song's time (the
    // metronome's clicks), each to the track's own handler: not one of the
    // tracks, and not counted in the song's length. Taken from the current
    // position on; null: none. Loading another song drops it.
    void SetClickTrack(std::unique_ptr<TMidiTrack> track);
    const TMidiTrack* ClickTrack() const { return m_clickTrack.get(); }

    // --- Tempo ---
    int Bpm() const { return m_bpm; }
    // Sets the tempo in quarter notes per minute, keeping the current position.
    void SetBpm(int bpm);
    // While tempo changes are followed: the tick duration at the start of the song.
    double MicrosecondsPerTick() const { return m_microsecondsPerTick; }

    // --- Tempo changes ---
    // Off (the default): the whole song plays at one tempo, the last one the
    // file sets. On: playing time follows the file's tempo map, and Bpm is the
    // tempo at the start of the song; setting it scales every tempo alike, and
    // setting the file's own start tempo gives back the file's own tempi.
    bool FollowsTempoChanges() const { return m_followTempoChanges; }
    // Takes effect at once with the file's own tempo or tempi, keeping the
    // position in ticks (as a tempo change does); also before a file is loaded.
    void SetFollowTempoChanges(bool follow);
    // Every tempo event of the loaded file.
    const TTempoMap& TempoMap() const { return m_tempoMap; }
    // The one tempo the file itself sets for the whole song (its last tempo
    // event, else 120 bpm), whatever tempo plays now.
    double FileMicrosecondsPerTick() const { return m_fileMicrosecondsPerTick; }
    // Every time-signature event of the loaded file, in the order the file
    // holds them (track by track, then event by event).
    const std::vector<TTimeSignature>& TimeSignatures() const { return m_timeSignatures; }
    // The tick position SeekTo(ms) moves the tracks to.
    qint64 TicksAtMs(int ms) const;
    // The playing time of a tick position at the current tempo.
    double MsAtTicks(double ticks) const;

    // --- Playback ---
    int CurrentTime() const { return m_currentTime; }
    double CurrentPos() const { return m_currentPos; }
    // The tick position playing has reached by the clock now, also between
    // two wake-ups, so that what is drawn every frame moves smoothly;
    // CurrentPos while halted.
    double PositionNow() const;
    bool IsPlaying() const { return m_playing; }
    // True while the periodic wake-up runs.
    bool IsTimerRunning() const { return m_periodicTimer.isActive(); }
    // Clock time in ms of the early wake-up armed for the next event that falls
    // due, or -1 when none is armed. An offline renderer may move its clock there.
    qint64 NextDueMs() const { return m_dueTimer.isActive() ? m_dueAtMs : -1; }

    // While driven by its caller (an offline renderer), playing runs no timer
    // of its own and leaves the process priority alone: the caller moves the
    // clock and calls Tick.
    void SetDrivenByCaller(bool driven) { m_drivenByCaller = driven; }
    bool DrivenByCaller() const { return m_drivenByCaller; }
    // The clock time in ms at which the next event falls due while playing
    // (the first whole millisecond at which an advance would dispatch it), or
    // -1 when none is left or the song has no tempo.
    qint64 NextEventMs() const;

    void PlayFromStart();
    void ResumePlay();
    void HaltPlay();
    // Brings the playing time to ms, dispatching what falls due on the way.
    void AdvanceTo(int ms);
    // Moves every track's pointer to ms without dispatching.
    void SeekTo(int ms);
    // Moves to a tick position exactly, without dispatching: the events from
    // ticks on are the next ones, the position is ticks and the playing time
    // its time at the current tempo (while playing, playing goes on from there).
    void JumpToTicks(double ticks);
    // The same to a playing time: the tracks as SeekTo(ms) leaves them, the
    // playing time ms and the position its tick position.
    void JumpTo(int ms);

    // --- Looping ---
    // When the position reaches the loop's end it goes back to its start at
    // once, keeping time to the fraction of a millisecond: the events before
    // the end are dispatched, then OnLoopWrap is called with the moment of the
    // wrap, then playing goes on from the start, the playing time set back by
    // the loop's length. A position at or past the end does not wrap. Setting
    // a loop, a jump or playing from the start begins counting passes anew.
    // OnLoopWrap answers how long playing waits at the start before the next
    // pass (ms of the clock, for a count-in; 0: it goes on at once): the
    // position stays at the start until then, and the start's events fall
    // due exactly that much after the wrap.
    const std::optional<TTickLoop>& Loop() const { return m_loop; }
    void SetLoop(const std::optional<TTickLoop>& loop);
    // The pass under way, from 1.
    int LoopPass() const { return m_loopPass; }
    // Whether the position is inside the loop with a wrap still to come.
    bool LoopWrapAhead() const;
    using TOnLoopWrap = std::function<double(const TDue& at)>;
    void SetOnLoopWrap(TOnLoopWrap handler) { m_onLoopWrap = std::move(handler); }
    // The clock's time (ms, fractional) of a moment in playing time.
    double ClockMsAt(double playingMs) const { return double(m_startReference) + playingMs; }

    // Song length in ms at the current tempo (saturates at 2147483647).
    int SongLengthMs() const;
    bool AllTracksEnded() const;

    const TOnMidiEvent& OnMidiEvent() const { return m_onMidiEvent; }
    // Stores the handler and gives every existing track a copy.
    void SetOnMidiEvent(TOnMidiEvent handler);
    const TNotifyEvent& OnUpdateEvent() const { return m_onUpdateEvent; }
    void SetOnUpdateEvent(TNotifyEvent handler) { m_onUpdateEvent = std::move(handler); }

    // The clock playback reads; null restores the file's own steady clock. Not owned.
    void SetClock(const Clock* clock);
    const Clock& clock() const { return *m_clock; }

    // Runs one wake-up now: advances to the clock's time while playing, then
    // calls OnUpdateEvent. Errors are reported, never thrown.
    void Tick();

    // While playing and an advance is dispatching event: the moment it fell
    // due on the system's steady clock (the first whole millisecond of
    // playing time at which the position passed it, never later than now),
    // so an output can play it at its own time however late it was handed
    // over. None outside a dispatch, while halted, or on a clock that does
    // not run with real time.
    std::optional<std::chrono::steady_clock::time_point> DueTimeOf(const TMidiEvent& event) const;
    // The same in playing time, also on a clock that does not run with real
    // time; none outside a dispatch or while halted.
    std::optional<TDue> DueOf(const TMidiEvent& event) const;
    // The moment on the system's steady clock of a playing time, no later
    // than now; none while halted or on a clock that does not run with real time.
    std::optional<std::chrono::steady_clock::time_point> SteadyTimeAt(qint64 playingMs) const;

private:
    friend class SmfReader;

    void startTimer();
    void stopTimer();
    void armDueTimer();
    void scheduleDueWakeUp();
    void dueTimerFired();
    void setTempoFromFile(quint32 microsecondsPerQuarter);
    // Reads bytes into the tracks, then builds the tempo map, also after a failed read.
    void readSong(const QByteArray& bytes);
    // The tempo in force after a load or a switch of SetFollowTempoChanges.
    void applyFileTempo();
    // Following tempo changes, with a map to follow: a file without a
    // division has none and plays at the one tempo it set.
    bool followsMap() const { return m_followTempoChanges && !m_tempoMap.IsEmpty(); }
    // The tick position an advance from CurrentTime to t reaches.
    double positionAt(qint64 t) const;
    // The first whole millisecond of playing time from m_currentTime at
    // which an advance rounds the position above ticks, or -1 beyond limitMs.
    qint64 firstMsPassing(qint64 ticks, double limitMs) const;
    // The tick of the next event any track dispatches, or -1.
    qint64 nextEventTicks() const;
    // The first whole millisecond of playing time at which an advance
    // dispatches an event or wraps the loop, or -1 beyond limitMs.
    qint64 nextDueMs(double limitMs) const;
    // Dispatches what falls due as the position moves from the current one
    // to toPos by playing time toMs: the events before limitTicks.
    void dispatchSpan(qint64 toMs, double toPos, qint64 limitTicks);
    // The loop's start reached at playing time wrapMs (fractional, past the
    // current time): pointers and position go there, time set back (and the
    // clock's reference moved on by the pause OnLoopWrap asks for).
    void wrapLoop(double wrapMs);
    // Pointers at the events from firstTicks on, the position ticks at playing time ms.
    void placeAt(double ticks, qint64 firstTicks, int ms);
    // The tick position ms of playing time after ticks.
    double positionAfter(double ticks, double ms) const;
    // The song's tracks, then the click track when there is one.
    template <typename Action>
    void forEachPlayedTrack(const Action& action) const;

    QString m_filename;
    std::vector<std::unique_ptr<TMidiTrack>> m_tracks;
    std::unique_ptr<TMidiTrack> m_clickTrack;
    int m_ticksPerQuarter = 0;
    TFileFormat m_fileFormat = TFileFormat::single;
    int m_bpm = 0;
    double m_microsecondsPerTick = 0.0;
    // The tempo the file itself sets for the whole song (its last tempo event).
    int m_fileBpm = 0;
    double m_fileMicrosecondsPerTick = 0.0;
    bool m_followTempoChanges = false;
    std::vector<TTempoChange> m_tempoChanges;
    TTempoMap m_tempoMap;
    std::vector<TTimeSignature> m_timeSignatures;
    // While following: how many times longer than written every tempo plays.
    double m_tempoScale = 1.0;

    bool m_playing = false;
    bool m_drivenByCaller = false;
    qint64 m_startReference = 0;
    int m_currentTime = 0;
    double m_currentPos = 0.0;
    qint64 m_dueAtMs = -1;
    // The stretch the advance under way covers: from the time and position
    // before it to those after it.
    struct DispatchSpan {
        bool active = false;
        qint64 fromMs = 0, toMs = 0;
        double fromPos = 0, toPos = 0;
    };
    DispatchSpan m_dispatchSpan;
    bool m_pollingForDue = false;
    QElapsedTimer m_pollingSince;

    std::optional<TTickLoop> m_loop;
    int m_loopPass = 1;
    // Between a loop's passes: the position waits at the start until the clock reaches it.
    bool m_waitingForPass = false;
    TOnLoopWrap m_onLoopWrap;

    TOnMidiEvent m_onMidiEvent;
    TNotifyEvent m_onUpdateEvent;
    SteadyClock m_steadyClock;
    const Clock* m_clock;
    // Children of the file, so they run on the thread that owns it.
    QTimer m_periodicTimer;
    QTimer m_dueTimer;
    ProcessPriority m_priority;
};

} // namespace harmonet
