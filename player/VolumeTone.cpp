// The volume and tone block of the main window: the master and MIDI volume
// sliders with their mute buttons, and treble and bass, bound both ways to the
// mixer component. A volume slider shows the louder channel of its control
// and moving it scales both channels so that their balance stays.
#include "player/UnitMain.h"

#include "core/Exception.h"
#include "mixer/cmpMidiMixer.h"
#include "widgets/ImageButton.h"

#include <QSlider>

#include <algorithm>
#include <climits>

namespace harmonet {

namespace {

int sliderValue(quint32 raw)
{
    return int(std::min<quint32>(raw, INT_MAX));
}

QString messageOf(const std::exception& error)
{
    if (const auto* own = dynamic_cast<const Exception*>(&error)) {
        return own->message();
    }
    return QString::fromLocal8Bit(error.what());
}

// The range and steps of a slider for a control whose largest value is maximum.
void setRange(QSlider* slider, const TMidiMixer& mixer, TMixerControlType control, int divisions)
{
    const int maximum = sliderValue(mixer.ControlMax(control));
    slider->setRange(sliderValue(mixer.ControlMin(control)), maximum);
    slider->setPageStep(maximum / divisions);
    slider->setSingleStep(maximum / 30);
    slider->setTickInterval(maximum / divisions);
}

} // namespace

int TfrmMain::MixerBalance(quint32 left, quint32 right)
{
    const qint64 louder = std::max(left, right);
    return louder == 0 ? 0 : int((qint64(right) - qint64(left)) * 50 / louder);
}

TMixerStereoValue TfrmMain::SplitBalance(int balance, int position)
{
    const qint64 p = std::max(position, 0);
    if (balance < 0) {
        return {quint32(p), quint32(p * (50 + balance) / 50)};
    }
    return {quint32(p * (50 - balance) / 50), quint32(p)};
}

void TfrmMain::bindVolumeHandlers()
{
    const auto onChange = [this](QSlider* slider, void (TfrmMain::*handler)()) {
        connect(slider, &QSlider::valueChanged, this, [this, handler] { guarded([this, handler] { (this->*handler)(); }); });
    };
    onChange(tbMasterV, &TfrmMain::tbMasterVChange);
    onChange(tbMidiV, &TfrmMain::tbMidiVChange);
    onChange(tbTreble, &TfrmMain::tbTrebleChange);
    onChange(tbBass, &TfrmMain::tbBassChange);
    connect(sbMasterMute, &TImageButton::clicked, this, [this] { guarded([this] { sbMasterMuteClick(); }); });
    connect(sbMidiMute, &TImageButton::clicked, this, [this] { guarded([this] { sbMidiMuteClick(); }); });
    bindMixerNotification();
}

void TfrmMain::bindMixerNotification()
{
    MidiMixer1->SetOnControlChange(
        [this](QObject* sender, TMixerControlType control) { MidiMixer1ControlChange(sender, control); });
}

void TfrmMain::openMixerWhileLoading()
{
    // A mixer that cannot be opened, or lacks one of its lines, leaves the
    // volume block without effect; the window opens all the same and its
    // status bar says why.
    try {
        MidiMixer1->Loaded();
    } catch (const std::exception& error) {
        m_mixerFailure = messageOf(error);
    }
}

void TfrmMain::addMixerNotice(QString& notice, QString& detail) const
{
    if (m_mixerFailure.isEmpty()) {
        return;
    }
    const QString mixerNotice = tr("No mixer");
    notice = notice.isEmpty() ? mixerNotice : notice + QStringLiteral(", ") + mixerNotice;
    detail = detail.isEmpty() ? m_mixerFailure : detail + QLatin1Char('\n') + m_mixerFailure;
}

void TfrmMain::SetupMixerControls()
{
    try {
        MidiMixer1->SetActive(true);
        m_mixerFailure.clear();
    } catch (const std::exception& error) {
        m_mixerFailure = messageOf(error);
    }

    // The balance is known before the slider moves, so the value its change
    // handler writes back keeps it.
    const auto setupVolume = [this](QSlider* slider, TMixerControlType control, int& balance) {
        if (!MidiMixer1->ControlAvailable(control)) {
            return;
        }
        const quint32 left = MidiMixer1->ControlValue(control, 0);
        const quint32 right = MidiMixer1->ControlValue(control, 1);
        balance = MixerBalance(left, right);
        setRange(slider, *MidiMixer1, control, 10);
        slider->setValue(sliderValue(std::max(left, right)));
    };
    setupVolume(tbMidiV, TMidiMixer::mcMidiVolume, MidiBalance);
    setupVolume(tbMasterV, TMidiMixer::mcMasterVolume, MasterBalance);

    const auto setupMute = [this](TImageButton* button, TMixerControlType control) {
        if (MidiMixer1->ControlAvailable(control)) {
            button->setDown(MidiMixer1->ControlValue(control, 0) != MidiMixer1->ControlMin(control));
        } else {
            button->setEnabled(false);
        }
    };
    setupMute(sbMasterMute, TMidiMixer::mcMasterMute);
    setupMute(sbMidiMute, TMidiMixer::mcMidiMute);

    const auto setupTone = [this](QSlider* slider, TMixerControlType control) {
        if (MidiMixer1->ControlAvailable(control)) {
            setRange(slider, *MidiMixer1, control, 15);
            slider->setValue(sliderValue(MidiMixer1->ControlValue(control, 0)));
        } else {
            slider->setEnabled(false);
        }
    };
    setupTone(tbTreble, TMidiMixer::mcTreble);
    setupTone(tbBass, TMidiMixer::mcBass);
}

void TfrmMain::tbMasterVChange()
{
    MidiMixer1->SetControlValues(TMidiMixer::mcMasterVolume, SplitBalance(MasterBalance, tbMasterV->value()));
}

void TfrmMain::tbMidiVChange()
{
    MidiMixer1->SetControlValues(TMidiMixer::mcMidiVolume, SplitBalance(MidiBalance, tbMidiV->value()));
}

void TfrmMain::tbTrebleChange()
{
    const auto position = quint32(std::max(tbTreble->value(), 0));
    MidiMixer1->SetControlValues(TMidiMixer::mcTreble, {position, position});
}

void TfrmMain::tbBassChange()
{
    const auto position = quint32(std::max(tbBass->value(), 0));
    MidiMixer1->SetControlValues(TMidiMixer::mcBass, {position, position});
}

void TfrmMain::sbMasterMuteClick()
{
    // Both channels are written one after the other; the notice is detached
    // meanwhile and bound again however the writes end.
    MidiMixer1->SetOnControlChange({});
    struct Rebind {
        TfrmMain* window;
        ~Rebind() { window->bindMixerNotification(); }
    } rebind{this};
    const TMixerControlType mute = TMidiMixer::mcMasterMute;
    const quint32 value = sbMasterMute->isDown() ? MidiMixer1->ControlMax(mute) : MidiMixer1->ControlMin(mute);
    MidiMixer1->SetControlValue(mute, 0, value);
    MidiMixer1->SetControlValue(mute, 1, value);
}

void TfrmMain::sbMidiMuteClick()
{
    const TMixerControlType mute = TMidiMixer::mcMidiMute;
    MidiMixer1->SetControlValue(mute, 0, sbMidiMute->isDown() ? MidiMixer1->ControlMax(mute) : MidiMixer1->ControlMin(mute));
}

void TfrmMain::MidiMixer1ControlChange(QObject*, TMixerControlType control)
{
    const quint32 left = MidiMixer1->ControlValue(control, 0);
    const quint32 right = MidiMixer1->ControlValue(control, 1);
    const quint32 minimum = MidiMixer1->ControlMin(control);
    switch (control) {
    case TMidiMixer::mcMidiMute:
        sbMidiMute->setDown(left != minimum);
        break;
    case TMidiMixer::mcMasterMute:
        sbMasterMute->setDown(left != minimum);
        break;
    case TMidiMixer::mcTreble:
        tbTreble->setValue(sliderValue(left));
        break;
    case TMidiMixer::mcBass:
        tbBass->setValue(sliderValue(left));
        break;
    case TMidiMixer::mcMidiVolume:
        MidiBalance = MixerBalance(left, right);
        tbMidiV->setValue(sliderValue(std::max(left, right)));
        break;
    case TMidiMixer::mcMasterVolume:
        MasterBalance = MixerBalance(left, right);
        tbMasterV->setValue(sliderValue(std::max(left, right)));
        break;
    }
}

} // namespace harmonet
