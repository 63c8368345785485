// The main window's menu bar and popup menus.
#include "player/UnitMain.h"

#include "player/BarControls.h"
#include "player/ControlTags.h"
#include "player/MenuItems.h"
#include "player/Panel.h"
#include "player/PitchClickMenus.h"
#include "player/PracticeMenus.h"
#include "player/SingAlong.h"
#include "player/RightAlignedLabel.h"
#include "windows/InstrumentMenu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSlider>

namespace harmonet {

namespace {

QMenu* topMenu(QMenuBar* bar, const char* name, const QString& caption)
{
    QMenu* menu = bar->addMenu(caption);
    menu->setObjectName(QLatin1String(name));
    menu->menuAction()->setObjectName(QLatin1String(name) + QStringLiteral("Item"));
    setTag(menu->menuAction(), 1);
    return menu;
}

// A popup menu opened by a right click on each of the given controls.
QMenu* popupMenu(QWidget* owner, const char* name, std::initializer_list<QWidget*> controls)
{
    auto* menu = new QMenu(owner);
    menu->setObjectName(QLatin1String(name));
    for (QWidget* control : controls) {
        control->setContextMenuPolicy(Qt::CustomContextMenu);
        QObject::connect(control, &QWidget::customContextMenuRequested, menu,
                         [menu, control](const QPoint& pos) { menu->popup(control->mapToGlobal(pos)); });
    }
    return menu;
}

} // namespace

void TfrmMain::createMenus()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));

    QMenu* file = topMenu(bar, "File1", tr("&File"));
    Open1 = addMenuItem(file, "Open1", 1, tr("&Open..."), QKeySequence(Qt::Key_O));
    Reopen1 = file->addMenu(tr("Reopen"));
    Reopen1->setObjectName(QStringLiteral("Reopen1"));
    Reopen1->menuAction()->setObjectName(QStringLiteral("Reopen1Item"));
    setTag(Reopen1->menuAction(), 1);
    Reopen1->menuAction()->setEnabled(false); // no recent file yet
    Close1 = addMenuItem(file, "Close1", 0, tr("&Close"), QKeySequence(Qt::Key_C));
    file->addSeparator();
    Exit1 = addMenuItem(file, "Exit1", 1, tr("E&xit"), QKeySequence(Qt::ALT | Qt::Key_F4));

    QMenu* view = topMenu(bar, "View1", tr("&View"));
    Lyrics1 = addMenuItem(view, "Lyrics1", 0, tr("Lyrics"), QKeySequence(Qt::Key_F2));
    ScrollingLyrics1 = addMenuItem(view, "ScrollingLyrics1", 1, tr(" Scrolling Lyrics"), QKeySequence(Qt::Key_F3));
    ScrollingLyrics1->setCheckable(true);
    ScrollingLyrics1->setChecked(true);
    view->addSeparator();
    Instruments1 = addMenuItem(view, "Instruments1", 0, tr("Instruments"), QKeySequence(Qt::Key_F4));
    TrackMixer1 = addMenuItem(view, "TrackMixer1", 0, tr("Track Mixer"), QKeySequence(Qt::Key_F5));
    view->addSeparator();
    PracticeView1 = addMenuItem(view, "PracticeView1", 1, tr("Practice View"), QKeySequence(Qt::Key_F7));

    QMenu* controlsMenu = topMenu(bar, "Controls1", tr("&Controls"));
    Play1 = addMenuItem(controlsMenu, "Play1", 0, tr("Play"), QKeySequence(Qt::Key_P));
    Rewind1 = addMenuItem(controlsMenu, "Rewind1", 0, tr("Rewind"), QKeySequence(Qt::Key_R));
    FastForward1 = addMenuItem(controlsMenu, "FastForward1", 0, tr("Fast Forward"), QKeySequence(Qt::Key_F));
    Stop1 = addMenuItem(controlsMenu, "Stop1", 0, tr("Stop"), QKeySequence(Qt::Key_S));
    Pause1 = addMenuItem(controlsMenu, "Pause1", 0, tr("Pause"), QKeySequence(Qt::Key_Space));

    QMenu* options = topMenu(bar, "Options1", tr("&Options"));
    Settings1 = addMenuItem(options, "Settings1", 1, tr("Settings"), QKeySequence(Qt::Key_F6));
    FollowTempoChanges1 = addMenuItem(options, "FollowTempoChanges1", 1, tr("Follow Tempo Changes"));
    FollowTempoChanges1->setCheckable(true);

    QMenu* help = topMenu(bar, "Help1", tr("&Help"));
    HarmonetHelp1 = addMenuItem(help, "HarmonetHelp1", 1, tr("Harmonet Help"), QKeySequence(Qt::Key_F1));
    help->addSeparator();
    About1 = addMenuItem(help, "About1", 1, tr("About..."), QKeySequence(Qt::Key_F12));

    BarControls1 = new TBarControls(*this, controlsMenu, options);
    PracticeMenus1 = new TPracticeMenus(*this, file, options);
    PitchClickMenus1 = new TPitchClickMenus(*this, controlsMenu, options);
    SingAlongMenus1 = new TSingAlong(*this, bar);

    createPopupMenus();
}

void TfrmMain::createPopupMenus()
{
    pmReopen = popupMenu(this, "pmReopen", {btnLoad});

    pmPosition = popupMenu(this, "pmPosition", {tbPosition});
    for (int verse = 1; verse <= 6; ++verse) {
        const QByteArray name = "Verse" + QByteArray::number(verse);
        addMenuItem(pmPosition, name.constData(), 0, tr("Verse %1").arg(verse));
    }
    pmPosition->setDefaultAction(pmPosition->actions().constFirst());

    pmTempo = popupMenu(this, "pmTempo", {tbTempo});
    pmTempo->setDefaultAction(addMenuItem(pmTempo, "Reset1", 0, tr("Reset")));
    pmTempo->addSeparator()->setObjectName(QStringLiteral("N4"));
    for (int preset : {60, 80, 100, 120, 140}) {
        const QByteArray name = "N" + QByteArray::number(preset) + "1";
        addMenuItem(pmTempo, name.constData(), 0, QString::number(preset));
    }
    // The same as shares of the song's own tempo.
    pmTempo->addSeparator();
    for (int percent : TempoPercentPresets) {
        const QByteArray name = "Percent" + QByteArray::number(percent) + "1";
        addMenuItem(pmTempo, name.constData(), 0, tr("%1 %").arg(percent));
    }

    pmScrollingLyrics = popupMenu(this, "pmScrollingLyrics", {pnlLyrics, lblLyrics, pnlLyrics2});
    pmScrollingLyrics->setDefaultAction(
        addMenuItem(pmScrollingLyrics, "ViewFullLyrics1", 0, tr("View Full Lyrics...")));
    pmScrollingLyrics->addSeparator();
    addMenuItem(pmScrollingLyrics, "EditLyricColors1", 0, tr("Edit Lyric Colors..."));
    createWordsMenu();

    pmInstruments = new TInstrumentMenu(QStringLiteral("pmInstruments"), this);
    for (QAction* instrument : pmInstruments->items()) {
        setTag(instrument, 0);
    }
}

} // namespace harmonet
