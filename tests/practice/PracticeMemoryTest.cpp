// The practice choice and the upbeat remembered per file in the settings
// store: across a restart, for a file moved or edited, at most 200 files, and
// never upset by damaged entries.
#include "persist/SettingsStore.h"
#include "practice/PracticeMemory.h"

#include <gtest/gtest.h>
#include <limits>

namespace harmonet::test {
namespace {

class PracticeMemoryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TSettingsStore store(CURRENT_USER);
        store.deleteKey(TPracticeMemory::keyPath());
        store.deleteKey(TPracticeMemory::pickupKeyPath());
        store.deleteKey(TPracticeMemory::playingKeyPath());
        store.flush();
    }

    static QString hashOf(const char* content) { return TPracticeMemory::contentHash(QByteArray(content)); }
};

TEST_F(PracticeMemoryTest, AChoiceOutlivesTheProgramAndFollowsAMovedOrEditedFile)
{
    const PracticeChoice alto{VoiceKey{2, 1, 1}, -18, true, PanSide::Right};
    TPracticeMemory().remember(QStringLiteral("/songs/psalm.mid"), hashOf("psalm"), alto);

    // A new connection reads the store's file as a restarted program does.
    const TPracticeMemory restarted;
    EXPECT_EQ(restarted.recall(QStringLiteral("/songs/psalm.mid"), hashOf("psalm")), alto);
    EXPECT_EQ(restarted.recall(QStringLiteral("/elsewhere/copy.mid"), hashOf("psalm")), alto) << "moved";
    EXPECT_EQ(restarted.recall(QStringLiteral("/songs/psalm.mid"), hashOf("psalm, edited")), alto) << "edited";
    EXPECT_EQ(restarted.recall(QStringLiteral("/songs/other.mid"), hashOf("other")), std::nullopt);

    TSettingsStore store(CURRENT_USER);
    ASSERT_TRUE(store.openKey(TPracticeMemory::keyPath(), false)) << "kept under its own key";
    EXPECT_TRUE(store.readString(QStringLiteral("File1")).endsWith(QStringLiteral("|/songs/psalm.mid")));
}

TEST_F(PracticeMemoryTest, TheOldestOfMoreThanTwoHundredFilesIsDroppedAndARecalledOneIsNew)
{
    TPracticeMemory memory;
    const auto path = [](int n) { return QStringLiteral("/songs/%1.mid").arg(n); };
    const auto hash = [](int n) { return TPracticeMemory::contentHash(QByteArray::number(n)); };
    for (int n = 0; n < TPracticeMemory::MaxFiles; ++n) {
        memory.remember(path(n), hash(n), PracticeChoice{VoiceKey{n % 5, 0, 0}, -12, false, PanSide::Left});
    }
    // Choosing again for file 0 makes it the most recent: file 1 is now the oldest.
    memory.remember(path(0), hash(0), PracticeChoice{VoiceKey{3, 0, 0}, -6, false, PanSide::Left});
    memory.remember(path(1000), hash(1000), PracticeChoice{VoiceKey{1, 0, 0}, -12, false, PanSide::Left});
    EXPECT_EQ(memory.recall(path(1), hash(1)), std::nullopt);
    EXPECT_EQ(memory.recall(path(0), hash(0)), (PracticeChoice{VoiceKey{3, 0, 0}, -6, false, PanSide::Left}));
    EXPECT_EQ(memory.recall(path(2), hash(2)), (PracticeChoice{VoiceKey{2, 0, 0}, -12, false, PanSide::Left}));
    EXPECT_EQ(memory.recall(path(1000), hash(1000)), (PracticeChoice{VoiceKey{1, 0, 0}, -12, false, PanSide::Left}));
}

TEST_F(PracticeMemoryTest, DamagedEntriesAreSkipped)
{
    {
        TSettingsStore store(CURRENT_USER);
        ASSERT_TRUE(store.openKey(TPracticeMemory::keyPath(), true));
        const char* damaged[] = {"", "no separators", "|1;-12;0;left|/a.mid", "h|x;-12;0;left|/a.mid",
                                 "h|1;+5;0;left|/a.mid", "h|1;-12;2;left|/a.mid", "h|1;-12;0;up|/a.mid",
                                 "h|-7;-12;0;left|/a.mid"};
        int n = 1;
        for (const char* text : damaged) {
            store.writeString(QStringLiteral("File%1").arg(n++), QString::fromLatin1(text));
        }
        store.writeString(QStringLiteral("File%1").arg(n), QStringLiteral("good|1;-400;0;right|/b|c.mid"));
        store.flush();
    }
    const TPracticeMemory memory;
    EXPECT_EQ(memory.recall(QStringLiteral("/a.mid"), QStringLiteral("h")), std::nullopt);
    EXPECT_EQ(memory.recall(QStringLiteral("/x.mid"), QStringLiteral("good")),
              (PracticeChoice{VoiceKey{1, 0, 0}, PracticeChoice::SilentDb, false, PanSide::Right}))
        << "a level below silent is silent; a path may hold the separator";
}

