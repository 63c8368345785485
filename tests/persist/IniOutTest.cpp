// Load and Save of a window's items through the settings store.
#include "persist/IniOut.h"
#include "persist/SettingsStore.h"
#include "tests/persist/ConfigHome.h"
#include "tests/persist/TestComponents.h"

#include <QFileInfo>
#include <gtest/gtest.h>

namespace harmonet::test {
namespace {

const QString kKey = QStringLiteral("Software\\Harmonet\\TestForm");

// "component;property;default;key;value;1;0", the form of the program's items.
QString item(const char* component, const char* property, const char* defaultText, const char* value,
             const char* saveSwitch = "0")
{
    return QStringLiteral("%1;%2;%3;%4;%5;1;%6")
        .arg(QLatin1String(component), QLatin1String(property), QLatin1String(defaultText), kKey,
             QLatin1String(value), QLatin1String(saveSwitch));
}

// The items of the test window, in the way the program's windows declare theirs.
QStringList formItems()
{
    return {
        item("frmTest", "Top", "-1", "Top"),
        item("frmTest", "Left", "-1", "Left"),
        item("frmTest", "Height", "400", "Height"),
        item("frmTest", "Width", "350", "Width"),
        item("OpenDialog1", "InitialDir", "", "OpenDir"),
        item("sbTimeDown", "Down", "False", "TimeDown"),
        item("cbChangeAll", "Checked", "False", "ChangeAll"),
        item("cbBackground", "Color", "clBtnFace", "LyricBackgroundColor"),
        item("pnlLyrics", "Caption", "Track 1", "Instrument1"),
        item("pnlLyrics", "Font", "0|clWindowText|-11|MS Sans Serif|fpDefault|8|[]", "Font"),
        item("pnlLyrics", "Cursor", "crDefault", "Cursor"),
        item("Kinds1", "Layout", "lyNone", "Layout"),
        item("Kinds1", "Anchors", "[]", "Anchors"),
        item("Kinds1", "Ratio", "1", "Ratio"),
        item("Kinds1", "Accelerator", "A", "Accelerator"),
        item("Kinds1", "Big", "0", "Big"),
        item("Kinds1", "Lines", "", "Lines"),
        item("Kinds1", "Partner", "", "Partner"),
        item("Kinds1", "OnClick", "", "OnClick"),
    };
}

// A test window whose IniOut1 carries the items.
struct PersistentForm : TestForm {
    TIniOut* iniOut;

