// The system's MIDI ports. Where the machine has no MIDI sequencer and no
// JACK server (no sound hardware), the port list is empty and the tests that
// need a port report themselves skipped.
#include "midiout/MidiOut.h"
#include "midiout/SystemPortBackend.h"

#include <gtest/gtest.h>

using namespace harmonet;

namespace {

std::shared_ptr<MidiDeviceList> systemPortsOnly(std::shared_ptr<SystemPortBackend> backend)
{
    return std::make_shared<MidiDeviceList>(std::vector<std::shared_ptr<MidiBackend>>{std::move(backend)});
}

TEST(SystemPorts, ListingNeverRaises)
{
    std::shared_ptr<SystemPortBackend> backend;
    ASSERT_NO_THROW(backend = std::make_shared<SystemPortBackend>());
    for (const QString& name : backend->deviceNames()) {
        EXPECT_FALSE(name.isEmpty());
    }
}

TEST(SystemPorts, EveryListedPortOpensTakesMessagesAndCloses)
{
    auto backend = std::make_shared<SystemPortBackend>();
    const QStringList names = backend->deviceNames();
    if (names.isEmpty()) {
        GTEST_SKIP() << "no system MIDI output port (no ALSA sequencer or JACK server)";
    }
    TMidiOutput output(systemPortsOnly(backend));
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        output.setProductName(name);
        if (!output.OpenDevice()) {
            ADD_FAILURE() << qPrintable(output.LastOpenFailure());
            continue;
        }
        output.SendShort(0xC0, 0, 0);
        output.SendShort(0x90, 60, 1);
        output.SendShort(0x80, 60, 0);
        const quint8 gmOn[] = {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};
        output.SendLong(gmOn, sizeof gmOn);
        EXPECT_TRUE(output.CloseDevice());
    }
}

} // namespace
