#include "practice/Transposition.h"

#include "sequencer/MidiBytes.h"

#include <algorithm>

namespace harmonet {

namespace {

constexpr quint8 NoteOff = 0x80;
constexpr quint8 KeyPressure = 0xA0;
constexpr quint8 DataEntryMsb = 6;
constexpr quint8 DataEntryLsb = 38;
constexpr quint8 NrpnLsb = 98;
constexpr quint8 NrpnMsb = 99;
constexpr quint8 RpnLsb = 100;
constexpr quint8 RpnMsb = 101;
constexpr quint8 AllSoundOff = 120;
constexpr quint8 ResetAllControllers = 121;
constexpr quint8 CoarseTuning = 2;
// Coarse tuning counts semitones from 64.
constexpr int TuningCentre = 64;

} // namespace

bool TTransposition::untouched(int channel) const
{
    return channel < 1 || channel > 16 || m_untouched.test(std::size_t(channel - 1));
}

void TTransposition::setUntouched(std::bitset<16> channels, const Send& send)
{
    m_untouched = channels;
    for (int channel = 1; channel <= 16; ++channel) {
        const std::size_t index = std::size_t(channel - 1);
        if (untouched(channel) && m_tuned.test(index)) {
            tuneChannel(channel, 0, send);
        } else if (!untouched(channel) && m_tuning && m_semitones != 0) {
            tuneChannel(channel, m_semitones, send);
        }
    }
}

void TTransposition::setSemitones(int semitones, const Send& send)
{
    m_semitones = std::clamp(semitones, Lowest, Highest);
    retune(send);
}

void TTransposition::setTunesChannels(bool tuning, const Send& send)
{
    if (tuning == m_tuning) {
        return;
    }
    m_tuning = tuning;
    if (tuning) {
        retune(send);
        return;
    }
    for (int channel = 1; channel <= 16; ++channel) {
        if (m_tuned.test(std::size_t(channel - 1))) {
            tuneChannel(channel, 0, send);
        }
    }
}

void TTransposition::retune(const Send& send)
{
    if (!m_tuning) {
        return;
    }
    for (int channel = 1; channel <= 16; ++channel) {
        if (!untouched(channel) && (m_semitones != 0 || m_tuned.test(std::size_t(channel - 1)))) {
            tuneChannel(channel, m_semitones, send);
        }
    }
}

void TTransposition::tuneChannel(int channel, int semitones, const Send& send)
{
    if (!send) {
        return;
    }
    const std::size_t index = std::size_t(channel - 1);
    const quint8 status = quint8(midi::Controller + channel - 1);
    send(TMyMidiEvent(status, RpnMsb, 0));
    send(TMyMidiEvent(status, RpnLsb, CoarseTuning));
    send(TMyMidiEvent(status, DataEntryMsb, quint8(TuningCentre + semitones)));
    send(TMyMidiEvent(status, DataEntryLsb, 0));
    // The song's own data entries go on changing the parameter it chose.
    const Choice& choice = m_choices[index];
    if (choice.registeredLast) {
        send(TMyMidiEvent(status, RpnMsb, choice.rpnMsb));
        send(TMyMidiEvent(status, RpnLsb, choice.rpnLsb));
    } else {
        send(TMyMidiEvent(status, NrpnMsb, choice.nrpnMsb));
        send(TMyMidiEvent(status, NrpnLsb, choice.nrpnLsb));
    }
    m_tuned.set(index, semitones != 0);
}

bool TTransposition::route(TMyMidiEvent& message)
{
    if (message.SysexData || message.StatusByte < 0x80 || message.StatusByte >= 0xF0) {
        return true;
    }
    const quint8 kind = message.StatusByte & 0xF0;
    const int channel = (message.StatusByte & 0x0F) + 1;
    const std::size_t index = std::size_t(channel - 1);
    if (kind == midi::Controller) {
        Choice& choice = m_choices[index];
        switch (message.FirstData) {
        case RpnMsb:
            choice.rpnMsb = message.SecondData;
            choice.registeredLast = true;
            break;
        case RpnLsb:
            choice.rpnLsb = message.SecondData;
            choice.registeredLast = true;
            break;
        case NrpnMsb:
            choice.nrpnMsb = message.SecondData;
            choice.registeredLast = false;
            break;
        case NrpnLsb:
            choice.nrpnLsb = message.SecondData;
            choice.registeredLast = false;
            break;
        case ResetAllControllers:
            // The output forgets the parameter chosen (and, tuning, the tuning: see sent).
            choice = Choice{};
            break;
        case midi::AllNotesOffController:
        case AllSoundOff:
            // The output ends every note of the channel itself.
            for (auto& keys : m_sounding[index]) {
                keys.clear();
            }
            break;
        default:
            break;
        }
        return true;
    }
    const bool noteOn = kind == midi::NoteOn && message.SecondData > 0;
    const bool noteOff = kind == NoteOff || (kind == midi::NoteOn && message.SecondData == 0);
    if (!noteOn && !noteOff && kind != KeyPressure) {
        return true;
    }
    std::vector<qint8>& keys = m_sounding[index][message.FirstData & 0x7F];
    if (noteOn) {
        if (m_tuning || untouched(channel)) {
            return true;
        }
        const int shifted = message.FirstData + m_semitones;
        if (shifted < 0 || shifted > 127) {
            keys.push_back(-1);
            return false;
        }
        keys.push_back(qint8(shifted));
        message.FirstData = quint8(shifted);
        return true;
    }
    if (keys.empty()) {
        return true;
    }
    const qint8 sent = keys.front();
    if (noteOff) {
        keys.erase(keys.begin());
    }
    if (sent < 0) {
        return false;
    }
    message.FirstData = quint8(sent);
    return true;
}

void TTransposition::sent(const TMyMidiEvent& message, const Send& send)
{
    const int channel = (message.StatusByte & 0x0F) + 1;
    if (m_tuning && !message.SysexData && (message.StatusByte & 0xF0) == midi::Controller
        && message.FirstData == ResetAllControllers && !untouched(channel)
        && m_tuned.test(std::size_t(channel - 1))) {
        tuneChannel(channel, m_semitones, send);
    }
}

int TTransposition::shiftedNotesSounding() const
{
    int count = 0;
    for (const auto& channel : m_sounding) {
        for (const auto& keys : channel) {
            count += int(std::count_if(keys.begin(), keys.end(), [](qint8 key) { return key >= 0; }));
        }
    }
    return count;
}

} // namespace harmonet
