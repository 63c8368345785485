#include "sequencer/ChannelSetup.h"

#include "sequencer/MidiBytes.h"
#include "sequencer/MidiFile.h"

#include <algorithm>

namespace harmonet {

namespace {

constexpr quint8 ControllerKind = midi::Controller;
constexpr quint8 ProgramKind = midi::ProgramChange;
constexpr quint8 PitchBendKind = midi::PitchBend;

namespace cc {
using namespace midi;
constexpr quint8 BankMsb = BankSelectController;
constexpr quint8 BankLsb = BankSelectFineController;
constexpr quint8 Volume = VolumeController;
constexpr quint8 Pan = PanController;
constexpr quint8 Expression = ExpressionController;
constexpr quint8 Sustain = SustainController;
constexpr quint8 NonRegisteredLsb = NonRegisteredParameterLsb;
constexpr quint8 NonRegisteredMsb = NonRegisteredParameterMsb;
constexpr quint8 RegisteredLsb = RegisteredParameterLsb;
constexpr quint8 RegisteredMsb = RegisteredParameterMsb;
} // namespace cc

bool isSetting(quint8 status, quint8 number)
{
    const quint8 kind = status & 0xF0;
    if (kind == ProgramKind || kind == PitchBendKind) {
        return true;
    }
    if (kind != ControllerKind) {
        return false;
    }
    switch (number) {
    case cc::BankMsb:
    case midi::DataEntryMsb:
    case cc::Volume:
    case cc::Pan:
    case cc::Expression:
    case cc::BankLsb:
    case midi::DataEntryLsb:
    case cc::Sustain:
    case cc::NonRegisteredLsb:
    case cc::NonRegisteredMsb:
    case cc::RegisteredLsb:
    case cc::RegisteredMsb:
        return true;
    default:
        return false;
    }
}

bool bendRangeSelected(const TChannelSetup& state)
{
    return state.ParameterMsb == 0 && state.ParameterLsb == 0;
}

void applyController(TChannelSetup& state, quint8 number, quint8 value)
{
    switch (number) {
    case cc::BankMsb: state.BankMsb = value; break;
    case cc::BankLsb: state.BankLsb = value; break;
    case cc::Volume: state.Volume = value; break;
    case cc::Pan: state.Pan = value; break;
    case cc::Expression: state.Expression = value; break;
    case cc::Sustain: state.Sustain = value; break;
    case cc::RegisteredMsb: state.ParameterMsb = value; break;
    case cc::RegisteredLsb: state.ParameterLsb = value; break;
    // Data entry then goes to a parameter of the maker's, not a registered one.
    case cc::NonRegisteredMsb:
    case cc::NonRegisteredLsb:
        state.ParameterMsb = 127;
        state.ParameterLsb = 127;
        break;
    case midi::DataEntryMsb:
        if (bendRangeSelected(state)) {
            state.BendRangeSemitones = value;
        }
        break;
    case midi::DataEntryLsb:
        if (bendRangeSelected(state)) {
            state.BendRangeCents = value;
        }
        break;
    default: break;
    }
}

// Marks what the song ever sets on a channel, at its power-on value.
void noteSetting(TChannelSetup& state, quint8 status, quint8 number)
{
    const quint8 kind = status & 0xF0;
    if (kind == ProgramKind) {
        state.Program = 0;
    } else if (kind == ControllerKind && number == cc::BankMsb) {
        state.BankMsb = 0;
    } else if (kind == ControllerKind && number == cc::BankLsb) {
        state.BankLsb = 0;
    } else if (kind == ControllerKind && (number == midi::DataEntryMsb || number == midi::DataEntryLsb)) {
        // Data entry may go to another parameter: the constructor takes the
        // range back where none is ever set.
        state.BendRangeSemitones = 2;
        state.BendRangeCents = 0;
    }
}

} // namespace

TChannelSetupTimeline::TChannelSetupTimeline(const TMidiFile& song)
{
    for (int index = 0; index < song.NumberOfTracks(); ++index) {
        for (const TMidiEvent& event : song.TrackAt(index)->Events()) {
            if (event.Status < 0x80 || event.Status >= 0xF0) {
                continue;
            }
            m_initial[event.Status & 0x0F].Used = true;
            if (isSetting(event.Status, event.Value1)) {
                m_changes.push_back({event.Ticks, event.Status, event.Value1, event.Value2});
            }
        }
    }
    // Track by track, then by time: the order of tracks stays among equal times.
    std::stable_sort(m_changes.begin(), m_changes.end(),
                     [](const Change& a, const Change& b) { return a.ticks < b.ticks; });
    for (const Change& change : m_changes) {
        noteSetting(m_initial[change.status & 0x0F], change.status, change.value1);
    }
    // Data entry sets the bend range only where parameter 0 was selected.
    TChannelSetups played = m_initial;
    std::array<bool, 16> setsRange{};
    for (const Change& change : m_changes) {
        TChannelSetup& state = played[change.status & 0x0F];
        if ((change.status & 0xF0) == ControllerKind
            && (change.value1 == midi::DataEntryMsb || change.value1 == midi::DataEntryLsb) && bendRangeSelected(state)) {
            setsRange[change.status & 0x0F] = true;
        }
        if ((change.status & 0xF0) == ControllerKind) {
            applyController(state, change.value1, change.value2);
        }
    }
    for (std::size_t channel = 0; channel < m_initial.size(); ++channel) {
        if (!setsRange[channel]) {
            m_initial[channel].BendRangeSemitones.reset();
            m_initial[channel].BendRangeCents.reset();
        }
    }
}

TChannelSetups TChannelSetupTimeline::At(double ticks) const
{
    TChannelSetups states = m_initial;
    for (const Change& change : m_changes) {
        if (!(change.ticks < ticks)) {
            break;
        }
        TChannelSetup& state = states[change.status & 0x0F];
        switch (change.status & 0xF0) {
        case ProgramKind: state.Program = change.value1; break;
        case PitchBendKind: state.PitchBend = quint16((change.value2 << 7) | change.value1); break;
        default: applyController(state, change.value1, change.value2); break;
        }
    }
    return states;
}

} // namespace harmonet
