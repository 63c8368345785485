// Sending through an open device: what bytes reach it, the 7-bit guard on
// data bytes, failures, long messages and their completion, and the log.
#include "core/ErrorReport.h"
#include "midiout/MidiOut.h"
#include "tests/midiout/RecordingDevices.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

using namespace harmonet;
using harmonet::test::RecordingDevices;

namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values) {
        out.append(static_cast<char>(v));
    }
    return out;
}

class Sending : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(out.OpenDevice()); }

    std::vector<QByteArray> sent() const
    {
        std::vector<QByteArray> all;
        for (const auto& message : devices.backend->messages()) {
            all.push_back(message.bytes);
        }
        return all;
    }

    RecordingDevices devices;
    TMidiOutput out{devices.list};
};

TEST_F(Sending, EventOnAClosedDeviceIsRefused)
{
    ASSERT_TRUE(out.CloseDevice());
    try {
        out.SendEvent(TMyMidiEvent(0x90, 60, 100));
        FAIL() << "nothing raised";
    } catch (const EmidioutputError& error) {
        EXPECT_EQ(error.message(), "MIDI Output device not open");
    }
    // The lower-level operations do not crash on a closed device either.
    EXPECT_THROW(out.SendShort(0x90, 60, 100), EmidioutputError);
    const quint8 sysex[] = {0xF0, 0x7E, 0xF7};
    EXPECT_THROW(out.SendLong(sysex, 3), EmidioutputError);
    EXPECT_TRUE(devices.backend->messages().empty());
}

TEST_F(Sending, EachMessageHasTheBytesItsStatusCallsFor)
{
    out.SendEvent(TMyMidiEvent(0x91, 60, 100));  // note on
    out.SendEvent(TMyMidiEvent(0xC2, 19, 55));   // program change: one data byte
    out.SendEvent(TMyMidiEvent(0xD3, 40, 66));   // channel pressure: one data byte
    out.SendEvent(TMyMidiEvent(0xE0, 0x00, 0x40)); // pitch bend centre
    out.SendEvent(TMyMidiEvent(0xFF, 1, 2));     // system reset: no data
    EXPECT_EQ(sent(), (std::vector<QByteArray>{bytes({0x91, 60, 100}), bytes({0xC2, 19}), bytes({0xD3, 40}),
                                               bytes({0xE0, 0x00, 0x40}), bytes({0xFF})}));
}

TEST_F(Sending, DataBytesAreMaskedToSevenBits)
{
    out.SendShort(0x90, 0xBC, 0x80);
    out.SendShort(0xC0, 0xFF, 0);
    EXPECT_EQ(sent(), (std::vector<QByteArray>{bytes({0x90, 0x3C, 0x00}), bytes({0xC0, 0x7F})}));
}

TEST_F(Sending, SystemExclusiveStatusWithoutItsBytesIsNotSent)
{
    // What the player sends for a file's system-exclusive event: the status alone.
    out.SendEvent(TMyMidiEvent(0xF0, 0, 0));
    out.SendEvent(TMyMidiEvent(0xF7, 0, 0));
    out.SendEvent(TMyMidiEvent(0x90, 60, 100));
    EXPECT_EQ(sent(), std::vector<QByteArray>{bytes({0x90, 60, 100})});
}

TEST_F(Sending, DataByteInPlaceOfAStatusIsRefused)
{
    try {
        out.SendShort(0x3C, 0x40, 0);
        FAIL() << "nothing raised";
    } catch (const EmidioutputError& error) {
        EXPECT_EQ(error.code(), MidiInvalidMessage);
    }
    EXPECT_TRUE(sent().empty());
}

TEST_F(Sending, DeviceFailureIsRaisedWithItsTextAndKeptAsLastError)
{
    devices.backend->failSends(MidiDriverError, QStringLiteral("port vanished"));
    try {
        out.SendShort(0x90, 60, 100);
        FAIL() << "nothing raised";
    } catch (const EmidioutputError& error) {
        EXPECT_EQ(error.message(), "port vanished");
    }
    EXPECT_EQ(out.LastError(), MidiDriverError);
    EXPECT_TRUE(out.IsOpen());
    devices.backend->stopFailing();
    out.SendShort(0x80, 60, 0);
    EXPECT_EQ(out.LastError(), MidiNoError);
}

