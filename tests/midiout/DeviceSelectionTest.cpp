// Choosing, opening and closing a device: ids, names, the mapper, and the
// errors and states of each operation.
#include "midiout/MidiOut.h"
#include "tests/midiout/RecordingDevices.h"

#include <QVariant>

#include <gtest/gtest.h>

using namespace harmonet;
using harmonet::test::RecordingDevices;

namespace {

QString raisedMessage(const std::function<void()>& action)
{
    try {
        action();
    } catch (const EmidioutputError& error) {
        return error.message();
    }
    return QStringLiteral("<nothing raised>");
}

TEST(DeviceSelection, StartsClosedOnDeviceZeroWithoutName)
{
    RecordingDevices devices;
    TMidiOutput out(devices.list);
    EXPECT_FALSE(out.IsOpen());
    EXPECT_EQ(out.DeviceID(), 0);
    EXPECT_EQ(out.ProductName(), QString());
    EXPECT_EQ(out.DeviceCount(), 2);
}

TEST(DeviceSelection, DeviceIdSelectsDevicesAndMapper)
{
    RecordingDevices devices;
    TMidiOutput out(devices.list);
    out.setDeviceID(1);
    EXPECT_EQ(out.ProductName(), "Beta");
    out.setDeviceID(-1);
    EXPECT_EQ(out.DeviceID(), -1);
    EXPECT_EQ(out.ProductName(), "MIDI Mapper");
    out.setDeviceID(0);
    EXPECT_EQ(out.ProductName(), "Alpha");
}

TEST(DeviceSelection, DeviceIdBeyondTheCountIsInvalidAndChangesNothing)
{
    RecordingDevices devices;
    TMidiOutput out(devices.list);
    out.setDeviceID(1);
    EXPECT_EQ(raisedMessage([&] { out.setDeviceID(2); }), "Invalid device ID");
    EXPECT_EQ(out.DeviceID(), 1);
    EXPECT_EQ(out.ProductName(), "Beta");
}

TEST(DeviceSelection, NegativeIdOtherThanMapperKeepsIdButNotName)
{
    RecordingDevices devices;
    TMidiOutput out(devices.list);
    out.setDeviceID(1);
    EXPECT_THROW(out.setDeviceID(-5), EmidioutputError);
    EXPECT_EQ(out.DeviceID(), -5);
    EXPECT_EQ(out.ProductName(), "Beta");
    EXPECT_EQ(out.LastError(), MidiBadDeviceId);
    EXPECT_FALSE(out.OpenDevice());
}

TEST(DeviceSelection, ProductNameSelectsByExactName)
{
    RecordingDevices devices;
    TMidiOutput out(devices.list);
    out.setProductName("Beta");
    EXPECT_EQ(out.DeviceID(), 1);
    EXPECT_EQ(out.ProductName(), "Beta");
    EXPECT_TRUE(out.setProperty("ProductName", QStringLiteral("Alpha")));
    EXPECT_EQ(out.property("DeviceID").toInt(), 0);
}

TEST(DeviceSelection, ProductNameIsCaseSensitive)
{
    RecordingDevices devices;
    TMidiOutput out(devices.list);
    out.setProductName("Alpha");
    EXPECT_EQ(raisedMessage([&] { out.setProductName("beta"); }), "MIDI output Device beta not installed");
    EXPECT_EQ(out.DeviceID(), 0);
    EXPECT_EQ(out.ProductName(), "Alpha");
}

TEST(DeviceSelection, MapperIsSearchedBeforeADeviceOfTheSameName)
{
    RecordingDevices devices({QStringLiteral("Alpha"), QStringLiteral("MIDI Mapper")});
    TMidiOutput out(devices.list);
    out.setProductName("MIDI Mapper");
    EXPECT_EQ(out.DeviceID(), -1);
}

TEST(DeviceSelection, MapperOpensDeviceZero)
{
    RecordingDevices devices;
    TMidiOutput out(devices.list);
    out.setDeviceID(-1);
    ASSERT_TRUE(out.OpenDevice());
    out.SendShort(0x90, 60, 100);
    ASSERT_EQ(devices.backend->messages().size(), 1u);
    EXPECT_EQ(devices.backend->messages()[0].device, 0);
}

TEST(DeviceSelection, EmptyNameMatchesNoDevice)
{
    RecordingDevices devices;
    TMidiOutput out(devices.list);
    // No device is named "" and the name already is "": the search runs off the end.
    EXPECT_EQ(raisedMessage([&] { out.setProductName(QString()); }), "Invalid device ID");
}

TEST(DeviceSelection, NoDevicesStillListsTheMapperButCannotOpenIt)
{
    TMidiOutput out(std::make_shared<MidiDeviceList>(std::vector<std::shared_ptr<MidiBackend>>{}));
    EXPECT_EQ(out.DeviceCount(), 0);
    EXPECT_EQ(raisedMessage([&] { out.setDeviceID(0); }), "Invalid device ID");
    out.setProductName("MIDI Mapper");
    EXPECT_FALSE(out.OpenDevice());
    EXPECT_FALSE(out.LastOpenFailure().isEmpty());
}

TEST(DeviceSelection, SelectionIsRefusedWhileOpen)
{
    RecordingDevices devices;
    TMidiOutput out(devices.list);
    ASSERT_TRUE(out.OpenDevice());
    EXPECT_EQ(raisedMessage([&] { out.setDeviceID(1); }), "Change to DeviceID while device was open");
    EXPECT_EQ(raisedMessage([&] { out.setProductName("Beta"); }), "Change to ProductName while device was open");
    EXPECT_THROW(out.setDeviceList(nullptr), EmidioutputError);
    EXPECT_EQ(out.DeviceID(), 0);
    EXPECT_TRUE(out.CloseDevice());
    out.setProductName("Beta");
    EXPECT_EQ(out.DeviceID(), 1);
}

TEST(DeviceState, OpenAndCloseReportWhatHappened)
{
    RecordingDevices devices;
    TMidiOutput out(devices.list);
    EXPECT_FALSE(out.CloseDevice()) << "closing a closed device";
    EXPECT_TRUE(out.OpenDevice());
    EXPECT_TRUE(out.OpenDevice()) << "already open";
    EXPECT_EQ(devices.backend->openPorts(), 1) << "a second open must not make a second connection";
    EXPECT_TRUE(out.CloseDevice());
    EXPECT_FALSE(out.CloseDevice());
    EXPECT_EQ(devices.backend->openPorts(), 0);
}

TEST(DeviceState, FailedOpenReturnsFalseWithTheReason)
{
    RecordingDevices devices;
    TMidiOutput out(devices.list);
    devices.backend->failNextOpen(MidiDriverError, QStringLiteral("port is busy"));
    EXPECT_FALSE(out.OpenDevice());
    EXPECT_FALSE(out.IsOpen());
    EXPECT_EQ(out.LastError(), MidiDriverError);
    EXPECT_EQ(out.LastOpenFailure(), "port is busy");
    EXPECT_TRUE(out.OpenDevice());
    EXPECT_TRUE(out.LastOpenFailure().isEmpty());
    EXPECT_EQ(out.LastError(), MidiNoError);
}

TEST(DeviceState, FailedCloseRaisesAndStaysOpen)
{
    RecordingDevices devices;
    TMidiOutput out(devices.list);
    ASSERT_TRUE(out.OpenDevice());
    devices.backend->failNextClose(MidiDriverError, QStringLiteral("close failed"));
    EXPECT_EQ(raisedMessage([&] { out.CloseDevice(); }), "close failed");
    EXPECT_TRUE(out.IsOpen());
    EXPECT_EQ(out.LastError(), MidiDriverError);
    EXPECT_TRUE(out.CloseDevice());
}

TEST(DeviceState, DestructionClosesTheDevice)
{
    RecordingDevices devices;
    {
        TMidiOutput out(devices.list);
        ASSERT_TRUE(out.OpenDevice());
        EXPECT_EQ(devices.backend->openPorts(), 1);
    }
    EXPECT_EQ(devices.backend->openPorts(), 0);
}

TEST(DeviceState, InstalledDefaultListIsUsedByNewOutputs)
{
    RecordingDevices devices({QStringLiteral("Only")});
    MidiDeviceList::installDefault(devices.list);
    TMidiOutput out;
    MidiDeviceList::installDefault(nullptr);
    EXPECT_EQ(out.DeviceCount(), 1);
    out.setDeviceID(0);
    EXPECT_EQ(out.ProductName(), "Only");
}

TEST(ErrorTexts, UnknownCodeIsOutOfRange)
{
    EXPECT_EQ(TMidiOutput::ErrorText(9999), "Specified error number is out of range");
    EXPECT_NE(TMidiOutput::ErrorText(MidiBadDeviceId), "Specified error number is out of range");
}

} // namespace
