#include "session/MidiGateway.h"

#include "midiout/MidiOutError.h"
#include "practice/ChannelRouting.h"
#include "sequencer/MidiBytes.h"
#include "session/MidiSink.h"

#include <QCoreApplication>

#include <algorithm>
#include <array>
#include <bitset>
#include <vector>

namespace harmonet {

namespace {
constexpr int ChannelCount = 16;
constexpr quint8 NoteOff = 0x80;
constexpr quint8 BankSelect = 0;
constexpr quint8 BankSelectLsb = 32;
// The bank of drum kits of General MIDI 2 instruments.
constexpr quint8 RhythmBank = 120;

// The Roland GS message that makes a channel a drum part (or a melodic one
// again): data set 1 at 40 1x 15, where x counts channels 10, 1..9, 11..16
// as 0, 1..9, 10..15. The built-in synthesizer obeys it; General MIDI 2
// instruments take the rhythm bank instead.
std::vector<quint8> rhythmPartMessage(int channel, bool drums)
{
    const int part = channel == midi::PercussionChannel ? 0 : (channel < midi::PercussionChannel ? channel : channel - 1);
    const quint8 address[] = {0x40, quint8(0x10 | part), 0x15, quint8(drums ? 1 : 0)};
    int sum = 0;
    for (const quint8 byte : address) {
        sum += byte;
    }
    return {0xF0, 0x41, 0x10, 0x42, 0x12, address[0], address[1], address[2], address[3], quint8((128 - sum % 128) % 128),
            0xF7};
}
} // namespace

TMyMidiEvent MidiGateway::note(int channel, int key, int velocity)
{
    return TMyMidiEvent(quint8(midi::NoteOn + channel - 1), dataByte(key), dataByte(velocity));
}

TMyMidiEvent MidiGateway::controller(int channel, int number, int value)
{
    return TMyMidiEvent(quint8(midi::Controller + channel - 1), dataByte(number), dataByte(value));
}

TMyMidiEvent MidiGateway::program(int channel, int program)
{
    return TMyMidiEvent(quint8(midi::ProgramChange + channel - 1), dataByte(program), 0);
}

TMyMidiEvent MidiGateway::allNotesOff(int channel)
{
    return controller(channel, midi::AllNotesOffController, 0);
}

MidiGateway::MidiGateway(const TMidiFile& song, const std::vector<TrackSettings>& tracks)
    : m_song(song), m_tracks(tracks)
{
}

bool MidiGateway::isOpen() const
{
    return m_sink && m_sink->isOpen();
}

void MidiGateway::send(const TMyMidiEvent& message, const Due& due)
{
    if (!isOpen()) {
        throw EmidioutputError(QCoreApplication::translate("Output", "MIDI Output device not open"));
    }
    deliver(message, due);
}

void MidiGateway::offer(const TMyMidiEvent& message, const Due& due)
{
    if (isOpen()) {
        deliver(message, due);
    }
}

void MidiGateway::deliver(const TMyMidiEvent& message, const Due& due)
{
    if (message.SysexData) {
        m_sink->send(message, due);
        return;
    }
    // Recorded as the song has it: a release goes the transposition's way too.
    m_sounding.take(message);
    followOutputKind();
    TMyMidiEvent outgoing(message.StatusByte, message.FirstData, message.SecondData);
    if (!m_transposition.route(outgoing)) {
        return;
    }
    m_sink->send(outgoing, due);
    m_transposition.sent(outgoing, direct());
}

TTransposition::Send MidiGateway::direct()
{
    return [this](const TMyMidiEvent& message) { m_sink->send(message, std::nullopt); };
}

void MidiGateway::followOutputKind()
{
    const bool tuning = m_sink->isBuiltInSynthesizer();
    if (tuning != m_transposition.tunesChannels()) {
        m_transposition.setTunesChannels(tuning, direct());
    }
}

void MidiGateway::outputReopened()
{
    m_mix.resendBeforeNextNotes();
    m_voices.outputReopened();
    m_drumKitSet = false;
    if (isOpen()) {
        followOutputKind();
        m_transposition.retune(direct());
    }
}

void MidiGateway::setTranspose(int semitones)
{
    if (isOpen()) {
        followOutputKind();
        m_transposition.setSemitones(semitones, direct());
    } else {
        m_transposition.setSemitones(semitones, {});
    }
}

void MidiGateway::setClickChannel(int channel)
{
    if (channel == m_clickChannel) {
        return;
    }
    if (m_drumKitSet && isOpen()) {
        setDrumKit(m_clickChannel, false);
    }
    m_drumKitSet = false;
    m_clickChannel = validChannel(channel) ? channel : 0;
    std::bitset<16> untouched;
    untouched.set(midi::PercussionChannel - 1);
    if (m_clickChannel > 0) {
        untouched.set(std::size_t(m_clickChannel - 1));
    }
    m_transposition.setUntouched(untouched, isOpen() ? direct() : TTransposition::Send());
}

void MidiGateway::setDrumKit(int channel, bool on)
{
    const std::vector<quint8> bytes = rhythmPartMessage(channel, on);
    TMyMidiEvent rhythm;
    rhythm.SetSysex(bytes);
    m_sink->send(rhythm, std::nullopt);
    m_sink->send(controller(channel, BankSelect, on ? RhythmBank : 0), std::nullopt);
    m_sink->send(controller(channel, BankSelectLsb, 0), std::nullopt);
    m_sink->send(program(channel, 0), std::nullopt);
    if (on) {
        m_sink->send(controller(channel, midi::VolumeController, midi::DefaultVolume), std::nullopt);
        m_sink->send(controller(channel, midi::PanController, midi::CentrePan), std::nullopt);
    }
}

bool MidiGateway::clicksHeard() const
{
    return m_clickChannel > 0 && isOpen() && (m_clicksOnPorts || m_sink->isBuiltInSynthesizer());
}

void MidiGateway::sendClick(int key, int velocity, const Due& due)
{
    if (!clicksHeard()) {
        return;
    }
    if (m_clickChannel != midi::PercussionChannel && !m_drumKitSet) {
        setDrumKit(m_clickChannel, true);
        m_drumKitSet = true;
    }
    deliver(note(m_clickChannel, key, std::max(1, velocity)), due);
}

void MidiGateway::endClick(int key, const Due& due)
{
    if (clicksHeard()) {
        deliver(TMyMidiEvent(quint8(NoteOff + m_clickChannel - 1), dataByte(key), 0), due);
    }
}

void MidiGateway::route(const TMidiEvent& event, const Due& due)
{
    routeEvent(event, due, false);
}

void MidiGateway::routeEvent(const TMidiEvent& event, const Due& due, bool chasing)
{
    const auto passDue = [this, &event, &due](const TMyMidiEvent& message) { pass(message, &event, due, true); };
    const int owner = channelOwner(m_song, event);
    if (owner < 0 || owner >= int(m_tracks.size())) {
        routeChannelEvent(nullptr, event, m_trackMixerInForce, passDue);
        return;
    }
    TrackSettings settings = m_tracks[std::size_t(owner)];
    if (chasing) {
        settings.muted = false;
    } else {
        m_currentTrack = owner;
    }
    const RoutingOwner routing{channelOf(owner), settings};
    routeChannelEvent(&routing, event, m_trackMixerInForce, passDue);
}

void MidiGateway::pass(const TMyMidiEvent& message, const TMidiEvent* event, const Due& due, bool required)
{
    if (required && !isOpen()) {
        throw EmidioutputError(QStringLiteral("MIDI Output device not open"));
    }
    m_voices.route(message, event, [this, &due](const TMyMidiEvent& routed) { emphasise(routed, due); });
}

void MidiGateway::emphasise(const TMyMidiEvent& message, const Due& due)
{
    TMyMidiEvent mixed(message.StatusByte, message.FirstData, message.SecondData);
    m_mix.route(mixed, [this, &due](const TMyMidiEvent& level) { offer(level, due); });
    offer(mixed, due);
}

int MidiGateway::channelOf(int track) const
{
    return track >= 0 && track < m_song.NumberOfTracks() ? m_song.TrackAt(track)->Channel() : 0;
}

void MidiGateway::sendInstrument(int track, int programNumber)
{
    // A track without a channel (no note-on) has no valid status byte for a
    // program change.
    const int channel = channelOf(track);
    if (validChannel(channel)) {
        pass(program(channel, programNumber), nullptr, std::nullopt, true);
    }
}

void MidiGateway::silence()
{
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        offer(allNotesOff(channel));
    }
    if (isOpen()) {
        m_voices.silenced();
    }
}

