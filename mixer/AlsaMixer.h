#pragma once

#include "mixer/MixerBackend.h"

#include <QList>
#include <QObject>
#include <QString>

#include <array>
#include <memory>
#include <vector>

struct _snd_mixer;
struct _snd_mixer_elem;
class QSocketNotifier;

namespace harmonet {

// The simple mixer of an ALSA card, its elements placed as the controls by
// placeAlsaControls (Master or PCM, Treble, Bass, Synth). With PulseAudio or
// PipeWire, card "default" is the sound server, whose Master is the desktop's
// own volume.
//
// Values are raw: a volume from 0 to the element's range, a mute 1 when the
// playback switch is off. An element with more than two channels is offered
// as left and right (alsaChannelValue).
//
// Changes are watched through the mixer's poll descriptors on the GUI
// thread; a change is reported only when an element's values differ from
// those last read or written here (servers also announce unrelated elements
// and our own writes).
class AlsaMixer : public QObject, public MixerDevice {
    Q_OBJECT

public:
    // Opens the card without blocking; nullptr when it cannot be opened,
    // attached or loaded (no card, no server). The library's own error
    // printing is routed to the debug log.
    static std::unique_ptr<AlsaMixer> open(const QString& card);
    ~AlsaMixer() override;

    // The card's name as the driver gives it, or the name it was opened by.
    QString productName() const override { return m_name; }

    MixerControl* control(TMixerControlType control) override;

private:
    class Element;

    AlsaMixer(_snd_mixer* mixer, QString name);
    void findElements();
    void watchChanges();
    void handleEvents();
    static int elementEvent(_snd_mixer_elem* element, unsigned int mask);

    _snd_mixer* m_mixer;
    QString m_name;
    std::array<std::unique_ptr<Element>, MixerControlCount> m_elements;
    QList<QSocketNotifier*> m_notifiers;
    std::vector<Element*> m_changed;
};

} // namespace harmonet
