#pragma once

#include "core/Exception.h"

namespace harmonet {

// A file could not be opened or ended before the bytes its chunks declare.
class EFileError : public Exception {
public:
    using Exception::Exception;
};

// A floating-point division by zero, e.g. a tempo while the division is 0.
class EFloatDivisionByZero : public Exception {
public:
    EFloatDivisionByZero() : Exception(QStringLiteral("Floating point division by zero")) {}
};

// An integer division by zero, e.g. setting the tempo to 0.
class EIntegerDivisionByZero : public Exception {
public:
    EIntegerDivisionByZero() : Exception(QStringLiteral("Division by zero")) {}
};

// An index outside a list.
class EIndexOutOfBounds : public Exception {
public:
    explicit EIndexOutOfBounds(int index)
        : Exception(QStringLiteral("List index out of bounds (%1)").arg(index)) {}
};

// A tempo that no microseconds-per-quarter value can express.
class ETempoOutOfRange : public Exception {
public:
    explicit ETempoOutOfRange(int bpm)
        : Exception(QStringLiteral("Tempo out of range (%1 beats per minute)").arg(bpm)) {}
};

} // namespace harmonet
