#include "midiout/SoundFontLocator.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace harmonet {

QStringList soundFontCandidates()
{
    QStringList candidates;
    const QString chosen = qEnvironmentVariable("HARMONET_SOUNDFONT");
    if (!chosen.isEmpty()) {
        candidates << chosen;
    }
    candidates << QStringLiteral("/usr/share/sounds/sf2/default-GM.sf2")
               << QStringLiteral("/usr/share/sounds/sf2/FluidR3_GM.sf2")
               << QStringLiteral("/usr/share/sounds/sf2/TimGM6mb.sf2")
               << QStringLiteral("/usr/share/soundfonts/default.sf2");
    return candidates;
}

QString findSoundFont()
{
    for (const QString& candidate : soundFontCandidates()) {
        if (QFileInfo(candidate).isFile()) {
            return candidate;
        }
    }
    return {};
}

QString noSoundFontAdvice(const QStringList& candidates)
{
    return QCoreApplication::translate("Output", "No General MIDI SoundFont was found for the built-in synthesizer (looked for %1). "
               "Install one, for example with \"sudo apt-get install timgm6mb-soundfont\" or "
               "\"sudo apt-get install fluid-soundfont-gm\", or set the environment variable "
               "HARMONET_SOUNDFONT to the path of a .sf2 file.")
        .arg(candidates.join(QStringLiteral(", ")));
}

} // namespace harmonet
