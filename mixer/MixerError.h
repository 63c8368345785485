#pragma once

#include "core/Exception.h"

#include <QString>

namespace harmonet {

// Result codes of the mixer backends: the multimedia system's general codes
// (1..20) and its mixer codes (1024..1026). Every backend reports its
// failures with one of these.
enum MixerResult : quint32 {
    MixerNoError = 0,
    MixerUnspecifiedError = 1,
    MixerBadDeviceId = 2,
    MixerAllocated = 4,
    MixerInvalidHandle = 5,
    MixerNoDriver = 6,
    MixerNoMemory = 7,
    MixerNotSupported = 8,
    MixerInvalidParameter = 11,
    MixerInvalidLine = 1024,
    MixerInvalidControl = 1025,
    MixerInvalidValue = 1026,
};

// The error the mixer component raises when a mixer function fails, with a
// message composed from the result code and the failing function's name:
// "Multimedia Mixer Error 1025 - Invalid Mixer Control in mixerSetControlDetails".
class EMMError : public Exception {
public:
    EMMError(quint32 code, const QString& function);

    // The text of a result code; "Unknown error" for a code not in the table.
    static QString ErrorText(quint32 code);

    quint32 code() const { return m_code; }

private:
    quint32 m_code;
};

} // namespace harmonet
