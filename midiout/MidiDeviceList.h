#pragma once

#include "midiout/MidiBackend.h"

#include <QString>

#include <memory>
#include <vector>

namespace harmonet {

// The numbered output devices of the system: the devices of each backend in
// turn, numbered from 0, and the mapper (id -1), which routes to device 0.
// The names are read once, when the list is made.
class MidiDeviceList {
public:
    explicit MidiDeviceList(std::vector<std::shared_ptr<MidiBackend>> backends);

    static QString mapperName() { return QStringLiteral("MIDI Mapper"); }

    int count() const { return static_cast<int>(m_devices.size()); }

    // The name of device id (-1 = the mapper); raises EmidioutputError for an
    // id that names no device.
    QString name(int id) const;

    // Opens device id (-1 = the mapper, which opens device 0).
    std::unique_ptr<MidiPort> open(int id) const;

    // A new list of the same backends, each asked to look for its devices again.
    std::shared_ptr<MidiDeviceList> relisted() const;

    // The list a new TMidiOutput uses: the one installed with installDefault,
    // or else a fresh list of the built-in synthesizer and the system's ports.
    static std::shared_ptr<MidiDeviceList> createDefault();

    // Makes every TMidiOutput created from now on use list (tests install a
    // recording backend this way); nullptr returns to the system's devices.
    static void installDefault(std::shared_ptr<MidiDeviceList> list);

private:
    struct Device {
        std::shared_ptr<MidiBackend> backend;
        int index;
        QString name;
    };
    const Device& device(int id) const;

    std::vector<std::shared_ptr<MidiBackend>> m_backends;
    std::vector<Device> m_devices;
};

} // namespace harmonet
