// The mixer component against a scripted mixer: opening, the values it
// keeps and writes, change notices and the messages of its errors.
#include "core/ErrorReport.h"
#include "mixer/cmpMidiMixer.h"
#include "tests/mixer/FakeMixer.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

namespace harmonet::test {

namespace {

class MixerComponentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_previousReporter = setErrorReporter([this](const QString& message) { errors.append(message); });
    }
    void TearDown() override { setErrorReporter(m_previousReporter); }

    // A component as its window builds it: created, then loaded.
    TMidiMixer& loaded()
    {
        mixer = std::make_unique<TMidiMixer>(backend);
        mixer->Loaded();
        return *mixer;
    }

    std::shared_ptr<FakeMixerBackend> backend = std::make_shared<FakeMixerBackend>();
    std::unique_ptr<TMidiMixer> mixer;
    QStringList errors;

private:
    ErrorReporter m_previousReporter;
};

void deliverNotices()
{
    QCoreApplication::processEvents();
}

TEST_F(MixerComponentTest, OpensTheFirstMixerOnceItsWindowHasLoadedIt)
{
    mixer = std::make_unique<TMidiMixer>(backend);
    EXPECT_TRUE(mixer->Active());
    EXPECT_EQ(mixer->MidiDeviceID(), -2);
    EXPECT_TRUE(backend->openedIds.empty());
    mixer->Loaded();
    EXPECT_EQ(backend->openedIds, std::vector<int>{-2});
    EXPECT_TRUE(mixer->Active());
    for (int c = 0; c < TMidiMixer::ControlCount; ++c) {
        EXPECT_TRUE(mixer->ControlAvailable(TMixerControlType(c))) << c;
    }
    EXPECT_EQ(mixer->ControlValue(TMidiMixer::mcTreble, 0), 32768u);
    EXPECT_EQ(mixer->ControlMax(TMidiMixer::mcMasterMute), 1u);
    mixer.reset();
    EXPECT_EQ(backend->openDevices, 0);
}

TEST_F(MixerComponentTest, AUniformControlReadsIntoBothChannelsAndIsWrittenWithOne)
{
    backend->control(mcMasterMute).values = {1};
    TMidiMixer& m = loaded();
    EXPECT_EQ(m.ControlValue(TMidiMixer::mcMasterMute, 0), 1u);
    EXPECT_EQ(m.ControlValue(TMidiMixer::mcMasterMute, 1), 1u);

    m.SetControlValue(TMidiMixer::mcMasterMute, 0, 0);
    ASSERT_EQ(backend->writes.size(), 1u);
    EXPECT_EQ(backend->writes[0].control, mcMasterMute);
    EXPECT_EQ(backend->writes[0].values, std::vector<quint32>{0});
}

// Elements of more than two channels are the ALSA mapping's (AlsaElementMapTest).
TEST_F(MixerComponentTest, ValuesAreReadAndWrittenPerChannelOfTheControl)
{
    struct Case {
        int channels;
        std::vector<quint32> atStart;
        TMixerStereoValue read;
        std::vector<quint32> written;
    };
    for (const Case& c : {Case{2, {300, 7}, {300, 7}, {100, 200}}, Case{1, {300}, {300, 300}, {100}}}) {
        backend = std::make_shared<FakeMixerBackend>();
        backend->control(mcMasterVolume) = {c.channels, 65535, c.atStart};
        TMidiMixer& m = loaded();
        EXPECT_EQ(m.ControlValue(TMidiMixer::mcMasterVolume, 0), c.read.LeftValue) << c.channels;
        EXPECT_EQ(m.ControlValue(TMidiMixer::mcMasterVolume, 1), c.read.RightValue) << c.channels;

        m.SetControlValues(TMidiMixer::mcMasterVolume, {100, 200});
        ASSERT_FALSE(backend->writes.empty());
        EXPECT_EQ(backend->writes.back().values, c.written) << c.channels << " channels";
    }
}

