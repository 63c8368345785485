#pragma once

#include "mixer/MixerBackend.h"

#include <QObject>

#include <array>
#include <memory>

namespace harmonet {

class SynthOutputStage;

// The built-in synthesizer's output stage as a mixer: master volume and mute,
// treble and bass on the speakers line, volume and mute on the synthesizer
// line. A change of the stage made by any other part of the program is
// reported once the event loop runs; what this mixer writes itself is not
// reported back.
class StageControls : public QObject, public MixerDevice {
    Q_OBJECT

public:
    explicit StageControls(SynthOutputStage& stage, QObject* parent = nullptr);
    ~StageControls() override;

    // The product name of the stage as a mixer.
    static QString stageName() { return QStringLiteral("Built-in synthesizer"); }

    QString productName() const override { return stageName(); }
    MixerControl* control(TMixerControlType control) override;

private:
    class Control;
    void stageChanged(int stageControl);

    std::array<std::unique_ptr<Control>, MixerControlCount> m_controls;
};

} // namespace harmonet
