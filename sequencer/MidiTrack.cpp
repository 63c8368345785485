#include "sequencer/MidiTrack.h"

#include "sequencer/GMPrograms.h"

namespace harmonet {

TMidiTrack::TMidiTrack(int trackNumber, TOnMidiEvent onMidiEvent)
    : m_trackNumber(trackNumber), m_onMidiEvent(std::move(onMidiEvent))
{
}

std::unique_ptr<TMidiTrack> TMidiTrack::ofEvents(std::span<const TMidiEvent> events, TOnMidiEvent onMidiEvent)
{
    auto track = std::make_unique<TMidiTrack>(-1, std::move(onMidiEvent));
    track->m_events.assign(events.begin(), events.end());
    track->m_tickTotal = track->m_events.empty() ? 0 : track->m_events.back().Ticks;
    track->checkEnded();
    return track;
}

std::unique_ptr<TMidiTrack> TMidiTrack::copyForPlaying(TOnMidiEvent onMidiEvent) const
{
    auto copy = std::make_unique<TMidiTrack>(m_trackNumber, std::move(onMidiEvent));
    copy->m_events = m_events;
    copy->m_textPool = m_textPool;
    copy->m_trackName = m_trackName;
    copy->m_instrumentName = m_instrumentName;
    copy->m_programNumber = m_programNumber;
    copy->m_volume = m_volume;
    copy->m_pan = m_pan;
    copy->m_channel = m_channel;
    copy->m_tickTotal = m_tickTotal;
    copy->checkEnded();
    return copy;
}

PMidiEvent TMidiTrack::EventAt(int index) const
{
    if (index < 0 || index >= EventCount()) {
        return nullptr;
    }
    return &m_events[size_t(index)];
}

int TMidiTrack::CountChannelEvents() const
{
    int count = 0;
    for (const TMidiEvent& event : m_events) {
        count += event.Status != 0xFF ? 1 : 0;
    }
    return count;
}

qint32 TMidiTrack::LastEventTicks() const
{
    return m_events.empty() ? 0 : m_events.back().Ticks;
}

void TMidiTrack::SetInstrumentName(const QString& name)
{
    m_programNumber = GMProgramNumber(name);
    m_instrumentName = GMProgramName(m_programNumber);
}

void TMidiTrack::SetProgramNumber(qint32 n)
{
    m_instrumentName = GMProgramName(n);
    m_programNumber = GMProgramNumber(m_instrumentName);
}

void TMidiTrack::checkEnded()
{
    if (m_nextIndex >= EventCount()) {
        m_ended = true;
        if (m_onTrackEnded) {
            m_onTrackEnded(this);
        }
    } else {
        m_ended = false;
    }
}

void TMidiTrack::RewindTrack()
{
    m_nextIndex = 0;
    checkEnded();
}

void TMidiTrack::DispatchBefore(qint64 p)
{
    if (m_onMidiEvent) {
        const qint32 count = EventCount();
        // The pointer moves only after the handler returned, so an event whose
        // handler raised is offered again on the next dispatch.
        while (m_nextIndex < count && m_events[size_t(m_nextIndex)].Ticks < p) {
            m_onMidiEvent(&m_events[size_t(m_nextIndex)]);
            ++m_nextIndex;
        }
    }
    checkEnded();
}

void TMidiTrack::SkipBefore(qint64 p)
{
    const qint32 count = EventCount();
    while (m_nextIndex < count && m_events[size_t(m_nextIndex)].Ticks < p) {
        ++m_nextIndex;
    }
    checkEnded();
}

qint64 TMidiTrack::NextDueTicks() const
{
    if (!m_onMidiEvent || m_nextIndex >= EventCount()) {
        return -1;
    }
    return m_events[size_t(m_nextIndex)].Ticks;
}

} // namespace harmonet
