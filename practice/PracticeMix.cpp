#include "practice/PracticeMix.h"

#include "sequencer/MidiBytes.h"
#include "sequencer/MidiFile.h"

#include <algorithm>
#include <cmath>

namespace harmonet {

namespace {

constexpr int LastAccompanimentProgram = 23;
constexpr quint8 HardLeft = 0;
constexpr quint8 HardRight = 127;

bool hasValidChannel(const TMidiTrack& track)
{
    return track.Channel() >= 1 && track.Channel() <= 16;
}

// The track plays notes on its channel and is the first track there.
bool ownsItsChannel(const TMidiFile& song, const TMidiTrack& track)
{
    return hasValidChannel(track) && song.TrackForChannel(track.Channel()) == &track;
}

bool keyboardProgram(const TMidiTrack& track)
{
    return track.Channel() != midi::PercussionChannel && track.ProgramNumber() >= 0
        && track.ProgramNumber() <= LastAccompanimentProgram;
}

const TMidiTrack* ownerOf(const TMidiFile& song, int channel)
{
    for (int i = 0; i < song.NumberOfTracks(); ++i) {
        const TMidiTrack* track = song.TrackAt(i);
        if (track->Channel() == channel) {
            return track;
        }
    }
    return nullptr;
}

} // namespace

bool isAccompaniment(const TMidiFile& song, const TMidiTrack& track)
{
    if (!hasValidChannel(track) || !keyboardProgram(track)) {
        return false;
    }
    for (int i = 0; i < song.NumberOfTracks(); ++i) {
        const TMidiTrack* other = song.TrackAt(i);
        if (ownsItsChannel(song, *other) && other->Channel() != midi::PercussionChannel && !keyboardProgram(*other)) {
            return true;
        }
    }
    return false;
}

ChannelRole channelRole(const TMidiFile& song, int myChannel, int channel)
{
    if (myChannel != 0 && channel == myChannel) {
        return ChannelRole::Mine;
    }
    const TMidiTrack* owner = ownerOf(song, channel);
    return owner && isAccompaniment(song, *owner) ? ChannelRole::Accompaniment : ChannelRole::Other;
}

quint8 mixedVolume(ChannelRole role, const PracticeChoice& choice, quint8 base)
{
    if (!choice.hasPart()) {
        return base;
    }
    if (choice.withoutMyPart) {
        return role == ChannelRole::Mine ? 0 : base;
    }
    if (role != ChannelRole::Other) {
        return base;
    }
    if (choice.othersSilent()) {
        return 0;
    }
    const double scaled = base * std::pow(10.0, choice.othersDb / 40.0);
    return quint8(std::clamp<long>(std::lround(scaled), 0, 127));
}

quint8 mixedPan(ChannelRole role, const PracticeChoice& choice, quint8 base)
{
    if (!choice.hasPart() || !choice.panned) {
        return base;
    }
    const quint8 mySide = choice.side == PanSide::Left ? HardLeft : HardRight;
    const quint8 otherSide = choice.side == PanSide::Left ? HardRight : HardLeft;
    switch (role) {
    case ChannelRole::Mine:
        return mySide;
    case ChannelRole::Other:
        return otherSide;
    case ChannelRole::Accompaniment:
        break;
    }
    return midi::CentrePan;
}

void TPracticeMix::setSong(const TMidiFile* song)
{
    m_song = song;
    m_choice.part = PracticeChoice::NoPart;
    m_myChannel = 0;
    m_baseVolume.fill(midi::DefaultVolume);
    m_basePan.fill(midi::CentrePan);
    m_levelsDue.reset();
    m_changed.reset();
}

void TPracticeMix::setChoice(const PracticeChoice& choice, int myChannel, const Send& send)
{
    m_choice = choice;
    m_myChannel = myChannel;
    if (!m_song) {
        return;
    }
    if (!active()) {
        // Back to the file's own mix on every channel that was changed.
        for (int channel = 1; channel <= 16; ++channel) {
            if (m_changed.test(std::size_t(channel - 1)) && send) {
                const quint8 status = quint8(midi::Controller + channel - 1);
                send(TMyMidiEvent(status, midi::VolumeController, m_baseVolume[std::size_t(channel - 1)]));
                send(TMyMidiEvent(status, midi::PanController, m_basePan[std::size_t(channel - 1)]));
            }
        }
        m_changed.reset();
        m_levelsDue.reset();
        return;
    }
    m_levelsDue.set();
    if (!send) {
        return;
    }
    for (int i = 0; i <= m_song->NumberOfTracks(); ++i) {
        const int channel = i < m_song->NumberOfTracks() ? m_song->TrackAt(i)->Channel() : m_myChannel;
        if (channel >= 1 && channel <= 16 && m_levelsDue.test(std::size_t(channel - 1))) {
            sendLevels(channel, send);
        }
    }
}

void TPracticeMix::route(TMyMidiEvent& message, const Send& send)
{
    const quint8 kind = message.StatusByte & 0xF0;
    const int channel = (message.StatusByte & 0x0F) + 1;
    const std::size_t index = std::size_t(channel - 1);
    const bool volume = kind == midi::Controller && message.FirstData == midi::VolumeController;
    const bool pan = kind == midi::Controller && message.FirstData == midi::PanController;
    if (volume) {
        m_baseVolume[index] = message.SecondData;
    } else if (pan) {
        m_basePan[index] = message.SecondData;
    }
    if (!active()) {
        return;
    }
    if (volume || pan) {
        const ChannelRole role = channelRole(*m_song, m_myChannel, channel);
        const quint8 base = message.SecondData;
        message.SecondData = volume ? mixedVolume(role, m_choice, base) : mixedPan(role, m_choice, base);
        if (message.SecondData != base) {
            m_changed.set(index);
        }
    } else if (kind == midi::NoteOn && message.SecondData > 0 && m_levelsDue.test(index) && send) {
        sendLevels(channel, send);
    }
}

void TPracticeMix::resendBeforeNextNotes()
{
    if (active()) {
        m_levelsDue.set();
    }
}

void TPracticeMix::sendLevels(int channel, const Send& send)
{
    const std::size_t index = std::size_t(channel - 1);
    const ChannelRole role = channelRole(*m_song, m_myChannel, channel);
    const quint8 volume = mixedVolume(role, m_choice, m_baseVolume[index]);
    const quint8 pan = mixedPan(role, m_choice, m_basePan[index]);
    const quint8 status = quint8(midi::Controller + channel - 1);
    send(TMyMidiEvent(status, midi::VolumeController, volume));
    send(TMyMidiEvent(status, midi::PanController, pan));
    m_levelsDue.reset(index);
    if (volume != m_baseVolume[index] || pan != m_basePan[index]) {
        m_changed.set(index);
    }
}

} // namespace harmonet
