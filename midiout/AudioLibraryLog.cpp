#include "midiout/AudioLibraryLog.h"

#include <fluidsynth.h>

#ifdef HARMONET_HAVE_ALSA
#include <alsa/asoundlib.h>
#endif

#include <cstdarg>
#include <cstdio>
#include <mutex>

namespace harmonet {

Q_LOGGING_CATEGORY(lcMidiOut, "harmonet.midiout", QtInfoMsg)

namespace {

void fluidLogToDebug(int level, const char* message, void*)
{
    qCDebug(lcMidiOut, "synthesizer [%d]: %s", level, message);
}

#ifdef HARMONET_HAVE_ALSA
void alsaErrorToDebug(const char* file, int line, const char* function, int, const char* format, ...)
{
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    qCDebug(lcMidiOut, "ALSA %s:%d (%s): %s", file, line, function, text);
}
#endif

} // namespace

void quietenAudioLibraries()
{
    static std::once_flag once;
    std::call_once(once, [] {
        for (int level = 0; level < LAST_LOG_LEVEL; ++level) {
            fluid_set_log_function(level, fluidLogToDebug, nullptr);
        }
#ifdef HARMONET_HAVE_ALSA
        snd_lib_error_set_handler(alsaErrorToDebug);
#endif
    });
}

} // namespace harmonet
