// The status bar notice that the settings cannot be saved: the settings file
// or its folder is read-only, so this run keeps its settings in memory.
#include "player/UnitMain.h"

#include "persist/SettingsFile.h"
#include "persist/SettingsSession.h"

#include <QDir>
#include <QLabel>
#include <QStatusBar>

namespace harmonet {

void TfrmMain::createSettingsNotice()
{
    lblSettingsNotice = new QLabel(tr("Settings not saved"), StatusBar1);
    lblSettingsNotice->setObjectName(QStringLiteral("lblSettingsNotice"));
    lblSettingsNotice->setStyleSheet(QStringLiteral("QLabel { color: #A00000; }"));
    lblSettingsNotice->hide();
    StatusBar1->addPermanentWidget(lblSettingsNotice);
    connect(&TSettingsSession::instance(), &TSettingsSession::started, this, [this] { showSettingsNotice(); });
    showSettingsNotice();
}

void TfrmMain::showSettingsNotice()
{
    const QString file = settingsFilePath(CURRENT_USER);
    if (TSettingsSession::instance().copyOf(file).isEmpty()) {
        return;
    }
    lblSettingsNotice->setToolTip(
        tr("The settings file %1 cannot be written: it or its folder is read-only.\n"
           "Your settings and your changes to them are kept until Harmonet closes.")
            .arg(QDir::toNativeSeparators(file)));
    lblSettingsNotice->show();
}

} // namespace harmonet