TEST_F(Sending, LongMessageHolderLivesUntilTheCompletionNoticeIsHandled)
{
    int notices = 0;
    int inFlightAtNotice = -1;
    out.SetOnmidioutput([&](QObject* sender) {
        EXPECT_EQ(sender, &out);
        ++notices;
        inFlightAtNotice = out.LongMessagesInFlight();
    });
    std::vector<quint8> sysex(65535, 0x11);
    sysex.front() = 0xF0;
    sysex.back() = 0xF7;
    TMyMidiEvent event;
    event.SetSysex(sysex);
    out.SendEvent(event);

    // The device is done at once, but the notice is queued to the GUI thread.
    EXPECT_EQ(out.LongMessagesInFlight(), 1);
    EXPECT_EQ(notices, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(out.LongMessagesInFlight(), 0);
    EXPECT_EQ(notices, 1);
    EXPECT_EQ(inFlightAtNotice, 0) << "the holder is freed before the notification";

    const auto messages = devices.backend->messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].isLong);
    EXPECT_EQ(messages[0].bytes.size(), 65535);
}

TEST_F(Sending, SlowDeviceKeepsTheHolderUntilItIsDone)
{
    int notices = 0;
    out.SetOnmidioutput([&](QObject*) { ++notices; });
    devices.backend->holdLongMessages(true);
    const quint8 sysex[] = {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};
    out.SendLong(sysex, sizeof sysex);
    out.SendLong(sysex, sizeof sysex);
    QCoreApplication::processEvents();
    EXPECT_EQ(out.LongMessagesInFlight(), 2);
    EXPECT_EQ(notices, 0);

    devices.backend->releaseLongMessages();
    EXPECT_EQ(out.LongMessagesInFlight(), 2) << "freed only on the GUI thread's turn";
    QCoreApplication::processEvents();
    EXPECT_EQ(out.LongMessagesInFlight(), 0);
    EXPECT_EQ(notices, 2);
}

TEST_F(Sending, ClosingHandsBackHeldLongMessages)
{
    devices.backend->holdLongMessages(true);
    const quint8 sysex[] = {0xF0, 0x43, 0x10, 0xF7};
    out.SendLong(sysex, sizeof sysex);
    EXPECT_TRUE(out.CloseDevice());
    QCoreApplication::processEvents();
    EXPECT_EQ(out.LongMessagesInFlight(), 0);
    EXPECT_EQ(devices.backend->heldLongMessages(), 0);
}

TEST_F(Sending, OutputDestroyedBeforeItsNoticeArrivesIsSafe)
{
    auto early = std::make_unique<TMidiOutput>(devices.list);
    ASSERT_TRUE(early->OpenDevice());
    int notices = 0;
    early->SetOnmidioutput([&](QObject*) { ++notices; });
    const quint8 sysex[] = {0xF0, 0x7E, 0xF7};
    early->SendLong(sysex, sizeof sysex);
    early.reset();
    QCoreApplication::processEvents();
    EXPECT_EQ(notices, 0);
}

TEST_F(Sending, FailingCompletionHandlerIsReportedNotThrown)
{
    QStringList reported;
    const ErrorReporter previous = setErrorReporter([&](const QString& message) { reported << message; });
    out.SetOnmidioutput([](QObject*) { throw EmidioutputError(QStringLiteral("handler failed")); });
    const quint8 sysex[] = {0xF0, 0x7E, 0xF7};
    out.SendLong(sysex, sizeof sysex);
    QCoreApplication::processEvents();
    setErrorReporter(previous);
    EXPECT_EQ(reported, QStringList{QStringLiteral("handler failed")});
    EXPECT_EQ(out.LongMessagesInFlight(), 0);
}

