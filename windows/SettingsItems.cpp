#include "windows/SettingsItems.h"

#include <QCoreApplication>

namespace harmonet {

const QStringList& mainFormSettingsItems()
{
    static const QStringList items = {
        QStringLiteral("frmMain;Top;-1;Software\\Harmonet\\MainForm;FormTop;1;0"),
        QStringLiteral("frmMain;Left;-1;Software\\Harmonet\\MainForm;FormLeft;1;0"),
        QStringLiteral("OpenDialog1;InitialDir;;Software\\Harmonet\\MainForm;OpenDir;1;0"),
        QStringLiteral("sbTimeDown;Down;False;Software\\Harmonet\\MainForm;TimeDown;1;0"),
        QStringLiteral("frmMain;FollowTempoChanges;False;Software\\Harmonet\\MainForm;FollowTempoChanges;1;0"),
        QStringLiteral("BarControls1;ReadOut;Time;Software\\Harmonet\\MainForm;TimeReadOut;1;0"),
    };
    return items;
}

const QStringList& lyricsFormSettingsItems()
{
    static const QStringList items = {
        QStringLiteral("frmLyrics;Top;-1;Software\\Harmonet\\LyricsForm;Top;1;0"),
        QStringLiteral("frmLyrics;Left;-1;Software\\Harmonet\\LyricsForm;Left;1;0"),
        QStringLiteral("frmLyrics;Height;400;Software\\Harmonet\\LyricsForm;Height;1;0"),
        QStringLiteral("frmLyrics;Width;350;Software\\Harmonet\\LyricsForm;Width;1;0"),
        QStringLiteral("memoLyrics;Font;0|clWindowText|-11|MS Sans Serif|fpDefault|8|[];"
                       "Software\\Harmonet\\LyricsForm;Font;1;0"),
    };
    return items;
}

const QStringList& mixerFormSettingsItems()
{
    static const QStringList items = {
        QStringLiteral("frmMixer;Top;-1;Software\\Harmonet\\MixerForm;Top;1;0"),
        QStringLiteral("frmMixer;Left;-1;Software\\Harmonet\\MixerForm;Left;1;0"),
        QStringLiteral("frmMixer;Width;206;Software\\Harmonet\\MixerForm;Width;1;0"),
        QStringLiteral("frmMixer;Height;228;Software\\Harmonet\\MixerForm;Height;1;0"),
    };
    return items;
}

const QStringList& practiceViewFormSettingsItems()
{
    static const QStringList items = {
        QStringLiteral("frmPracticeView;Top;-1;Software\\Harmonet\\PracticeViewForm;Top;1;0"),
        QStringLiteral("frmPracticeView;Left;-1;Software\\Harmonet\\PracticeViewForm;Left;1;0"),
        QStringLiteral("frmPracticeView;Width;960;Software\\Harmonet\\PracticeViewForm;Width;1;0"),
        QStringLiteral("frmPracticeView;Height;420;Software\\Harmonet\\PracticeViewForm;Height;1;0"),
        QStringLiteral("frmPracticeView;Zoom;48;Software\\Harmonet\\PracticeViewForm;Zoom;1;0"),
        QStringLiteral("frmPracticeView;ShowOthers;True;Software\\Harmonet\\PracticeViewForm;ShowOthers;1;0"),
    };
    return items;
}

QStringList settingsFormSettingsItems(int trackPanelCount)
{
    auto item = [](const QString& component, const QString& property, const QString& defaultText,
                   const QString& valueName) {
        return QStringLiteral("%1;%2;%3;Software\\Harmonet\\SettingsForm;%4;1;0")
            .arg(component, property, defaultText, valueName);
    };
    QStringList items = {
        item(QStringLiteral("frmSettings"), QStringLiteral("Top"), QStringLiteral("-1"), QStringLiteral("Top")),
        item(QStringLiteral("frmSettings"), QStringLiteral("Left"), QStringLiteral("-1"), QStringLiteral("Left")),
        item(QStringLiteral("cbBackground"), QStringLiteral("Color"), QStringLiteral("clBtnFace"),
             QStringLiteral("LyricBackgroundColor")),
        item(QStringLiteral("cbText"), QStringLiteral("Color"), QStringLiteral("clBlack"), QStringLiteral("LyricTextColor")),
        item(QStringLiteral("cbHilight"), QStringLiteral("Color"), QStringLiteral("clRed"), QStringLiteral("LyricHilightColor")),
        item(QStringLiteral("cbTimeText"), QStringLiteral("Color"), QStringLiteral("clLime"), QStringLiteral("TimeTextColor")),
        item(QStringLiteral("cbTimeBackground"), QStringLiteral("Color"), QStringLiteral("clBlack"),
             QStringLiteral("TimeBackgroundColor")),
    };
    for (int n = 1; n <= trackPanelCount; ++n) {
        const QString noInstrument = QCoreApplication::translate("harmonet::TfrmSettings", "Track %1").arg(n);
        items.append(item(QStringLiteral("TrackPanel%1").arg(n), QStringLiteral("Caption"), noInstrument,
                          QStringLiteral("Instrument%1").arg(n)));
    }
    items.append(item(QStringLiteral("pnlLyricsWindowFont"), QStringLiteral("Font"), QString(),
                      QStringLiteral("LyricWindowFont")));
    items.append(item(QStringLiteral("cbDefaultInstruments"), QStringLiteral("Checked"), QStringLiteral("False"),
                      QStringLiteral("DefaultInstruments")));
    items.append(item(QStringLiteral("cbChangeAll"), QStringLiteral("Checked"), QStringLiteral("False"),
                      QStringLiteral("ChangeAll")));
    items.append(item(QStringLiteral("frmSettings"), QStringLiteral("LyricStripFontSize"), QStringLiteral("13"),
                      QStringLiteral("LyricStripFontSize")));
    return items;
}

QList<TWindowSettingsItems> everyWindowsSettingsItems(int trackPanelCount)
{
    return {
        {QStringLiteral("frmMain"), mainFormSettingsItems()},
        {QStringLiteral("frmLyrics"), lyricsFormSettingsItems()},
        {QStringLiteral("frmMixer"), mixerFormSettingsItems()},
        {QStringLiteral("frmPracticeView"), practiceViewFormSettingsItems()},
        {QStringLiteral("frmSettings"), settingsFormSettingsItems(trackPanelCount)},
    };
}

} // namespace harmonet
