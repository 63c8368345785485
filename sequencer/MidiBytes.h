#pragma once

#include <QtGlobal>

// The bytes of MIDI messages and meta events that the program handles by
// name: status bytes (their low four bits are the channel), meta types,
// controller numbers and what a channel is set to before any controller.
namespace harmonet::midi {

inline constexpr quint8 NoteOff = 0x80;
inline constexpr quint8 NoteOn = 0x90;
inline constexpr quint8 Controller = 0xB0;
inline constexpr quint8 ProgramChange = 0xC0;
inline constexpr quint8 PitchBend = 0xE0;
inline constexpr quint8 Meta = 0xFF;

// Meta types 1 to 15 hold text: text, copyright, names, lyric, marker, cue, ...
inline constexpr quint8 TextMeta = 0x01;
inline constexpr quint8 LyricMeta = 0x05;
inline constexpr quint8 LastTextMeta = 0x0F;

inline constexpr quint8 BankSelectController = 0;
inline constexpr quint8 DataEntryMsb = 6;
inline constexpr quint8 VolumeController = 7;
inline constexpr quint8 PanController = 10;
inline constexpr quint8 ExpressionController = 11;
inline constexpr quint8 BankSelectFineController = 32;
inline constexpr quint8 DataEntryLsb = 38;
inline constexpr quint8 SustainController = 64;
inline constexpr quint8 NonRegisteredParameterLsb = 98;
inline constexpr quint8 NonRegisteredParameterMsb = 99;
inline constexpr quint8 RegisteredParameterLsb = 100;
inline constexpr quint8 RegisteredParameterMsb = 101;
inline constexpr quint8 AllNotesOffController = 123;

inline constexpr quint8 DefaultVolume = 100;
inline constexpr quint8 CentrePan = 64;

// Channel 10 (counted from 1) plays the General MIDI percussion.
inline constexpr int PercussionChannel = 10;

} // namespace harmonet::midi