TEST_F(Sending, EmptyLongMessageIsRejected)
{
    const quint8 none[] = {0};
    try {
        out.SendLong(none, 0);
        FAIL() << "nothing raised";
    } catch (const EmidioutputError& error) {
        EXPECT_EQ(error.code(), MidiEmptyLongMessage);
        EXPECT_TRUE(error.message().contains(QStringLiteral("at least one byte")));
    }
    EXPECT_EQ(out.LongMessagesInFlight(), 0);
    EXPECT_TRUE(sent().empty());
}

TEST_F(Sending, LongMessageBytesBetweenStartAndEndAreMasked)
{
    const quint8 sysex[] = {0xF0, 0x41, 0x90, 0xFF, 0xF7};
    out.SendLong(sysex, sizeof sysex);
    EXPECT_EQ(sent(), std::vector<QByteArray>{bytes({0xF0, 0x41, 0x10, 0x7F, 0xF7})});
    EXPECT_EQ(sysex[2], 0x90) << "the caller's bytes are not touched";
}

TEST_F(Sending, FailedLongMessageFreesItsHolder)
{
    devices.backend->failSends(MidiDriverError);
    const quint8 sysex[] = {0xF0, 0x7E, 0xF7};
    EXPECT_THROW(out.SendLong(sysex, sizeof sysex), EmidioutputError);
    EXPECT_EQ(out.LongMessagesInFlight(), 0);
}

TEST(SysexEvent, SizeLimitAndEmptyData)
{
    TMyMidiEvent event;
    std::vector<quint8> tooLong(65536, 0);
    EXPECT_THROW(event.SetSysex(tooLong), EmidioutputError);
    EXPECT_EQ(event.SysexData, nullptr);
    const quint8 two[] = {0xF0, 0xF7};
    event.SetSysex(two);
    EXPECT_EQ(event.SysexSize, 2);
    event.SetSysex({});
    EXPECT_EQ(event.SysexData, nullptr);
    EXPECT_EQ(event.SysexSize, 0);
}

TEST(MessageLog, OneLinePerMessageAppendedAcrossOpens)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("midi.log"));
    qputenv("HARMONET_MIDI_LOG", QFile::encodeName(path));
    RecordingDevices devices;
    TMidiOutput out(devices.list);
    ASSERT_TRUE(out.OpenDevice());
    out.SendShort(0x90, 0x3C, 0xE4);
    const quint8 sysex[] = {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};
    out.SendLong(sysex, sizeof sysex);
    out.CloseDevice();
    ASSERT_TRUE(out.OpenDevice());
    out.SendShort(0xC1, 5, 0);
    out.CloseDevice();
    qunsetenv("HARMONET_MIDI_LOG");

    QFile log(path);
    ASSERT_TRUE(log.open(QIODevice::ReadOnly | QIODevice::Text));
    const QList<QByteArray> lines = log.readAll().split('\n');
    ASSERT_EQ(lines.size(), 4) << "three lines and the final newline";
    const QRegularExpression shape(QStringLiteral("^\\d+ (.*)$"));
    const QStringList expected{QStringLiteral("90 3C 64"), QStringLiteral("F0 7E 7F 09 01 F7"),
                               QStringLiteral("C1 05")};
    for (int i = 0; i < 3; ++i) {
        const auto match = shape.match(QString::fromLatin1(lines[i]));
        ASSERT_TRUE(match.hasMatch()) << lines[i].constData();
        EXPECT_EQ(match.captured(1), expected[i]);
    }
    EXPECT_TRUE(lines[3].isEmpty());
}

TEST(MessageLog, UnwritableLogDoesNotStopTheDevice)
{
    qputenv("HARMONET_MIDI_LOG", "/nonexistent-folder/midi.log");
    RecordingDevices devices;
    TMidiOutput out(devices.list);
    const bool opened = out.OpenDevice();
    qunsetenv("HARMONET_MIDI_LOG");
    ASSERT_TRUE(opened);
    out.SendShort(0x90, 60, 100);
    EXPECT_EQ(devices.backend->messages().size(), 1u);
}

} // namespace
