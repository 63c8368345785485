#include "mixer/AlsaMixer.h"

#include "midiout/AudioLibraryLog.h"
#include "mixer/AlsaElementMap.h"
#include "mixer/MixerError.h"

#include <alsa/asoundlib.h>

#include <QSocketNotifier>

#include <algorithm>
#include <array>
#include <cerrno>
#include <utility>

namespace harmonet {

namespace {

quint32 resultOf(int alsaError)
{
    switch (-alsaError) {
    case ENOMEM:
        return MixerNoMemory;
    case EINVAL:
        return MixerInvalidParameter;
    case ENODEV:
    case ENXIO:
    case ENOENT:
        return MixerNoDriver;
    case EBUSY:
        return MixerAllocated;
    case EBADFD:
        return MixerInvalidHandle;
    default:
        return MixerUnspecifiedError;
    }
}

snd_mixer_elem_t* findElement(snd_mixer_t* mixer, const char* name)
{
    snd_mixer_selem_id_t* id = nullptr;
    snd_mixer_selem_id_alloca(&id);
    snd_mixer_selem_id_set_name(id, name);
    snd_mixer_selem_id_set_index(id, 0);
    return snd_mixer_find_selem(mixer, id);
}

bool hasVolume(snd_mixer_elem_t* element)
{
    return element && (snd_mixer_selem_has_playback_volume(element) || snd_mixer_selem_has_common_volume(element));
}

bool hasSwitch(snd_mixer_elem_t* element)
{
    return element && (snd_mixer_selem_has_playback_switch(element) || snd_mixer_selem_has_common_switch(element));
}

} // namespace

// The playback volume or the playback switch of one element, as one control.
class AlsaMixer::Element : public MixerControl {
public:
    Element(TMixerControlType control, snd_mixer_elem_t* element, bool isSwitch)
        : m_control(control)
        , m_element(element)
        , m_isSwitch(isSwitch)
    {
        const bool mono = snd_mixer_selem_is_playback_mono(element);
        m_channels = mono || (isSwitch && snd_mixer_selem_has_playback_switch_joined(element)) ? 1 : 2;
        if (!isSwitch) {
            snd_mixer_selem_get_playback_volume_range(element, &m_low, &m_high);
            m_high = std::max(m_high, m_low);
        }
        refresh();
    }

    TMixerControlType control() const { return m_control; }
    snd_mixer_elem_t* element() const { return m_element; }
    void forget() { m_element = nullptr; }

    int channels() const override { return m_channels; }
    quint32 minimum() const override { return 0; }
    quint32 maximum() const override { return m_isSwitch ? 1 : quint32(m_high - m_low); }

    quint32 read(TMixerStereoValue& value) override
    {
        std::array<quint32, 2> values{};
        for (int ch = 0; ch < m_channels; ++ch) {
            const int error = readChannel(ch, values[ch]);
            if (error < 0) {
                return resultOf(error);
            }
        }
        value = {values[0], m_channels == 2 ? values[1] : values[0]};
        return MixerNoError;
    }

    quint32 write(TMixerStereoValue value) override
    {
        if (!m_element) {
            return MixerInvalidHandle;
        }
        value = {std::min(value.LeftValue, maximum()), std::min(value.RightValue, maximum())};
        int error = 0;
        if (m_channels == 1) {
            error = m_isSwitch ? snd_mixer_selem_set_playback_switch_all(m_element, value.LeftValue ? 0 : 1)
                               : snd_mixer_selem_set_playback_volume_all(m_element, m_low + long(value.LeftValue));
        } else {
            for (int ch = 0; ch <= SND_MIXER_SCHN_LAST && error >= 0; ++ch) {
                const auto channel = static_cast<snd_mixer_selem_channel_id_t>(ch);
                if (!snd_mixer_selem_has_playback_channel(m_element, channel)) {
                    continue;
                }
                const quint32 v = alsaChannelValue(ch, value);
                error = m_isSwitch ? snd_mixer_selem_set_playback_switch(m_element, channel, v ? 0 : 1)
                                   : snd_mixer_selem_set_playback_volume(m_element, channel, m_low + long(v));
            }
        }
        refresh();
        return error < 0 ? resultOf(error) : MixerNoError;
    }

    // Takes the element's values; true when they differ from the known ones.
    bool refresh()
    {
        TMixerStereoValue now;
        if (read(now) != MixerNoError) {
            return false;
        }
        const bool changed = now.LeftValue != m_known.LeftValue || now.RightValue != m_known.RightValue;
        m_known = now;
        return changed;
    }

private:
    // Channel 0 is the front left, 1 the front right.
    int readChannel(int channel, quint32& value) const
    {
        if (!m_element) {
            return -EBADFD;
        }
        const auto which = channel == 0 ? SND_MIXER_SCHN_FRONT_LEFT : SND_MIXER_SCHN_FRONT_RIGHT;
        if (m_isSwitch) {
            int on = 1;
            const int error = snd_mixer_selem_get_playback_switch(m_element, which, &on);
            value = on ? 0 : 1;
            return error;
        }
        long volume = m_low;
        const int error = snd_mixer_selem_get_playback_volume(m_element, which, &volume);
        value = quint32(std::clamp(volume, m_low, m_high) - m_low);
        return error;
    }

