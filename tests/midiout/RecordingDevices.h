#pragma once

#include "midiout/MidiDeviceList.h"
#include "midiout/RecordingBackend.h"

#include <memory>

namespace harmonet::test {

// A device list of recording devices with the given names (mapper first, as always).
struct RecordingDevices {
    explicit RecordingDevices(QStringList names = {QStringLiteral("Alpha"), QStringLiteral("Beta")})
        : backend(std::make_shared<RecordingBackend>(std::move(names))),
          list(std::make_shared<MidiDeviceList>(std::vector<std::shared_ptr<MidiBackend>>{backend}))
    {
    }

    std::shared_ptr<RecordingBackend> backend;
    std::shared_ptr<MidiDeviceList> list;
};

} // namespace harmonet::test
