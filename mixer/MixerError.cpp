#include "mixer/MixerError.h"

#include <array>

namespace harmonet {

namespace {

QString categoryOf(quint32 code)
{
    if (code >= 1 && code <= 20) {
        return QStringLiteral("System");
    }
    if (code >= 1024 && code <= 1026) {
        return QStringLiteral("Mixer");
    }
    return QStringLiteral("Unknown");
}

} // namespace

EMMError::EMMError(quint32 code, const QString& function)
    : Exception(QStringLiteral("Multimedia %1 Error %2 - %3 in %4")
                    .arg(categoryOf(code))
                    .arg(code)
                    .arg(ErrorText(code), function))
    , m_code(code)
{
}

QString EMMError::ErrorText(quint32 code)
{
    static const std::array<const char*, 20> systemTexts{
        "Unspecified error",
        "Device ID out of range",
        "Driver failed enable",
        "Device already allocated",
        "Device handle is invalid",
        "No device driver present",
        "Memory allocation error",
        "Function isn't supported",
        "Error value out of range",
        "Invalid flag passed",
        "Invalid parameter passed",
        "Handle being used simultaneously on another thread (eg callback)",
        "Specified alias not found",
        "Bad registry database",
        "Registry key not found",
        "Registry read error",
        "Registry write error",
        "Registry delete error",
        "Registry value not found",
        "Driver does not call DriverCallback",
    };
    static const std::array<const char*, 3> mixerTexts{
        "Invalid Mixer Line",
        "Invalid Mixer Control",
        "Invalid Mixer Value",
    };
    if (code >= 1 && code <= systemTexts.size()) {
        return QString::fromLatin1(systemTexts[code - 1]);
    }
    if (code >= MixerInvalidLine && code < MixerInvalidLine + mixerTexts.size()) {
        return QString::fromLatin1(mixerTexts[code - MixerInvalidLine]);
    }
    return QStringLiteral("Unknown error");
}

} // namespace harmonet
