#include "practice/ChannelState.h"

#include "sequencer/MidiBytes.h"

namespace harmonet {

namespace {

constexpr quint8 PitchBend = 0xE0;
constexpr int BankSelect = 0;
constexpr int BankSelectFine = 32;
constexpr int DataEntry = 6;
constexpr int DataEntryFine = 38;
constexpr int UnregisteredFine = 98;
constexpr int UnregisteredCoarse = 99;
constexpr int ParameterFine = 100;
constexpr int ParameterCoarse = 101;
constexpr int ResetAllControllers = 121;
// Data increment and decrement, and the unregistered parameter numbers.
constexpr int FirstParameterController = 96;
// Channel mode messages (sound off, reset, local control, all notes off, modes).
constexpr int FirstModeController = 120;
constexpr int NullParameter = 127;
constexpr int ExpressionController = 11;
constexpr int DefaultRange = 2;

bool isParameterController(int number)
{
    return number == DataEntry || number == DataEntryFine
        || (number >= FirstParameterController && number <= ParameterCoarse);
}

} // namespace

void TChannelState::clear()
{
    for (Channel& channel : m_channels) {
        channel = Channel{};
        channel.controllers.fill(-1);
    }
}

void TChannelState::record(const TMyMidiEvent& message)
{
    const quint8 kind = message.StatusByte & 0xF0;
    Channel& channel = m_channels[message.StatusByte & 0x0F];
    const int number = message.FirstData & 0x7F;
    const int value = message.SecondData & 0x7F;
    if (kind == midi::ProgramChange) {
        channel.program = number;
    } else if (kind == PitchBend) {
        channel.bendLow = number;
        channel.bendHigh = value;
    } else if (kind != midi::Controller || number >= FirstModeController) {
        if (kind == midi::Controller && number == ResetAllControllers) {
            // What the reset sets back; volume, pan and bank stay.
            for (const int reset : {1, ExpressionController, 64, 65, 66, 67}) {
                channel.controllers[std::size_t(reset)] = -1;
            }
            channel.bendLow = channel.bendHigh = -1;
            channel.parameter = -1;
        }
    } else if (number == ParameterCoarse || number == ParameterFine) {
        channel.controllers[std::size_t(number)] = qint16(value);
        const bool rangeChosen = channel.controllers[ParameterCoarse] == 0 && channel.controllers[ParameterFine] == 0;
        channel.parameter = rangeChosen ? 0 : -1;
    } else if (number == UnregisteredFine || number == UnregisteredCoarse) {
        channel.parameter = -1;
        channel.controllers[ParameterCoarse] = channel.controllers[ParameterFine] = -1;
    } else if (number == DataEntry || number == DataEntryFine) {
        if (channel.parameter == 0) {
            (number == DataEntry ? channel.rangeCoarse : channel.rangeFine) = value;
        }
    } else {
        channel.controllers[std::size_t(number)] = qint16(value);
    }
}

std::vector<TMyMidiEvent> TChannelState::copy(int source, int target) const
{
    std::vector<TMyMidiEvent> messages;
    if (source < 1 || source > 16 || target < 1 || target > 16) {
        return messages;
    }
    const Channel& from = m_channels[std::size_t(source - 1)];
    const quint8 controller = quint8(midi::Controller + target - 1);
    const auto send = [&](int number, int value) { messages.emplace_back(controller, quint8(number), quint8(value)); };
    send(ResetAllControllers, 0);
    for (const int bank : {BankSelect, BankSelectFine}) {
        if (from.controllers[std::size_t(bank)] >= 0) {
            send(bank, from.controllers[std::size_t(bank)]);
        }
    }
    if (from.program >= 0) {
        messages.emplace_back(quint8(midi::ProgramChange + target - 1), quint8(from.program), quint8(0));
    }
    for (int number = 0; number < FirstModeController; ++number) {
        const int value = from.controllers[std::size_t(number)];
        if (number == midi::VolumeController || number == midi::PanController) {
            const int fresh = number == midi::VolumeController ? midi::DefaultVolume : midi::CentrePan;
            send(number, value >= 0 ? value : fresh);
        } else if (value >= 0 && number != BankSelect && number != BankSelectFine && !isParameterController(number)) {
            send(number, value);
        }
    }
    send(ParameterCoarse, 0);
    send(ParameterFine, 0);
    send(DataEntry, from.rangeCoarse >= 0 ? from.rangeCoarse : DefaultRange);
    send(DataEntryFine, from.rangeFine >= 0 ? from.rangeFine : 0);
    send(ParameterCoarse, NullParameter);
    send(ParameterFine, NullParameter);
    if (from.bendHigh >= 0) {
        messages.emplace_back(quint8(PitchBend + target - 1), quint8(from.bendLow), quint8(from.bendHigh));
    }
    return messages;
}

} // namespace harmonet