void MidiGateway::release(const Due& due)
{
    if (!isOpen()) {
        return;
    }
    std::array<std::vector<int>, ChannelCount> keys;
    m_sounding.forEach([&keys](int channel, int key) { keys[std::size_t(channel - 1)].push_back(key); });
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        deliver(controller(channel, midi::SustainController, 0), due);
        for (const int key : keys[std::size_t(channel - 1)]) {
            deliver(TMyMidiEvent(quint8(midi::NoteOff + channel - 1), quint8(key), 0), due);
        }
        deliver(allNotesOff(channel), due);
    }
}

void MidiGateway::chase(const TChannelSetups& states, const Due& due)
{
    if (!isOpen()) {
        return;
    }
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        if (states[std::size_t(channel - 1)].Used) {
            chaseChannel(channel, states[std::size_t(channel - 1)], due);
        }
    }
}

void MidiGateway::chaseChannel(int channel, const TChannelSetup& state, const Due& due)
{
    const quint8 index = quint8(channel - 1);
    const auto routeMessage = [this, &due](quint8 status, quint8 first, quint8 second) {
        TMidiEvent event;
        event.Status = status;
        event.Value1 = first;
        event.Value2 = second;
        routeEvent(event, due, true);
    };
    const auto controllerValue = [&](quint8 number, quint8 value) {
        routeMessage(quint8(midi::Controller + index), number, value);
    };
    if (state.BankMsb) {
        controllerValue(midi::BankSelectController, *state.BankMsb);
    }
    if (state.BankLsb) {
        controllerValue(midi::BankSelectFineController, *state.BankLsb);
    }
    // The owner's instrument takes the place of the file's program.
    if (state.Program || (m_song.NumberOfTracks() > 0 && channelOf(m_song.TrackForChannel(channel)->TrackNumber()) == channel)) {
        routeMessage(quint8(midi::ProgramChange + index), state.Program.value_or(0), 0);
    }
    controllerValue(midi::VolumeController, state.Volume);
    controllerValue(midi::ExpressionController, state.Expression);
    controllerValue(midi::PanController, state.Pan);
    controllerValue(midi::SustainController, state.Sustain);
    routeMessage(quint8(midi::PitchBend + index), quint8(state.PitchBend & 0x7F), quint8(state.PitchBend >> 7));
    if (state.BendRangeSemitones) {
        controllerValue(midi::RegisteredParameterMsb, 0);
        controllerValue(midi::RegisteredParameterLsb, 0);
        controllerValue(midi::DataEntryMsb, *state.BendRangeSemitones);
        controllerValue(midi::DataEntryLsb, state.BendRangeCents.value_or(0));
        // Data entry goes on to the parameter the file had chosen there.
        controllerValue(midi::RegisteredParameterMsb, state.ParameterMsb);
        controllerValue(midi::RegisteredParameterLsb, state.ParameterLsb);
    }
}