TEST_F(MixerComponentTest, AnUnchangedValueWritesNothingWhileSetControlValuesAlwaysWrites)
{
    TMidiMixer& m = loaded();
    m.SetControlValue(TMidiMixer::mcMasterMute, 0, m.ControlValue(TMidiMixer::mcMasterMute, 0));
    m.SetControlValue(TMidiMixer::mcMidiVolume, 1, 65535);
    EXPECT_TRUE(backend->writes.empty());

    m.SetControlValues(TMidiMixer::mcMidiVolume, {65535, 65535});
    m.SetControlValue(TMidiMixer::mcMidiVolume, 1, 1000);
    ASSERT_EQ(backend->writes.size(), 2u);
    EXPECT_EQ(backend->writes[0].values, (std::vector<quint32>{65535, 65535}));
    EXPECT_EQ(backend->writes[1].values, (std::vector<quint32>{65535, 1000}));
    EXPECT_EQ(m.ControlValue(TMidiMixer::mcMidiVolume, 1), 1000u);
}

TEST_F(MixerComponentTest, AControlTheMixerLacksReadsZeroAndIsNeverWritten)
{
    backend->remove(mcBass);
    TMidiMixer& m = loaded();
    EXPECT_FALSE(m.ControlAvailable(TMidiMixer::mcBass));
    EXPECT_EQ(m.ControlValue(TMidiMixer::mcBass, 0), 0u);
    EXPECT_EQ(m.ControlMax(TMidiMixer::mcBass), 0u);
    m.SetControlValues(TMidiMixer::mcBass, {5, 5});
    m.SetControlValue(TMidiMixer::mcBass, 1, 9);
    EXPECT_TRUE(backend->writes.empty());
}

TEST_F(MixerComponentTest, ANoticeRereadsItsControlBeforeTheHandlerAndOthersAreIgnored)
{
    backend->remove(mcBass);
    TMidiMixer& m = loaded();
    QList<std::pair<TMixerControlType, quint32>> seen;
    m.SetOnControlChange([&](QObject* sender, TMixerControlType control) {
        EXPECT_EQ(sender, &m);
        seen.append({control, m.ControlValue(control, 1)});
    });
    const int readsAtOpen = backend->reads;

    backend->changeElsewhere(mcBass); // a control the mixer lacks
    deliverNotices();
    EXPECT_TRUE(seen.isEmpty());
    EXPECT_EQ(backend->reads, readsAtOpen);

    backend->changeElsewhere(mcMasterVolume, {1000, 2000});
    EXPECT_TRUE(seen.isEmpty()) << "notices arrive through the event loop";
    deliverNotices();
    ASSERT_EQ(seen.size(), 1);
    EXPECT_EQ(seen[0].first, TMidiMixer::mcMasterVolume);
    EXPECT_EQ(seen[0].second, 2000u);
    EXPECT_EQ(m.ControlValue(TMidiMixer::mcMasterVolume, 0), 1000u);
}

TEST_F(MixerComponentTest, ANoticeForAMixerClosedMeanwhileIsDropped)
{
    TMidiMixer& m = loaded();
    int calls = 0;
    m.SetOnControlChange([&](QObject*, TMixerControlType) { ++calls; });
    backend->changeElsewhere(mcMasterVolume, {1, 1});
    m.SetActive(false);
    deliverNotices();
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(backend->openDevices, 0);
}

TEST_F(MixerComponentTest, WhatTheHandlerRaisesIsReportedAndTheMixerGoesOn)
{
    TMidiMixer& m = loaded();
    m.SetOnControlChange([](QObject*, TMixerControlType) { throw Exception(QStringLiteral("handler failed")); });
    backend->changeElsewhere(mcBass, {100});
    deliverNotices();
    EXPECT_EQ(errors, QStringList{QStringLiteral("handler failed")});

    backend->readResult = MixerInvalidHandle;
    backend->changeElsewhere(mcBass, {200});
    deliverNotices();
    ASSERT_EQ(errors.size(), 2);
    EXPECT_EQ(errors[1], QStringLiteral("Multimedia System Error 5 - Device handle is invalid in mixerGetControlDetails"));
}

TEST_F(MixerComponentTest, MidiDeviceIdReopensAnActiveMixerAndIsOnlyStoredOtherwise)
{
    TMidiMixer& m = loaded();
    m.SetMidiDeviceID(-2);
    EXPECT_EQ(backend->openedIds, std::vector<int>{-2});

    m.SetMidiDeviceID(3);
    EXPECT_EQ(backend->openedIds, (std::vector<int>{-2, 3}));
    EXPECT_TRUE(m.Active());
    EXPECT_EQ(backend->openDevices, 1);

    m.SetActive(false);
    m.SetMidiDeviceID(5);
    EXPECT_EQ(m.MidiDeviceID(), 5);
    EXPECT_FALSE(m.Active());
    EXPECT_EQ(backend->openedIds.size(), 2u);
    m.SetActive(true);
    EXPECT_EQ(backend->openedIds.back(), 5);
}

