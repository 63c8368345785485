#pragma once

#include "midiout/MidiBackend.h"
#include "midiout/Synthesizer.h"

#include <memory>
#include <mutex>

namespace harmonet {

// The built-in synthesizer as an output device, "Harmonet Synthesizer". Each
// open makes a fresh synthesizer; in offline mode it has no audio driver and
// the caller pulls its samples through synthesizer().
class SynthBackend : public MidiBackend {
public:
    enum class Mode { Live, Offline };

    static QString deviceName() { return QStringLiteral("Harmonet Synthesizer"); }

    explicit SynthBackend(Mode mode, int sampleRate = Synthesizer::defaultSampleRate,
                          QStringList soundFonts = soundFontCandidates());

    QStringList deviceNames() const override;
    std::unique_ptr<MidiPort> open(int index) override;

    // The synthesizer of the port opened last, while that port is open.
    std::shared_ptr<Synthesizer> synthesizer() const;

private:
    Mode m_mode;
    int m_sampleRate;
    QStringList m_soundFonts;
    mutable std::mutex m_mutex;
    std::weak_ptr<Synthesizer> m_current;
};

} // namespace harmonet
