// The recent-files list without a window: its order, its limit, how paths
// compare, its menu captions and its form in the settings.
#include "player/RecentFileList.h"

#include "persist/SettingsStore.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace harmonet::test {
namespace {

QStringList numbered(int from, int to)
{
    QStringList paths;
    for (int n = from; n <= to; ++n) {
        paths.append(QStringLiteral("/songs/hymn %1.mid").arg(n));
    }
    return paths;
}

class StoredRecentFiles : public ::testing::Test {
protected:
    void SetUp() override { TSettingsStore(CURRENT_USER).deleteKey(TRecentFileList::StoreKey); }

    static void store(const QList<std::pair<QString, QString>>& values)
    {
        TSettingsStore settings(CURRENT_USER);
        ASSERT_TRUE(settings.openKey(TRecentFileList::StoreKey, true));
        for (const auto& [name, value] : values) {
            settings.writeString(name, value);
        }
    }

    // The stored values "1" to "11", "-" standing for a missing one.
    static QStringList stored()
    {
        TSettingsStore settings(CURRENT_USER);
        QStringList values;
        const bool open = settings.openKey(TRecentFileList::StoreKey, false);
        for (int n = 1; n <= 11; ++n) {
            const QString name = QString::number(n);
            values.append(open && settings.valueExists(name) ? settings.readString(name) : QStringLiteral("-"));
        }
        return values;
    }
};

TEST(RecentFileList, AddingKeepsTheNewestFirstAndAtMostTen)
{
    struct Case {
        const char* what;
        QStringList added;
        Qt::CaseSensitivity sensitivity;
        QStringList expected;
    };
    const QList<Case> cases = {
        {"newest first", {"/a.mid", "/b.mid", "/c.mid"}, Qt::CaseSensitive, {"/c.mid", "/b.mid", "/a.mid"}},
        {"the eleventh drops the oldest", numbered(1, 11), Qt::CaseSensitive,
         [] { QStringList p = numbered(2, 11); std::reverse(p.begin(), p.end()); return p; }()},
        {"a listed file moves to the top", {"/a.mid", "/b.mid", "/c.mid", "/a.mid"}, Qt::CaseSensitive,
         {"/a.mid", "/c.mid", "/b.mid"}},
        {"a file listed at the limit is not lost", numbered(1, 10) + QStringList{"/songs/hymn 1.mid"},
         Qt::CaseSensitive,
         [] { QStringList p = numbered(1, 10); std::rotate(p.begin(), p.begin() + 1, p.end());
              std::reverse(p.begin(), p.end()); return p; }()},
        {"other letter case is another file where case counts", {"/Song.mid", "/song.mid"}, Qt::CaseSensitive,
         {"/song.mid", "/Song.mid"}},
        {"other letter case is the same file where it does not", {"/Song.mid", "/b.mid", "/SONG.mid"},
         Qt::CaseInsensitive, {"/SONG.mid", "/b.mid"}},
    };
    for (const Case& c : cases) {
        TRecentFileList list(c.sensitivity);
        for (const QString& path : c.added) {
            list.add(path);
        }
        EXPECT_EQ(list.paths(), c.expected) << c.what;
    }
}

TEST(RecentFileList, OtherLetterCaseIsAnotherFileOnLinuxUnlessItLeadsToTheSameFile)
{
#if !defined(Q_OS_LINUX)
    GTEST_SKIP() << "file names ignore letter case here";
#endif
    QTemporaryDir folder;
    const QString real = folder.filePath("Psalm.mid");
    const QString link = folder.filePath("psalm.mid");
    const QString other = folder.filePath("PSALM.mid");
    QFile(real).open(QIODevice::WriteOnly);
    QFile(other).open(QIODevice::WriteOnly);
    ASSERT_TRUE(QFile::link(real, link));
    TRecentFileList list;
    for (const QString& path : {real, other, link}) {
        list.add(path);
    }
    EXPECT_EQ(list.paths(), (QStringList{link, other})) << "the link is the file it leads to; the other is another";
}

TEST(RecentFileList, CaptionsNumberTheEntriesAndShowAmpersandsAsThemselves)
{
    EXPECT_EQ(TRecentFileList::caption(1, "/songs/My Hymn.mid"), "&1 /songs/My Hymn.mid");
    EXPECT_EQ(TRecentFileList::caption(10, "/x.mid"), "&10 /x.mid");
    EXPECT_EQ(TRecentFileList::caption(2, "/Rock & Roll/A&B.mid"), "&2 /Rock && Roll/A&&B.mid");
}

TEST_F(StoredRecentFiles, SavedListReadsBackNumberedFromOne)
{
    TRecentFileList list;
    for (const QString& path : numbered(1, 11)) {
        list.add(path);
    }
    list.save();
    const QStringList values = stored();
    EXPECT_EQ(values[0], "/songs/hymn 11.mid");
    EXPECT_EQ(values[9], "/songs/hymn 2.mid") << "value 10 holds the tenth newest";
    EXPECT_EQ(values[10], "-");

    TRecentFileList read;
    read.load();
    EXPECT_EQ(read.paths(), list.paths());
}

TEST_F(StoredRecentFiles, BlankAndForeignValuesAreSkippedAndTheNextSaveRenumbers)
{
    store({{"1", "/one.mid"}, {"2", "/two.mid"}, {"3", "  \t"}, {"4", "/four.mid"}, {"6", "/six.mid"},
           {"11", "/eleven.mid"}, {"Other", "/other.mid"}});
    TRecentFileList list;
    list.load();
    EXPECT_EQ(list.paths(), (QStringList{"/one.mid", "/two.mid", "/four.mid", "/six.mid"}));
    list.save();
    EXPECT_EQ(stored(), (QStringList{"/one.mid", "/two.mid", "/four.mid", "/six.mid", "-", "-", "-", "-", "-",
                                     "-", "-"}));
    TSettingsStore settings(CURRENT_USER);
    ASSERT_TRUE(settings.openKey(TRecentFileList::StoreKey, false));
    EXPECT_FALSE(settings.valueExists("Other")) << "the subkey holds nothing else";
}

} // namespace
} // namespace harmonet::test