void MidiGateway::silenceTrack(int track)
{
    const int channel = channelOf(track);
    if (validChannel(channel) && isOpen()) {
        pass(allNotesOff(channel), nullptr, std::nullopt, false);
    }
}

void MidiGateway::sendTrackMix(int track, int number, int value)
{
    const int channel = channelOf(track);
    if (!validChannel(channel)) {
        return;
    }
    pass(controller(channel, number, value), nullptr, std::nullopt, true);
}

void MidiGateway::songChanged(const QList<TVoice>* voices)
{
    m_mix.setSong(voices ? &m_song : nullptr);
    m_voices.setSong(voices ? &m_song : nullptr, voices);
}

void MidiGateway::setPracticeChoice(const PracticeChoice& choice, int voice)
{
    // With no output open the levels go out before each channel's next note,
    // and my part's channel is set up before its first.
    const TPracticeMix::Send now = isOpen() ? TPracticeMix::Send([this](const TMyMidiEvent& message) { offer(message); })
                                            : TPracticeMix::Send();
    m_voices.choose(choice.hasPart() ? voice : -1, now);
    m_mix.setChoice(choice, m_voices.myChannel(), now);
    if (isOpen()) {
        m_voices.replayIfDue([this](const TMyMidiEvent& message) { emphasise(message, std::nullopt); });
    }
}


} // namespace harmonet
