#include "mixer/MixerBackend.h"

#include "mixer/SystemMixer.h"

namespace harmonet {

namespace {
std::shared_ptr<MixerBackend>& installedBackend()
{
    static std::shared_ptr<MixerBackend> backend;
    return backend;
}
} // namespace

std::shared_ptr<MixerBackend> MixerBackend::createDefault()
{
    if (installedBackend()) {
        return installedBackend();
    }
    return std::make_shared<SystemMixerBackend>();
}

void MixerBackend::installDefault(std::shared_ptr<MixerBackend> backend)
{
    installedBackend() = std::move(backend);
}

} // namespace harmonet