    explicit PersistentForm(const QStringList& items = formItems())
    {
        iniOut = new TIniOut(&window);
        iniOut->setItems(items);
    }
};

QString storedText(const QString& value, const QString& key = kKey)
{
    TSettingsStore store(CURRENT_USER);
    if (!store.openKey(key, false) || !store.valueExists(value))
        return QStringLiteral("<missing>");
    return store.readString(value);
}

TEST(IniOutComponent, IsNamedAndOwnedByItsWindow)
{
    TTestWindow window;
    auto* iniOut = new TIniOut(&window);
    EXPECT_EQ(iniOut->objectName(), "IniOut1");
    EXPECT_EQ(iniOut->parent(), &window);
    EXPECT_EQ(iniOut->registryRoot(), CURRENT_USER);
    const auto root = PublishedObject(iniOut).property(QStringLiteral("RegistryRoot"));
    ASSERT_TRUE(root);
    EXPECT_EQ(root->memberNames, (QStringList{"CLASSES_ROOT", "CURRENT_USER", "LOCAL_MACHINE", "USERS",
                                              "PERFORMANCE_DATA", "CURRENT_CONFIG", "DYN_DATA"}));
    EXPECT_TRUE(PublishedObject(iniOut).property(QStringLiteral("items")));
}

TEST(IniOutLoad, FirstRunGivesEveryDefaultAndWritesNothing)
{
    ConfigHome home;
    PersistentForm form;
    form.iniOut->Load();
    EXPECT_EQ(form.window.m_top, -1);
    EXPECT_EQ(form.window.m_left, -1);
    EXPECT_EQ(form.window.m_height, 400);
    EXPECT_EQ(form.window.m_width, 350);
    EXPECT_EQ(form.openDialog->m_initialDir, "");
    EXPECT_FALSE(form.timeDown->m_down);
    EXPECT_FALSE(form.changeAll->m_checked);
    EXPECT_EQ(form.background->m_color, clBtnFace);
    EXPECT_EQ(form.panel->m_caption, "Track 1");
    EXPECT_EQ(form.panel->m_font.name(), "MS Sans Serif");
    EXPECT_EQ(form.panel->m_font.size(), 8);
    EXPECT_EQ(form.panel->m_font.charset(), 0);
    EXPECT_EQ(form.kinds->m_layout, TTestKinds::lyNone);
    EXPECT_EQ(form.kinds->anchors(), TTestKinds::TAnchors());
    EXPECT_EQ(form.kinds->m_accelerator, QLatin1Char('A'));
    EXPECT_TRUE(form.kinds->m_lines.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(home.settingsFile()));
}

TEST(IniOutSave, ColourStoredAsNumberComesBackAsIdentifier)
{
    ConfigHome home;
    home.writeSettings("[Software]\nHarmonet\\TestForm\\LyricBackgroundColor=255\n");
    PersistentForm form;
    form.iniOut->Load();
    EXPECT_EQ(form.background->m_color, clRed);
    form.iniOut->Save();
    EXPECT_EQ(storedText(QStringLiteral("LyricBackgroundColor")), "clRed");
}

TEST(IniOutSave, ColourWithoutIdentifierRoundTrips)
{
    ConfigHome home;
    const TColor mixed{0x00FF8040};
    {
        PersistentForm form;
        form.background->m_color = mixed;
        form.iniOut->Save();
    }
    EXPECT_EQ(storedText(QStringLiteral("LyricBackgroundColor")), QString::number(0x00FF8040));
    PersistentForm form;
    form.iniOut->Load();
    EXPECT_EQ(form.background->m_color, mixed);
}

TEST(IniOutSave, EveryKindRoundTripsThroughTheStore)
{
    ConfigHome home;
    {
        PersistentForm form;
        form.window.m_top = 120;
        form.window.m_left = -7;
        form.window.m_height = 411;
        form.window.m_width = 352;
        form.openDialog->m_initialDir = QStringLiteral("/home/singer/Songs; alto, tenor");
        form.timeDown->m_down = true;
        form.changeAll->m_checked = true;
        form.background->m_color = clRed;
        form.panel->m_caption = QStringLiteral("Choir Aahs");
        form.panel->m_font.setName(QStringLiteral("Arial"));
        form.panel->m_font.setSize(12);
        form.panel->m_font.setStyle(TFont::fsBold | TFont::fsItalic);
        form.panel->m_font.setColor(clNone);
        form.panel->m_cursor = TCursor{-21};
        form.kinds->m_layout = TTestKinds::lyClient;
        form.kinds->setAnchors(TTestKinds::akTop | TTestKinds::akBottom);
        form.kinds->m_ratio = 0.1;
        form.kinds->m_accelerator = QChar(0x00E9);
        form.kinds->m_big = -1234567890123LL;
        form.kinds->m_lines = {QStringLiteral("Soprano"), QStringLiteral("Alto")};
        form.kinds->m_partner = form.timeDown;
        form.kinds->m_onClick = TMethod{&form.window, "btnPlayClick"};
        form.iniOut->Save();
    }
    EXPECT_EQ(storedText(QStringLiteral("TimeDown")), "1");
    EXPECT_EQ(storedText(QStringLiteral("Font")), "1|clNone|-16|Arial|fpDefault|12|[fsBold,fsItalic]");
    EXPECT_EQ(storedText(QStringLiteral("Anchors")), "[akTop,akBottom]");
    EXPECT_EQ(storedText(QStringLiteral("Lines")), "Soprano|Alto");
    EXPECT_EQ(storedText(QStringLiteral("Cursor")), "crHandPoint");

    PersistentForm form;
    form.iniOut->Load();
    EXPECT_EQ(form.window.m_top, 120);
    EXPECT_EQ(form.window.m_left, -7);
    EXPECT_EQ(form.window.m_height, 411);
    EXPECT_EQ(form.window.m_width, 352);
    EXPECT_EQ(form.openDialog->m_initialDir, "/home/singer/Songs; alto, tenor");
    EXPECT_TRUE(form.timeDown->m_down);
    EXPECT_TRUE(form.changeAll->m_checked);
    EXPECT_EQ(form.background->m_color, clRed);
    EXPECT_EQ(form.panel->m_caption, "Choir Aahs");
    EXPECT_EQ(form.panel->m_font.name(), "Arial");
    EXPECT_EQ(form.panel->m_font.size(), 12);
    EXPECT_EQ(form.panel->m_font.style(), TFont::fsBold | TFont::fsItalic);
    EXPECT_EQ(form.panel->m_font.color(), clNone);
    EXPECT_EQ(form.panel->m_cursor.value, -21);
    EXPECT_EQ(form.kinds->m_layout, TTestKinds::lyClient);
    EXPECT_EQ(form.kinds->anchors(), TTestKinds::akTop | TTestKinds::akBottom);
    EXPECT_DOUBLE_EQ(form.kinds->m_ratio, 0.1);
    EXPECT_EQ(form.kinds->m_accelerator, QChar(0x00E9));
    EXPECT_EQ(form.kinds->m_big, -1234567890123LL);
    EXPECT_EQ(form.kinds->m_lines, (QStringList{"Soprano", "Alto"}));
    EXPECT_EQ(form.kinds->m_partner, form.timeDown);
    EXPECT_EQ(form.kinds->m_onClick.object, &form.window);
    EXPECT_EQ(form.kinds->m_onClick.name, "btnPlayClick");
}

TEST(IniOutSave, LoadOnlyItemIsReadButNeverWritten)
{
    ConfigHome home;
    home.writeSettings("[Software]\nHarmonet\\TestForm\\Top=55\n");
    PersistentForm form({item("frmTest", "Top", "-1", "Top", "1"),
                         item("frmTest", "Left", "-1", "Left", "1")});
    form.iniOut->Load();
    EXPECT_EQ(form.window.m_top, 55);
    EXPECT_EQ(form.window.m_left, -1);
    form.window.m_top = 99;
    form.window.m_left = 98;
    form.iniOut->Save();
    EXPECT_EQ(storedText(QStringLiteral("Top")), "55");
    EXPECT_EQ(storedText(QStringLiteral("Left")), "<missing>");
}

TEST(IniOutSave, BlankAndUnknownItemsChangeNothing)
{
    ConfigHome home;
    PersistentForm form({
        QString(),
        QStringLiteral("   "),
        QStringLiteral(";;;;;;"),
        QStringLiteral(";;-5;;;1;0"),
        item("NoSuchComponent", "Top", "5", "Ghost"),
        item("frmTest", "NoSuchProperty", "5", "Ghost2"),
        item("FRMTEST", "Top", "5", "Ghost3"),
        item("frmTest", "Left", "-1", "Left"),
    });
    form.iniOut->Load();
    EXPECT_EQ(form.window.m_top, 10);
    EXPECT_EQ(form.window.m_left, -1);
    form.iniOut->Save();
    TSettingsStore store(CURRENT_USER);
    ASSERT_TRUE(store.openKey(kKey, false));
    EXPECT_TRUE(store.valueExists(QStringLiteral("Left")));
    for (const char* ghost : {"Ghost", "Ghost2", "Ghost3", ""})
        EXPECT_FALSE(store.valueExists(QString::fromLatin1(ghost))) << ghost;
}

TEST(IniOutLoad, NonStringOrUnconvertibleValueKeepsTheLayoutValue)
{
    ConfigHome home;
    home.writeSettings("[Software]\n"
                       "Harmonet\\TestForm\\Top=@ByteArray(12)\n"
                       "Harmonet\\TestForm\\Left=3, 4\n"
                       "Harmonet\\TestForm\\Height=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)\n"
                       "Harmonet\\TestForm\\Width=wide\n"
                       "Harmonet\\TestForm\\Ratio=2.5\n");
    PersistentForm form;
    form.iniOut->Load();
    EXPECT_EQ(form.window.m_top, 10);
    EXPECT_EQ(form.window.m_left, 20);
    EXPECT_EQ(form.window.m_height, 300);
    EXPECT_EQ(form.window.m_width, 200);
    EXPECT_DOUBLE_EQ(form.kinds->m_ratio, 2.5);
    EXPECT_EQ(form.background->m_color, clBtnFace);
}

TEST(IniOutLoad, KeyAndValueNamesMatchWithoutRegardToCase)
{
    ConfigHome home;
    home.writeSettings("[software]\nharmonet\\TESTFORM\\top=33\n");
    PersistentForm form;
    form.iniOut->Load();
    EXPECT_EQ(form.window.m_top, 33);
    form.window.m_top = 44;
    form.iniOut->Save();
    EXPECT_EQ(storedText(QStringLiteral("Top")), "44");
    const QByteArray bytes = home.settingsBytes();
    EXPECT_EQ(bytes.count("top="), 1);
    EXPECT_FALSE(bytes.contains("Top="));
    EXPECT_FALSE(bytes.contains("[Software]"));
}

TEST(IniOutRoots, RootWithoutStoreGivesDefaultsAndWritesNothing)
{
    ConfigHome home;
    PersistentForm form;
    form.iniOut->setRegistryRoot(USERS);
    form.iniOut->Load();
    EXPECT_EQ(form.window.m_top, -1);
    form.iniOut->Save();
    EXPECT_FALSE(QFileInfo::exists(home.settingsFile()));
}

TEST(IniOutReliability, DamagedFileLoadsWhatItCanAndIsKeptBeforeSave)
{
    ConfigHome home;
    QByteArray damaged("[Software]\nHarmonet\\TestForm\\Top=77\n[Software\n");
    for (int i = 0; i < 512; ++i)
        damaged.append(char((i * 7919 + 13) % 256));
    home.writeSettings(damaged);
    PersistentForm form;
    form.iniOut->Load();
    EXPECT_EQ(form.window.m_top, 77);
    EXPECT_EQ(form.window.m_left, -1);
    EXPECT_EQ(home.settingsBytes(), damaged);

    form.window.m_left = 5;
    form.iniOut->Save();
    QFile kept(home.settingsFile() + QStringLiteral(".bad"));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), damaged);
    EXPECT_EQ(storedText(QStringLiteral("Top")), "77");
    EXPECT_EQ(storedText(QStringLiteral("Left")), "5");
}

TEST(IniOutReliability, FolderThatCannotBeMadeLoadsDefaultsAndSavesNothing)
{
    ConfigHome home;
    QFile blocker(home.path() + QStringLiteral("/plain-file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    qputenv("XDG_CONFIG_HOME", blocker.fileName().toLocal8Bit());
    PersistentForm form;
    form.iniOut->Load();
    EXPECT_EQ(form.window.m_top, -1);
    form.window.m_top = 12;
    form.iniOut->Save();
    EXPECT_EQ(form.window.m_top, 12);
    EXPECT_EQ(QFileInfo(blocker.fileName()).size(), 0);
}

} // namespace
} // namespace harmonet::test
