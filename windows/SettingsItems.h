#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace harmonet {

// The settings each window keeps through its TIniOut (one line per item, see
// persist/IniOut.h), apart from the windows themselves, so that the settings
// can be read and written without a window (as the settings fuzzer does).
// Qt Core only.
const QStringList& mainFormSettingsItems();
const QStringList& lyricsFormSettingsItems();
const QStringList& mixerFormSettingsItems();
const QStringList& practiceViewFormSettingsItems();
// The settings window keeps one caption per track panel, trackPanelCount of them.
QStringList settingsFormSettingsItems(int trackPanelCount);

// A window's object name with the items its TIniOut keeps.
struct TWindowSettingsItems {
    QString window;
    QStringList items;
};

// Every window that keeps settings, the settings window with trackPanelCount panels.
QList<TWindowSettingsItems> everyWindowsSettingsItems(int trackPanelCount);

} // namespace harmonet
