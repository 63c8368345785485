#include "practice/VoiceRouting.h"

#include "sequencer/MidiBytes.h"
#include "sequencer/MidiFile.h"

#include <algorithm>
#include <bitset>

namespace harmonet {

namespace {

constexpr quint8 NoteOff = 0x80;

int channelOf(const TMyMidiEvent& message)
{
    return (message.StatusByte & 0x0F) + 1;
}

TMyMidiEvent onChannel(const TMyMidiEvent& message, int channel)
{
    return TMyMidiEvent(quint8((message.StatusByte & 0xF0) | (channel - 1)), message.FirstData, message.SecondData);
}

bool endsANote(const TMyMidiEvent& message)
{
    const quint8 kind = message.StatusByte & 0xF0;
    return kind == NoteOff || (kind == midi::NoteOn && message.SecondData == 0);
}

int firstFreeChannel(const TMidiFile& song)
{
    std::bitset<16> used;
    for (int t = 0; t < song.NumberOfTracks(); ++t) {
        for (const TMidiEvent& event : song.TrackAt(t)->Events()) {
            if (event.Status >= 0x80 && event.Status < 0xF0) {
                used.set(event.Status & 0x0F);
            }
        }
    }
    for (int channel = 1; channel <= 16; ++channel) {
        if (channel != midi::PercussionChannel && !used.test(std::size_t(channel - 1))) {
            return channel;
        }
    }
    return 0;
}

} // namespace

void TVoiceRouting::setSong(const TMidiFile* song, const QList<TVoice>* voices)
{
    m_song = song;
    m_voices = song ? voices : nullptr;
    m_free = song ? firstFreeChannel(*song) : 0;
    m_voice = -1;
    m_shared = false;
    m_source = m_own = 0;
    m_replayDue = false;
    m_myNotes.clear();
    m_sounding.clear();
    m_state.clear();
}

void TVoiceRouting::choose(int voice, const Send& release)
{
    if (!m_voices || voice < 0 || voice >= m_voices->size()) {
        voice = -1;
    }
    if (voice == m_voice) {
        return;
    }
    this->release(release);
    m_voice = voice;
    m_shared = false;
    m_source = m_own = 0;
    m_replayDue = false;
    m_myNotes.clear();
    if (voice < 0) {
        return;
    }
    const TVoice& mine = (*m_voices)[voice];
    for (qsizetype other = 0; other < m_voices->size() && !m_shared; ++other) {
        m_shared = other != voice && (*m_voices)[other].channel == mine.channel;
    }
    m_shared = m_shared && mine.channel != midi::PercussionChannel;
    if (!m_shared || m_free == 0 || mine.track >= m_song->NumberOfTracks()) {
        return;
    }
    m_source = mine.channel;
    m_own = m_free;
    m_replayDue = true;
    const auto events = m_song->TrackAt(mine.track)->Events();
    const auto eventAt = [&events](int index) {
        return index >= 0 && std::size_t(index) < events.size() ? &events[std::size_t(index)] : nullptr;
    };
    for (const TVoiceNote& note : mine.notes) {
        if (const TMidiEvent* on = eventAt(note.onIndex)) {
            m_myNotes.emplace(on, eventAt(note.offIndex));
        }
    }
}

int TVoiceRouting::myChannel() const
{
    if (m_voice < 0) {
        return 0;
    }
    return m_own != 0 ? m_own : (*m_voices)[m_voice].channel;
}

void TVoiceRouting::route(const TMyMidiEvent& message, const TMidiEvent* event, const Send& deliver)
{
    const quint8 kind = message.StatusByte & 0xF0;
    if (message.StatusByte < 0x80 || message.StatusByte >= 0xF0) {
        deliver(message);
        return;
    }
    m_state.record(message);
    const int channel = channelOf(message);
    if (endsANote(message)) {
        if (!routeNoteOff(message, event, deliver)) {
            deliver(message);
        }
        return;
    }
    if (m_own == 0 || channel != m_source) {
        deliver(message);
        return;
    }
    if (kind == midi::NoteOn) {
        const auto mine = event ? m_myNotes.find(event) : m_myNotes.end();
        if (mine == m_myNotes.end()) {
            deliver(message);
            return;
        }
        replayIfDue(deliver);
        deliver(onChannel(message, m_own));
        m_sounding.push_back({mine->second, m_source, m_own, message.FirstData, false});
        return;
    }
    deliver(message);
    replayIfDue(deliver);
    const TMyMidiEvent copy = onChannel(message, m_own);
    m_state.record(copy);
    deliver(copy);
}

bool TVoiceRouting::routeNoteOff(const TMyMidiEvent& message, const TMidiEvent* event, const Send& deliver)
{
    // The note this note-off ends; else a note of the key without a known
    // note-off (the second of two note-ons of one key, which the reader
    // gives none) ends with it, and the note-off goes on to the shared channel too.
    auto ended = std::find_if(m_sounding.begin(), m_sounding.end(),
                              [event](const Sounding& sounding) { return event && sounding.off == event; });
    const bool known = ended != m_sounding.end();
    if (!known) {
        const int channel = channelOf(message);
        ended = std::find_if(m_sounding.begin(), m_sounding.end(), [&](const Sounding& sounding) {
            return !sounding.off && sounding.source == channel && sounding.key == message.FirstData;
        });
        if (ended == m_sounding.end()) {
            return false;
        }
    }
    const Sounding note = *ended;
    m_sounding.erase(ended);
    // A note released when the part changed has ended already.
    if (!note.released) {
        deliver(onChannel(message, note.channel));
    }
    return known;
}

void TVoiceRouting::replayIfDue(const Send& deliver)
{
    if (!m_replayDue || !deliver) {
        return;
    }
    m_replayDue = false;
    for (const TMyMidiEvent& message : m_state.copy(m_source, m_own)) {
        m_state.record(message);
        deliver(message);
    }
}

void TVoiceRouting::release(const Send& send)
{
    // Their own note-offs, when they come, are the ends of notes ended
    // already: they would end another note of the key on the channel.
    for (Sounding& sounding : m_sounding) {
        if (send && !sounding.released) {
            send(TMyMidiEvent(quint8(NoteOff + sounding.channel - 1), sounding.key, 0));
        }
        sounding.released = true;
    }
}

void TVoiceRouting::silenced()
{
    m_sounding.clear();
}

void TVoiceRouting::outputReopened()
{
    m_state.clear();
    m_replayDue = m_own != 0;
}

} // namespace harmonet
