#pragma once

#include <QtGlobal>

namespace harmonet {

// One time-signature event of a file (meta type 0x58) as it stands: the
// numerator and the denominator as a power of two (2 for quarter notes),
// unchecked; the bar map decides which of them make a metre.
struct TTimeSignature {
    qint32 Ticks = 0;
    quint8 Numerator = 0;
    quint8 DenominatorPower = 0;
};

} // namespace harmonet