    TMixerControlType m_control;
    snd_mixer_elem_t* m_element;
    bool m_isSwitch;
    int m_channels = 1;
    long m_low = 0;
    long m_high = 1;
    TMixerStereoValue m_known;
};

std::unique_ptr<AlsaMixer> AlsaMixer::open(const QString& card)
{
    quietenAudioLibraries();
    const QByteArray cardName = card.toLocal8Bit();
    snd_hctl_t* hctl = nullptr;
    if (snd_hctl_open(&hctl, cardName.constData(), SND_CTL_NONBLOCK) < 0) {
        return nullptr;
    }
    QString name = card;
    snd_ctl_card_info_t* info = nullptr;
    snd_ctl_card_info_alloca(&info);
    if (snd_ctl_card_info(snd_hctl_ctl(hctl), info) >= 0 && *snd_ctl_card_info_get_name(info)) {
        name = QString::fromLocal8Bit(snd_ctl_card_info_get_name(info));
    }
    snd_mixer_t* mixer = nullptr;
    if (snd_mixer_open(&mixer, 0) < 0) {
        snd_hctl_close(hctl);
        return nullptr;
    }
    // The mixer owns the control handle from here on, also when attaching fails.
    if (snd_mixer_attach_hctl(mixer, hctl) < 0 || snd_mixer_selem_register(mixer, nullptr, nullptr) < 0
        || snd_mixer_load(mixer) < 0) {
        snd_mixer_close(mixer);
        return nullptr;
    }
    std::unique_ptr<AlsaMixer> result(new AlsaMixer(mixer, name));
    result->findElements();
    result->watchChanges();
    return result;
}

AlsaMixer::AlsaMixer(_snd_mixer* mixer, QString name)
    : m_mixer(mixer)
    , m_name(std::move(name))
{
}

AlsaMixer::~AlsaMixer()
{
    qDeleteAll(m_notifiers);
    snd_mixer_close(m_mixer);
}

void AlsaMixer::findElements()
{
    QList<AlsaElementInfo> elements;
    for (snd_mixer_elem_t* element = snd_mixer_first_elem(m_mixer); element; element = snd_mixer_elem_next(element)) {
        if (snd_mixer_selem_get_index(element) == 0) {
            elements.append({QString::fromLocal8Bit(snd_mixer_selem_get_name(element)), hasVolume(element),
                             hasSwitch(element)});
        }
    }
    const AlsaControlPlaces places = placeAlsaControls(elements);
    for (int c = 0; c < MixerControlCount; ++c) {
        if (!places[c]) {
            continue;
        }
        snd_mixer_elem_t* element = findElement(m_mixer, places[c]->element.toLocal8Bit().constData());
        m_elements[c] = std::make_unique<Element>(TMixerControlType(c), element, places[c]->isSwitch);
        snd_mixer_elem_set_callback(element, &AlsaMixer::elementEvent);
        snd_mixer_elem_set_callback_private(element, this);
    }
}

MixerControl* AlsaMixer::control(TMixerControlType control)
{
    return m_elements[control].get();
}

void AlsaMixer::watchChanges()
{
    const int count = snd_mixer_poll_descriptors_count(m_mixer);
    if (count <= 0) {
        return;
    }
    std::vector<pollfd> descriptors(count);
    const int filled = snd_mixer_poll_descriptors(m_mixer, descriptors.data(), unsigned(count));
    for (int i = 0; i < filled; ++i) {
        const auto type = descriptors[i].events & POLLOUT ? QSocketNotifier::Write : QSocketNotifier::Read;
        auto* notifier = new QSocketNotifier(descriptors[i].fd, type, this);
        connect(notifier, &QSocketNotifier::activated, this, &AlsaMixer::handleEvents);
        m_notifiers.append(notifier);
    }
}

void AlsaMixer::handleEvents()
{
    m_changed.clear();
    if (snd_mixer_handle_events(m_mixer) < 0) {
        // The card or the server has gone: stop watching rather than spin on
        // a descriptor that stays readable.
        qCDebug(lcMidiOut, "mixer %s: no more change notices", qPrintable(m_name));
        for (QSocketNotifier* notifier : m_notifiers) {
            notifier->setEnabled(false);
        }
    }
    // Reported once the library has finished handling its events.
    const std::vector<Element*> changed = std::exchange(m_changed, {});
    for (Element* source : changed) {
        reportChange(source->control());
    }
}

int AlsaMixer::elementEvent(_snd_mixer_elem* element, unsigned int mask)
{
    auto* self = static_cast<AlsaMixer*>(snd_mixer_elem_get_callback_private(element));
    if (!self) {
        return 0;
    }
    for (const auto& source : self->m_elements) {
        if (!source || source->element() != element) {
            continue;
        }
        if (mask == SND_CTL_EVENT_MASK_REMOVE) {
            source->forget();
        } else if ((mask & SND_CTL_EVENT_MASK_VALUE) && source->refresh()) {
            if (std::find(self->m_changed.begin(), self->m_changed.end(), source.get()) == self->m_changed.end()) {
                self->m_changed.push_back(source.get());
            }
        }
    }
    return 0;
}

} // namespace harmonet
