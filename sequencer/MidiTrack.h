#pragma once

#include "sequencer/EventStorage.h"
#include "sequencer/MidiEvent.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>
#include <span>

namespace harmonet {

class SmfReader;

// One track of a loaded file: its events in file order, the facts read from
// them (name, instrument, channel, volume and pan as the file sets them), and
// its playback pointer. What the user sets for a track (mute, instrument,
// track mixer) is not kept here but by the playing session.
class TMidiTrack {
public:
    using TNotifyEvent = std::function<void(TMidiTrack* track)>;

    TMidiTrack(int trackNumber, TOnMidiEvent onMidiEvent);
    TMidiTrack(const TMidiTrack&) = delete;
    TMidiTrack& operator=(const TMidiTrack&) = delete;
    // The same track with its pointer at the start and another handler: the
    // events are copied, their texts stay in the shared text pool.
    std::unique_ptr<TMidiTrack> copyForPlaying(TOnMidiEvent onMidiEvent) const;
    // A track made by the program rather than read (the metronome's clicks):
    // the events in order of their Ticks, none of them a meta event.
    static std::unique_ptr<TMidiTrack> ofEvents(std::span<const TMidiEvent> events, TOnMidiEvent onMidiEvent);

    int EventCount() const { return int(m_events.size()); }
    // The event at index, or null outside 0..EventCount()-1.
    PMidiEvent EventAt(int index) const;
    std::span<const TMidiEvent> Events() const { return m_events; }

    // Events that are not meta events.
    int CountChannelEvents() const;
    // Ticks of the last event; 0 without events.
    qint32 LastEventTicks() const;

    const QString& TrackName() const { return m_trackName; }
    const QString& InstrumentName() const { return m_instrumentName; }
    // Takes the program of the name (0 when unknown) and the table's spelling of it.
    void SetInstrumentName(const QString& name);
    qint32 ProgramNumber() const { return m_programNumber; }
    // Keeps 0..127; any other number becomes 0 with its name.
    void SetProgramNumber(qint32 n);

    // The track's last channel volume and pan controllers; 0 without one.
    qint32 Volume() const { return m_volume; }
    qint32 Pan() const { return m_pan; }
    // 1..16 from the last note-on of the track; 0 without note-on.
    qint32 Channel() const { return m_channel; }
    qint32 TickTotal() const { return m_tickTotal; }
    qint32 TrackNumber() const { return m_trackNumber; }

    // Playback pointer: the index of the next event to dispatch.
    qint32 NextIndex() const { return m_nextIndex; }
    bool Ended() const { return m_ended; }

    const TOnMidiEvent& OnMidiEvent() const { return m_onMidiEvent; }
    void SetOnMidiEvent(TOnMidiEvent handler) { m_onMidiEvent = std::move(handler); }
    const TNotifyEvent& OnTrackEnded() const { return m_onTrackEnded; }
    void SetOnTrackEnded(TNotifyEvent handler) { m_onTrackEnded = std::move(handler); }

    // Puts the pointer back to the first event.
    void RewindTrack();
    // Hands every event before tick p to the handler, moving the pointer past it.
    // Without a handler nothing moves.
    void DispatchBefore(qint64 p);
    // Moves the pointer past every event before tick p without dispatching.
    void SkipBefore(qint64 p);

    // Tick of the next event the handler would get, or -1 when there is none
    // (ended, or no handler).
    qint64 NextDueTicks() const;

private:
    friend class SmfReader;

    void checkEnded();

    EventVector<TMidiEvent> m_events;
    QByteArray m_textPool;
    QString m_trackName;
    QString m_instrumentName;
    qint32 m_programNumber = 0;
    qint32 m_volume = 0;
    qint32 m_pan = 0;
    qint32 m_channel = 0;
    qint32 m_tickTotal = 0;
    qint32 m_nextIndex = 0;
    qint32 m_trackNumber = 0;
    bool m_ended = false;
    TOnMidiEvent m_onMidiEvent;
    TNotifyEvent m_onTrackEnded;
};

} // namespace harmonet
