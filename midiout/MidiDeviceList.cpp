#include "midiout/MidiDeviceList.h"

#include "midiout/MidiOutError.h"
#include "midiout/SynthBackend.h"
#include "midiout/SystemPortBackend.h"

#include <mutex>

namespace harmonet {

namespace {
struct InstalledDefault {
    std::mutex mutex;
    std::shared_ptr<MidiDeviceList> list;
};

InstalledDefault& installedDefault()
{
    static InstalledDefault installed;
    return installed;
}
} // namespace

MidiDeviceList::MidiDeviceList(std::vector<std::shared_ptr<MidiBackend>> backends) : m_backends(std::move(backends))
{
    for (const auto& backend : m_backends) {
        if (!backend) {
            continue;
        }
        const QStringList names = backend->deviceNames();
        for (int i = 0; i < names.size(); ++i) {
            m_devices.push_back({backend, i, names[i]});
        }
    }
}

const MidiDeviceList::Device& MidiDeviceList::device(int id) const
{
    const int index = id == -1 ? 0 : id;
    if (index < 0 || index >= count()) {
        throw EmidioutputError::fromResult(MidiBadDeviceId);
    }
    return m_devices[static_cast<std::size_t>(index)];
}

QString MidiDeviceList::name(int id) const
{
    if (id == -1) {
        return mapperName();
    }
    return device(id).name;
}

std::unique_ptr<MidiPort> MidiDeviceList::open(int id) const
{
    const Device& chosen = device(id);
    return chosen.backend->open(chosen.index);
}

std::shared_ptr<MidiDeviceList> MidiDeviceList::relisted() const
{
    for (const auto& backend : m_backends) {
        if (backend) {
            backend->refresh();
        }
    }
    return std::make_shared<MidiDeviceList>(m_backends);
}

std::shared_ptr<MidiDeviceList> MidiDeviceList::createDefault()
{
    {
        InstalledDefault& installed = installedDefault();
        const std::lock_guard lock(installed.mutex);
        if (installed.list) {
            return installed.list;
        }
    }
    return std::make_shared<MidiDeviceList>(std::vector<std::shared_ptr<MidiBackend>>{
        std::make_shared<SynthBackend>(SynthBackend::Mode::Live),
        std::make_shared<SystemPortBackend>()});
}

void MidiDeviceList::installDefault(std::shared_ptr<MidiDeviceList> list)
{
    InstalledDefault& installed = installedDefault();
    const std::lock_guard lock(installed.mutex);
    installed.list = std::move(list);
}

} // namespace harmonet
