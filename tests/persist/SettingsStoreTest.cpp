// The settings store: keys and values without regard to case, the roots, and
// the file's safety against failed writes, damage, read-only folders and other
// programs saving at the same time.
#include "persist/SettingsFile.h"
#include "persist/SettingsStore.h"
#include "tests/persist/ConfigHome.h"
#include "tests/support/FullDisk.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace harmonet::test {
namespace {

const QString kKey = QStringLiteral("Software\\Harmonet\\MainForm");

void storeValue(const QString& key, const QString& name, const QString& value)
{
    TSettingsStore store(CURRENT_USER);
    ASSERT_TRUE(store.openKey(key, true));
    store.writeString(name, value);
    ASSERT_TRUE(store.flush());
}

TEST(SettingsStoreKeys, CreatedOnRequestAndMatchedWithoutRegardToCase)
{
    ConfigHome home;
    {
        TSettingsStore store(CURRENT_USER);
        EXPECT_TRUE(store.available());
        EXPECT_FALSE(store.openKey(kKey, false));
        EXPECT_FALSE(store.hasOpenKey());
        ASSERT_TRUE(store.openKey(kKey, true));
        store.writeString(QStringLiteral("FormTop"), QStringLiteral("-1"));
    }
    TSettingsStore store(CURRENT_USER);
    ASSERT_TRUE(store.openKey(QStringLiteral("SOFTWARE\\harmonet\\mainform"), false));
    EXPECT_TRUE(store.valueExists(QStringLiteral("formtop")));
    EXPECT_EQ(store.readString(QStringLiteral("FORMTOP")), "-1");
    store.writeString(QStringLiteral("FORMTOP"), QStringLiteral("25"));
    EXPECT_EQ(store.readString(QStringLiteral("FormTop")), "25");
    EXPECT_FALSE(store.valueExists(QStringLiteral("FormLeft")));
    EXPECT_EQ(store.readString(QStringLiteral("FormLeft")), "");
    ASSERT_TRUE(store.flush());
    EXPECT_EQ(home.settingsBytes().count("FormTop="), 1);
    EXPECT_TRUE(home.settingsBytes().contains("FormTop=25"));
}

// A connection finds its own writes and deletes at once, before anything is
// saved, through any spelling of their paths and names.
TEST(SettingsStoreKeys, OneConnectionFindsItsOwnChangesBeforeSaving)
{
    ConfigHome home;
    storeValue(kKey, QStringLiteral("FormTop"), QStringLiteral("1"));
    const QString reopen = QStringLiteral("Software\\Harmonet\\Reopen");

    TSettingsStore store(CURRENT_USER);
    ASSERT_TRUE(store.openKey(QStringLiteral("software\\harmonet\\mainform"), false));
    EXPECT_FALSE(store.valueExists(QStringLiteral("FormLeft")));
    store.writeString(QStringLiteral("FormLeft"), QStringLiteral("2"));
    EXPECT_TRUE(store.valueExists(QStringLiteral("FORMLEFT")));
    store.writeString(QStringLiteral("formleft"), QStringLiteral("3"));

    EXPECT_FALSE(store.openKey(reopen, false));
    ASSERT_TRUE(store.openKey(reopen, true));
    store.writeString(QStringLiteral("1"), QStringLiteral("/a.mid"));
    ASSERT_TRUE(store.openKey(reopen.toUpper(), false));
    EXPECT_EQ(store.readString(QStringLiteral("1")), "/a.mid");

    store.closeKey();
    ASSERT_TRUE(store.deleteKey(reopen.toLower()));
    EXPECT_FALSE(store.openKey(reopen, false));
    ASSERT_TRUE(store.flush());
    EXPECT_EQ(home.settingsBytes().count("FormLeft="), 1);
    EXPECT_TRUE(home.settingsBytes().contains("FormLeft=3"));
    EXPECT_FALSE(home.settingsBytes().contains("a.mid"));
}

TEST(SettingsStoreKeys, EmptyPartsAreSkippedSlashesNameNothingAndWritesNeedAKey)
{
    ConfigHome home;
    storeValue(QStringLiteral("\\Software\\\\Harmonet\\"), QStringLiteral("Name"), QStringLiteral("x"));
    TSettingsStore store(CURRENT_USER);
    EXPECT_THROW(store.writeString(QStringLiteral("Loose"), QStringLiteral("1")), ESettingsStoreError);
    ASSERT_TRUE(store.openKey(QStringLiteral("Software\\Harmonet"), false));
    EXPECT_EQ(store.readString(QStringLiteral("Name")), "x");
    EXPECT_FALSE(store.openKey(QStringLiteral("Software/Harmonet"), true));
    EXPECT_THROW(store.writeString(QStringLiteral("Name"), QStringLiteral("y")), ESettingsStoreError);
    ASSERT_TRUE(store.openKey(QStringLiteral("Software"), false));
    EXPECT_THROW(store.writeString(QStringLiteral("Harmonet/Name"), QStringLiteral("y")), ESettingsStoreError);
    EXPECT_THROW(store.writeString(QStringLiteral("Harmonet\\Name"), QStringLiteral("y")), ESettingsStoreError);
    EXPECT_THROW(store.writeString(QString(), QStringLiteral("y")), ESettingsStoreError);
    EXPECT_FALSE(store.valueExists(QStringLiteral("Harmonet/Name")));
}

TEST(SettingsStoreValues, TextsComeBackExactly)
{
    ConfigHome home;
    const QStringList texts{QString(), QStringLiteral("a, b"), QStringLiteral("@ByteArray(x)"),
                            QStringLiteral("  padded  "), QStringLiteral("line\nbreak;semi=equals"),
                            QStringLiteral("0|clWindowText|-11|MS Sans Serif|fpDefault|8|[]"),
                            QStringLiteral("Ünïcödé ♪")};
    for (qsizetype i = 0; i < texts.size(); ++i)
        storeValue(kKey, QStringLiteral("V%1").arg(i), texts.at(i));
    EXPECT_TRUE(isWellFormedSettingsText(home.settingsBytes()));
    TSettingsStore store(CURRENT_USER);
    ASSERT_TRUE(store.openKey(kKey, false));
    for (qsizetype i = 0; i < texts.size(); ++i)
        EXPECT_EQ(store.readString(QStringLiteral("V%1").arg(i)), texts.at(i)) << i;
}

TEST(SettingsStoreValues, OtherFormsThanPlainStringsRefuseToReadAsStrings)
{
    ConfigHome home;
    home.writeSettings("[Software]\n"
                       "Harmonet\\MainForm\\Bytes=@ByteArray(12)\n"
                       "Harmonet\\MainForm\\List=1, 2\n"
                       "Harmonet\\MainForm\\Variant=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)\n"
                       "Harmonet\\MainForm\\Plain=12\n");
    TSettingsStore store(CURRENT_USER);
    ASSERT_TRUE(store.openKey(kKey, false));
    for (const char* name : {"Bytes", "List", "Variant"}) {
        EXPECT_TRUE(store.valueExists(QString::fromLatin1(name))) << name;
        EXPECT_THROW(store.readString(QString::fromLatin1(name)), ESettingsStoreError) << name;
    }
    EXPECT_EQ(store.readString(QStringLiteral("Plain")), "12");
}

TEST(SettingsStoreKeys, DeletingASubkeyTakesItsValuesAndLeavesItsSiblings)
{
    ConfigHome home;
    storeValue(QStringLiteral("Software\\Harmonet\\Reopen"), QStringLiteral("1"), QStringLiteral("/a.mid"));
    storeValue(QStringLiteral("Software\\Harmonet\\Reopen\\Deeper"), QStringLiteral("2"), QStringLiteral("x"));
    storeValue(kKey, QStringLiteral("FormTop"), QStringLiteral("3"));

    TSettingsStore store(CURRENT_USER);
    ASSERT_TRUE(store.openKey(QStringLiteral("Software\\Harmonet"), false));
    EXPECT_TRUE(store.deleteKey(QStringLiteral("REOPEN")));
    EXPECT_FALSE(store.deleteKey(QStringLiteral("Reopen")));
    EXPECT_FALSE(store.deleteKey(QString()));
    ASSERT_TRUE(store.flush());
    EXPECT_FALSE(store.openKey(QStringLiteral("Software\\Harmonet\\Reopen"), false));
    EXPECT_FALSE(store.openKey(QStringLiteral("Software\\Harmonet\\Reopen\\Deeper"), false));
    ASSERT_TRUE(store.openKey(kKey, false));
    EXPECT_EQ(store.readString(QStringLiteral("FormTop")), "3");
    EXPECT_FALSE(home.settingsBytes().contains("a.mid"));
}

TEST(SettingsStoreKeys, DeletingAKeyThatAHandEditedFileSpellsTwiceTakesEverySpelling)
{
    ConfigHome home;
    home.writeSettings("[Software\\Harmonet\\Reopen]\n2=/first.mid\n"
                       "[Software\\Harmonet\\REopen]\n3=/second.mid\n"
                       "[Software\\Harmonet\\MainForm]\nFormTop=3\n");
    {
        TSettingsStore store(CURRENT_USER);
        EXPECT_TRUE(store.deleteKey(QStringLiteral("Software\\Harmonet\\reopen")));
        ASSERT_TRUE(store.openKey(QStringLiteral("Software\\Harmonet\\Reopen"), true));
        store.writeString(QStringLiteral("1"), QStringLiteral("/new.mid"));
        ASSERT_TRUE(store.flush());
    }
    TSettingsStore store(CURRENT_USER);
    ASSERT_TRUE(store.openKey(QStringLiteral("Software\\Harmonet\\Reopen"), false));
    EXPECT_EQ(store.readString(QStringLiteral("1")), "/new.mid");
    EXPECT_FALSE(store.valueExists(QStringLiteral("2")));
    EXPECT_FALSE(store.valueExists(QStringLiteral("3")));
    EXPECT_FALSE(home.settingsBytes().contains("first.mid"));
    EXPECT_FALSE(home.settingsBytes().contains("second.mid"));
    ASSERT_TRUE(store.openKey(kKey, false));
    EXPECT_EQ(store.readString(QStringLiteral("FormTop")), "3");
}

TEST(SettingsStoreRoots, SystemWideRootIsReadOnlyAndOthersHaveNoStore)
{
    ConfigHome home;
    QTemporaryDir system;
    const QByteArray previousDirs = qgetenv("XDG_CONFIG_DIRS");
    qputenv("XDG_CONFIG_DIRS", system.path().toLocal8Bit());
    const QByteArray content("[Software]\nHarmonet\\MainForm\\FormTop=8\n");
    QDir().mkpath(system.path() + QStringLiteral("/Harmonet"));
    QFile file(system.path() + QStringLiteral("/Harmonet/Harmonet.ini"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();
    {
        TSettingsStore store(LOCAL_MACHINE);
        EXPECT_TRUE(store.available());
        EXPECT_FALSE(store.openKey(QStringLiteral("Software\\Other"), true));
        ASSERT_TRUE(store.openKey(QStringLiteral("software\\harmonet\\mainform"), true));
        EXPECT_EQ(store.readString(QStringLiteral("FormTop")), "8");
        EXPECT_THROW(store.writeString(QStringLiteral("FormTop"), QStringLiteral("9")), ESettingsStoreError);
        store.closeKey();
        EXPECT_THROW(store.deleteKey(QStringLiteral("Software")), ESettingsStoreError);
        EXPECT_TRUE(store.flush());
    }
    qputenv("XDG_CONFIG_DIRS", previousDirs);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), content);

    for (TRegRoots root : {CLASSES_ROOT, USERS, PERFORMANCE_DATA, CURRENT_CONFIG, DYN_DATA}) {
        TSettingsStore store(root);
        EXPECT_FALSE(store.available());
        EXPECT_FALSE(store.openKey(kKey, true));
        EXPECT_FALSE(store.valueExists(QStringLiteral("FormTop")));
        EXPECT_FALSE(store.deleteKey(kKey));
        EXPECT_FALSE(store.flush());
    }
    EXPECT_FALSE(QFileInfo::exists(home.settingsFile()));
}

TEST(SettingsStoreReliability, FailedWriteLeavesThePreviousFileWhole)
{
    ConfigHome home;
    storeValue(kKey, QStringLiteral("FormTop"), QStringLiteral("41"));
    const QByteArray before = home.settingsBytes();
    bool written = true;
    {
        FullDisk full;
        TSettingsStore store(CURRENT_USER);
        ASSERT_TRUE(store.openKey(kKey, true));
        store.writeString(QStringLiteral("FormTop"), QString(2000, QLatin1Char('9')));
        written = store.flush();
    }
    EXPECT_FALSE(written);
    EXPECT_EQ(home.settingsBytes(), before);
    const QStringList left = QDir(home.settingsFolder()).entryList(QDir::Files | QDir::Hidden);
    EXPECT_EQ(left, QStringList{"Harmonet.ini"});
}

// Makes a folder refuse new files while it lives (immutable for root,
// without write permission for others); unwritable() tells whether it worked.
class UnwritableFolder {
public:
    explicit UnwritableFolder(const QString& path) : m_path(path)
    {
        m_fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY);
        int flags = 0;
        if (m_fd >= 0 && ::ioctl(m_fd, FS_IOC_GETFLAGS, &flags) == 0) {
            const int immutable = flags | FS_IMMUTABLE_FL;
            m_immutable = ::ioctl(m_fd, FS_IOC_SETFLAGS, &immutable) == 0;
        }
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    }
    ~UnwritableFolder()
    {
        if (m_immutable) {
            int flags = 0;
            ::ioctl(m_fd, FS_IOC_GETFLAGS, &flags);
            flags &= ~FS_IMMUTABLE_FL;
            ::ioctl(m_fd, FS_IOC_SETFLAGS, &flags);
        }
        if (m_fd >= 0)
            ::close(m_fd);
        QFile::setPermissions(m_path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }

    bool unwritable() const
    {
        QFile probe(m_path + QStringLiteral("/probe"));
        if (probe.open(QIODevice::WriteOnly)) {
            probe.remove();
            return false;
        }
        return true;
    }

private:
    QString m_path;
    int m_fd = -1;
    bool m_immutable = false;
};

TEST(SettingsStoreReliability, ReadOnlyFolderReadsAndWritesNothing)
{
    ConfigHome home;
    storeValue(kKey, QStringLiteral("FormTop"), QStringLiteral("41"));
    const QByteArray before = home.settingsBytes();
    UnwritableFolder folder(home.settingsFolder());
    if (!folder.unwritable())
        GTEST_SKIP() << "this file system lets the test's user write anywhere";
    TSettingsStore store(CURRENT_USER);
    ASSERT_TRUE(store.openKey(kKey, false));
    EXPECT_EQ(store.readString(QStringLiteral("FormTop")), "41");
    store.writeString(QStringLiteral("FormTop"), QStringLiteral("42"));
    EXPECT_TRUE(store.flush()) << "kept for this run";
    EXPECT_TRUE(store.keptForThisRunOnly());
    EXPECT_EQ(home.settingsBytes(), before);
}

TEST(SettingsStoreReliability, ReadOnlyFileReadsAndWritesNothing)
{
    ConfigHome home;
    storeValue(kKey, QStringLiteral("FormTop"), QStringLiteral("41"));
    const QByteArray before = home.settingsBytes();
    ASSERT_TRUE(QFile::setPermissions(home.settingsFile(), QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    {
        TSettingsStore store(CURRENT_USER);
        ASSERT_TRUE(store.openKey(kKey, true));
        EXPECT_EQ(store.readString(QStringLiteral("FormTop")), "41");
        store.writeString(QStringLiteral("FormTop"), QStringLiteral("42"));
        store.closeKey();
        EXPECT_TRUE(store.deleteKey(QStringLiteral("Software\\Harmonet\\MainForm")));
    }
    EXPECT_EQ(home.settingsBytes(), before);
    EXPECT_EQ(QFileInfo(home.settingsFile()).permissions() & QFileDevice::WriteOwner, 0);
    TSettingsStore later(CURRENT_USER);
    EXPECT_FALSE(later.openKey(kKey, false)) << "the run goes on with its changes";
}

TEST(SettingsStoreReliability, DamagedFileIsKeptBesideItBeforeTheFirstChange)
{
    ConfigHome home;
    const QByteArray damaged("[Software]\nHarmonet\\MainForm\\FormTop=6\nno equals sign here\n\x01\x02\xff");
    home.writeSettings(damaged);
    const QString keptPath = home.settingsFile() + QStringLiteral(".bad");
    {
        TSettingsStore store(CURRENT_USER);
        EXPECT_TRUE(store.damaged());
        ASSERT_TRUE(store.openKey(kKey, false));
        EXPECT_EQ(store.readString(QStringLiteral("FormTop")), "6");
        EXPECT_TRUE(store.flush());
    }
    EXPECT_FALSE(QFileInfo::exists(keptPath));
    EXPECT_EQ(home.settingsBytes(), damaged);

    storeValue(kKey, QStringLiteral("FormLeft"), QStringLiteral("7"));
    QFile kept(keptPath);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), damaged);
    EXPECT_TRUE(isWellFormedSettingsText(home.settingsBytes()));
    TSettingsStore store(CURRENT_USER);
    EXPECT_FALSE(store.damaged());
    ASSERT_TRUE(store.openKey(kKey, false));
    EXPECT_EQ(store.readString(QStringLiteral("FormTop")), "6");
    EXPECT_EQ(store.readString(QStringLiteral("FormLeft")), "7");
}

TEST(SettingsStoreReliability, DamagedFileThatCannotBeKeptIsNotReplaced)
{
    ConfigHome home;
    const QByteArray damaged("[Software\nHarmonet\\MainForm\\FormTop=6\n");
    home.writeSettings(damaged);
    ASSERT_TRUE(QDir().mkpath(home.settingsFile() + QStringLiteral(".bad")));
    {
        TSettingsStore store(CURRENT_USER);
        ASSERT_TRUE(store.openKey(kKey, true));
        EXPECT_THROW(store.writeString(QStringLiteral("FormTop"), QStringLiteral("1")), ESettingsStoreError);
        EXPECT_THROW(store.writeString(QStringLiteral("FormTop"), QStringLiteral("1")), ESettingsStoreError);
        store.closeKey();
        EXPECT_THROW(store.deleteKey(QStringLiteral("Software")), ESettingsStoreError);
    }
    EXPECT_EQ(home.settingsBytes(), damaged);
}

TEST(SettingsFileText, WellFormedOnlyWhenEveryLineReads)
{
    EXPECT_TRUE(isWellFormedSettingsText(""));
    EXPECT_TRUE(isWellFormedSettingsText("; note\r\n# note\n[General]\nx=1\n\n  [a b]  \n\ty = \"a, b\"\n"));
    EXPECT_TRUE(isWellFormedSettingsText("\xEF\xBB\xBF[General]\nx=1\n"));
    EXPECT_FALSE(isWellFormedSettingsText("[General\nx=1\n"));
    EXPECT_FALSE(isWellFormedSettingsText("x=1\nbroken line\n"));
    EXPECT_FALSE(isWellFormedSettingsText(QByteArray("x=1\0y=2\n", 8)));
    EXPECT_FALSE(isWellFormedSettingsText("x=\xff\xfe\n"));
    // The store itself writes DEL as it is.
    EXPECT_TRUE(isWellFormedSettingsText("x=\x7f\n"));
}

// A file the store wrote is never taken for a damaged one, whatever its values
// hold: otherwise the next change would keep the program's own file as the
// damaged copy, over the user's.
TEST(SettingsFileText, WhatTheStoreWritesIsWellFormedAndReadsBack)
{
    static constexpr char controls[] = "nul\0bell\atab\tnewline\nreturn\r";
    const QList<QString> values = {
        QStringLiteral("/a/b.mid\x7f"),
        QString::fromUtf8(QByteArray(controls, sizeof controls - 1)),
        QStringLiteral("\u0085\u00a0\u2028 Gr\u00fc\u00dfe \U0001F3B5"),
        QStringLiteral("\"quoted\", a=b; c\\d [e] #f"),
        QStringLiteral("   "),
    };
    for (const QString& value : values) {
        SCOPED_TRACE(value.toStdString());
        ConfigHome home;
        storeValue(kKey, QStringLiteral("OpenDir"), value);
        EXPECT_TRUE(isWellFormedSettingsText(home.settingsBytes()));
        TSettingsStore store(CURRENT_USER);
        EXPECT_FALSE(store.damaged());
        ASSERT_TRUE(store.openKey(kKey, false));
        EXPECT_EQ(store.readString(QStringLiteral("OpenDir")), value);
    }
}

TEST(SettingsStoreReliability, TwoProgramsSavingAtOnceLeaveAValidFile)
{
    ConfigHome home;
    constexpr int kSaves = 40;
    QProcess first;
    QProcess second;
    for (QProcess* process : {&first, &second}) {
        process->setProcessChannelMode(QProcess::ForwardedChannels);
        process->start(QStringLiteral(HARMONET_PERSIST_SAVE_LOOP),
                       {process == &first ? QStringLiteral("1") : QStringLiteral("2"), QString::number(kSaves)});
    }
    for (QProcess* process : {&first, &second}) {
        ASSERT_TRUE(process->waitForFinished(60000));
        EXPECT_EQ(process->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process->exitCode(), 0);
    }
    EXPECT_TRUE(isWellFormedSettingsText(home.settingsBytes()));
    TSettingsStore store(CURRENT_USER);
    EXPECT_FALSE(store.damaged());
    for (const char* writer : {"Writer1", "Writer2"}) {
        ASSERT_TRUE(store.openKey(QStringLiteral("Software\\Harmonet\\") + QLatin1String(writer), false)) << writer;
        EXPECT_EQ(store.readString(QStringLiteral("Count")), QString::number(kSaves - 1)) << writer;
    }
    ASSERT_TRUE(store.openKey(QStringLiteral("Software\\Harmonet"), false));
    const QString last = store.readString(QStringLiteral("Last"));
    EXPECT_TRUE(last == QStringLiteral("1-%1").arg(kSaves - 1) || last == QStringLiteral("2-%1").arg(kSaves - 1))
        << last.toStdString();
    const QStringList left = QDir(home.settingsFolder()).entryList(QDir::Files | QDir::Hidden);
    EXPECT_EQ(left, QStringList{"Harmonet.ini"});
}

} // namespace
} // namespace harmonet::test
