#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <span>

namespace harmonet {

// Number of bytes a short message with this status byte has on the wire:
// 3 for notes, key pressure, controllers, pitch bend, song position;
// 2 for program change, channel pressure, time code, song select;
// 1 for the other system messages; 0 for a data byte (not a status).
int shortMessageLength(quint8 status);

// The bytes of a short message as they reach a device: as many as the status
// calls for, every data byte masked to 7 bits, so a stray value of 0x80 or
// above can never be taken for a status byte.
QByteArray shortMessageBytes(quint8 status, quint8 firstData, quint8 secondData);

// Makes a long message fit to reach a device: the first byte is its status
// and a closing 0xF7 ends it; every byte in between is masked to 7 bits.
void maskLongMessage(std::span<quint8> bytes);

// "90 3C 64": the bytes in upper-case hexadecimal, separated by spaces.
QByteArray hexBytes(const QByteArray& bytes);

} // namespace harmonet
