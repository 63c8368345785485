#pragma once

#include "mixer/ControlSource.h"

#include <QObject>

#include <array>
#include <memory>

namespace harmonet {

class SynthOutputStage;

// The six controls of the built-in synthesizer's output stage as mixer
// controls: master volume and mute, treble and bass on the speakers line,
// volume and mute on the synthesizer line. A change of the stage made by any
// other part of the program is reported once the event loop runs; what this
// set writes itself is not reported back.
class StageControls : public QObject, public ControlSourceSet {
    Q_OBJECT

public:
    explicit StageControls(SynthOutputStage& stage, QObject* parent = nullptr);
    ~StageControls() override;

    ControlSource* control(MixerLineType line, MixerControlKind kind) override;

private:
    class Control;
    void stageChanged(int control);

    std::array<std::unique_ptr<Control>, 6> m_controls;
};

} // namespace harmonet