TEST(PracticeChoiceText, APartIsAVoiceByTrackChannelAndPlaceAndATrackAloneStillReads)
{
    const struct {
        const char* text;
        std::optional<VoiceKey> part;
    } cases[] = {
        {"2.1.1;-12;0;left", VoiceKey{2, 1, 1}},
        {"0.16.0;-12;0;left", VoiceKey{0, 16, 0}},
        {"2;-12;0;left", VoiceKey{2, 0, 0}},
        {"-1;-12;0;left", PracticeChoice::NoPart},
        {"2.0.1;-12;0;left", std::nullopt},
        {"2.17.0;-12;0;left", std::nullopt},
        {"2.1.-1;-12;0;left", std::nullopt},
        {"-2.1.0;-12;0;left", std::nullopt},
        {"2.1;-12;0;left", std::nullopt},
        {"2.1.1.1;-12;0;left", std::nullopt},
        {"2.x.1;-12;0;left", std::nullopt},
        {"99999999999;-12;0;left", std::nullopt},
    };
    for (const auto& c : cases) {
        const std::optional<PracticeChoice> read = choiceFromText(QString::fromLatin1(c.text));
        EXPECT_EQ(read.has_value(), c.part.has_value()) << c.text;
        if (read && c.part) {
            EXPECT_EQ(read->part, *c.part) << c.text;
            EXPECT_EQ(choiceFromText(choiceText(*read)), read) << c.text << " written and read again";
        }
    }
}

TEST_F(PracticeMemoryTest, AnUpbeatIsKeptBesideTheChoiceAndDamagedOnesAreSkipped)
{
    const QString psalm = QStringLiteral("/songs/psalm.mid");
    TPracticeMemory().remember(psalm, hashOf("psalm"), PracticeChoice{VoiceKey{1, 0, 0}, -12, false, PanSide::Left});
    struct PickupCase {
        double beats;
        std::optional<double> recalled;
    };
    for (const PickupCase& c : {PickupCase{1.5, 1.5}, PickupCase{1.0 / 3.0, 1.0 / 3.0}, PickupCase{-1.0, 1.0 / 3.0},
                                PickupCase{std::numeric_limits<double>::quiet_NaN(), 1.0 / 3.0}}) {
        TPracticeMemory().rememberPickupBeats(psalm, hashOf("psalm"), c.beats);
        const TPracticeMemory restarted;
        EXPECT_EQ(restarted.recallPickupBeats(QStringLiteral("/moved.mid"), hashOf("psalm")), c.recalled) << c.beats;
        EXPECT_EQ(restarted.recall(psalm, hashOf("psalm")), (PracticeChoice{VoiceKey{1, 0, 0}, -12, false, PanSide::Left}))
            << "the choice stays";
    }

    {
        TSettingsStore store(CURRENT_USER);
        ASSERT_TRUE(store.openKey(TPracticeMemory::pickupKeyPath(), true));
        store.writeString(QStringLiteral("File1"), QStringLiteral("a|inf|/a.mid"));
        store.writeString(QStringLiteral("File2"), QStringLiteral("d|2|/d.mid"));
        store.flush();
    }
    const TPracticeMemory memory;
    EXPECT_EQ(memory.recallPickupBeats(QStringLiteral("/x.mid"), QStringLiteral("a")), std::nullopt);
    EXPECT_EQ(memory.recallPickupBeats(QStringLiteral("/x.mid"), QStringLiteral("d")), 2.0);
}

TEST_F(PracticeMemoryTest, TempoTranspositionAndCountInOutliveTheProgramAndDamagedOnesAreSkipped)
{
    const QString psalm = QStringLiteral("/songs/psalm.mid");
    const struct {
        TPlayingValues remembered;
        std::optional<TPlayingValues> recalled;
    } cases[] = {
        {{96, -2, 1}, TPlayingValues{96, -2, 1}},
        {{0, 12, 2}, TPlayingValues{0, 12, 2}},
        {{0, 13, 0}, TPlayingValues{0, 12, 2}},   // out of range: not kept
        {{-5, 0, 0}, TPlayingValues{0, 12, 2}},
        {{120, 0, 3}, TPlayingValues{0, 12, 2}},
    };
    for (const auto& c : cases) {
        TPracticeMemory().rememberPlaying(psalm, hashOf("psalm"), c.remembered);
        const TPracticeMemory restarted;
        EXPECT_EQ(restarted.recallPlaying(QStringLiteral("/moved.mid"), hashOf("psalm")), c.recalled)
            << c.remembered.bpm << ";" << c.remembered.transpose << ";" << c.remembered.countInBars;
    }
    {
        TSettingsStore store(CURRENT_USER);
        ASSERT_TRUE(store.openKey(TPracticeMemory::playingKeyPath(), true));
        store.writeString(QStringLiteral("File1"), QStringLiteral("a|96;-20;1|/a.mid"));
        store.writeString(QStringLiteral("File2"), QStringLiteral("b|96;x;1|/b.mid"));
        store.writeString(QStringLiteral("File3"), QStringLiteral("c|80;3;0|/c.mid"));
        store.flush();
    }
    const TPracticeMemory memory;
    EXPECT_EQ(memory.recallPlaying(QStringLiteral("/x.mid"), QStringLiteral("a")), std::nullopt);
    EXPECT_EQ(memory.recallPlaying(QStringLiteral("/x.mid"), QStringLiteral("b")), std::nullopt);
    EXPECT_EQ(memory.recallPlaying(QStringLiteral("/x.mid"), QStringLiteral("c")), (TPlayingValues{80, 3, 0}));
}

} // namespace
} // namespace harmonet::test