TEST_F(MixerComponentTest, FailuresRaiseTheirMessagesAndLeaveNothingOpen)
{
    struct Case {
        const char* what;
        std::function<void(FakeMixerBackend&)> arrange;
        QString message;
    };
    const QList<Case> cases{
        {"open", [](FakeMixerBackend& b) { b.openResult = MixerBadDeviceId; },
         QStringLiteral("Multimedia System Error 2 - Device ID out of range in mixerOpen")},
        {"no speakers", [](FakeMixerBackend& b) { b.hasSpeakersLine = false; },
         QStringLiteral("Can't find audio output mixer line for Test Mixer")},
        {"no synthesizer", [](FakeMixerBackend& b) { b.hasSynthesizerLine = false; },
         QStringLiteral("Can't find MIDI output source line for Test Mixer")},
        {"read", [](FakeMixerBackend& b) { b.readResult = MixerNoMemory; },
         QStringLiteral("Multimedia System Error 7 - Memory allocation error in mixerGetControlDetails")},
    };
    for (const Case& c : cases) {
        backend = std::make_shared<FakeMixerBackend>();
        c.arrange(*backend);
        mixer = std::make_unique<TMidiMixer>(backend);
        try {
            mixer->Loaded();
            ADD_FAILURE() << c.what << ": nothing raised";
        } catch (const Exception& error) {
            EXPECT_EQ(error.message(), c.message) << c.what;
            EXPECT_EQ(dynamic_cast<const EMMError*>(&error) != nullptr, !c.message.startsWith("Can't")) << c.what;
        }
        EXPECT_FALSE(mixer->Active()) << c.what;
        EXPECT_EQ(backend->openDevices, 0) << c.what;
        EXPECT_FALSE(mixer->ControlAvailable(TMidiMixer::mcMasterVolume)) << c.what;
        mixer->SetControlValues(TMidiMixer::mcMasterVolume, {1, 1});
        EXPECT_TRUE(backend->writes.empty()) << c.what;
    }
}

TEST_F(MixerComponentTest, AFailedWriteRaisesWithTheWritingFunction)
{
    TMidiMixer& m = loaded();
    backend->writeResult = MixerInvalidControl;
    try {
        m.SetControlValues(TMidiMixer::mcTreble, {1, 1});
        ADD_FAILURE() << "nothing raised";
    } catch (const EMMError& error) {
        EXPECT_EQ(error.message(), QStringLiteral("Multimedia Mixer Error 1025 - Invalid Mixer Control in mixerSetControlDetails"));
        EXPECT_EQ(error.code(), 1025u);
    }
}

TEST(MixerErrorTest, MessagesNameCategoryCodeTextAndFunction)
{
    struct Case {
        quint32 code;
        const char* function;
        const char* message;
    };
    for (const Case& c : {
             Case{2, "mixerOpen", "Multimedia System Error 2 - Device ID out of range in mixerOpen"},
             Case{7000, "mixerSetControlDetails", "Multimedia Unknown Error 7000 - Unknown error in mixerSetControlDetails"},
             Case{12, "mixerOpen", "Multimedia System Error 12 - Handle being used simultaneously on another thread (eg callback) in mixerOpen"},
             Case{20, "x", "Multimedia System Error 20 - Driver does not call DriverCallback in x"},
             Case{1024, "y", "Multimedia Mixer Error 1024 - Invalid Mixer Line in y"},
             Case{1026, "z", "Multimedia Mixer Error 1026 - Invalid Mixer Value in z"},
             Case{21, "f", "Multimedia Unknown Error 21 - Unknown error in f"},
             Case{0, "f", "Multimedia Unknown Error 0 - Unknown error in f"},
         }) {
        EXPECT_EQ(EMMError(c.code, QLatin1String(c.function)).message(), QLatin1String(c.message));
    }
}

} // namespace

} // namespace harmonet::test
