// My part: the practice choice of the main window's Options menu and track
// panels, applied at once to what plays and remembered per file, and the
// export of practice tracks.
#include "player/PracticeMenus.h"

#include "core/ErrorReport.h"
#include "player/ControlTags.h"
#include "player/Panel.h"
#include "player/UnitMain.h"
#include "practice/VoiceModel.h"
#include "practice/ReadableNames.h"
#include "render/PracticeExport.h"
#include "sequencer/MidiFile.h"
#include "session/PlayingSession.h"
#include "session/Song.h"
#include "windows/ExportPractice.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QStatusBar>
#include <QMenu>

#include <algorithm>

namespace harmonet {

namespace {

struct Level {
    const char* name;
    int db;
    const char* caption;
};

constexpr Level Levels[] = {
    {"Others6", -6, "\u22126 dB"},
    {"Others12", -12, "\u221212 dB"},
    {"Others18", -18, "\u221218 dB"},
    {"OthersSilent", PracticeChoice::SilentDb, QT_TRANSLATE_NOOP("harmonet::TPracticeMenus", "&Silent")},
};

QAction* menuItem(QMenu* menu, const char* name, const QString& caption, int tag, bool checkable = true)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    action->setCheckable(checkable);
    setTag(action, tag);
    return action;
}

// A name for the menu: an ampersand is no mnemonic.
QString menuCaption(QString name)
{
    return name.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

// "MyPartTrack2" for a track that is one voice, "MyPartTrack2Voice1" and on
// for the voices that share a track.
QByteArray voiceItemName(const QList<TVoice>& voices, qsizetype voice)
{
    const int track = voices[voice].track;
    QByteArray name = "MyPartTrack" + QByteArray::number(track);
    const auto ofTrack = std::count_if(voices.begin(), voices.end(), [track](const TVoice& v) { return v.track == track; });
    if (ofTrack > 1) {
        const auto before = std::count_if(voices.begin(), voices.begin() + voice,
                                          [track](const TVoice& v) { return v.track == track; });
        name += "Voice" + QByteArray::number(qlonglong(before + 1));
    }
    return name;
}

// The levels offered lie on the menu's steps; another remembered level (a
// settings file edited by hand, say) shows as the nearest step.
int nearestLevel(int db)
{
    int nearest = Levels[0].db;
    for (const Level& level : Levels) {
        if (std::abs(level.db - db) < std::abs(nearest - db)) {
            nearest = level.db;
        }
    }
    return nearest;
}

} // namespace

TPracticeMenus::TPracticeMenus(TfrmMain& main, QMenu* fileMenu, QMenu* optionsMenu)
    : QObject(&main), m_main(main)
{
    setObjectName(QStringLiteral("PracticeMenus1"));

    // File: after Close, before the separator above Exit.
    ExportPracticeTracks1 = new QAction(tr("&Export Practice Tracks..."), fileMenu);
    ExportPracticeTracks1->setObjectName(QStringLiteral("ExportPracticeTracks1"));
    ExportPracticeTracks1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    ExportPracticeTracks1->setShortcutContext(Qt::WindowShortcut);
    setTag(ExportPracticeTracks1, 0);
    const QList<QAction*> fileItems = fileMenu->actions();
    const qsizetype exitAt = fileItems.indexOf(main.Exit1);
    QAction* before = exitAt > 0 && fileItems[exitAt - 1]->isSeparator() ? fileItems[exitAt - 1] : main.Exit1;
    fileMenu->insertAction(before, ExportPracticeTracks1);
    connect(ExportPracticeTracks1, &QAction::triggered, this, [this] { runGuarded([this] { exportPracticeTracks(); }); });

    optionsMenu->addSeparator();
    MyPart1 = optionsMenu->addMenu(tr("&My Part"));
    MyPart1->setObjectName(QStringLiteral("MyPart1"));
    MyPart1->menuAction()->setObjectName(QStringLiteral("MyPart1Item"));
    setTag(MyPart1->menuAction(), 0);
    m_partGroup = new QActionGroup(this);
    MyPartNone1 = menuItem(MyPart1, "MyPartNone1", tr("&None"), 1);
    m_partGroup->addAction(MyPartNone1);
    MyPartNone1->setChecked(true);
    connect(m_partGroup, &QActionGroup::triggered, this, [this](QAction* item) {
        runGuarded([this, item] {
            chooseVoice(item->data().isValid() ? item->data().toInt() : -1);
        });
    });

    Others1 = optionsMenu->addMenu(tr("O&thers"));
    Others1->setObjectName(QStringLiteral("Others1"));
    Others1->menuAction()->setObjectName(QStringLiteral("Others1Item"));
    setTag(Others1->menuAction(), 1);
    auto* levels = new QActionGroup(this);
    for (const Level& level : Levels) {
        QAction* item = menuItem(Others1, level.name, tr(level.caption), 1);
        item->setData(level.db);
        levels->addAction(item);
        m_levelItems.append(item);
    }
    connect(levels, &QActionGroup::triggered, this, [this](QAction* item) {
        runGuarded([this, item] {
            PracticeChoice choice = session().practiceChoice();
            choice.othersDb = item->data().toInt();
            choose(choice);
        });
    });
    // Beside the levels: my part left out, the others at their own level.
    Others1->addSeparator();
    WithoutMyPart1 = menuItem(Others1, "WithoutMyPart1", tr("&Without My Part"), 1);
    connect(WithoutMyPart1, &QAction::triggered, this, [this](bool without) {
        runGuarded([this, without] {
            PracticeChoice choice = session().practiceChoice();
            choice.withoutMyPart = without;
            choose(choice);
        });
    });

    Panned1 = menuItem(optionsMenu, "Panned1", tr("Pa&nned"), 1);
    auto* sides = new QActionGroup(this);
    PanLeft1 = menuItem(optionsMenu, "PanLeft1", tr("My Part on the &Left"), 1);
    PanRight1 = menuItem(optionsMenu, "PanRight1", tr("My Part on the &Right"), 1);
    sides->addAction(PanLeft1);
    sides->addAction(PanRight1);
    connect(Panned1, &QAction::triggered, this, [this](bool panned) {
        runGuarded([this, panned] {
            PracticeChoice choice = session().practiceChoice();
            choice.panned = panned;
            choose(choice);
        });
    });
    connect(sides, &QActionGroup::triggered, this, [this](QAction* item) {
        runGuarded([this, item] {
            PracticeChoice choice = session().practiceChoice();
            choice.side = item == PanRight1 ? PanSide::Right : PanSide::Left;
            choose(choice);
        });
    });

    // The right-click menu of the track panels (the instrument menu has the
    // panels' clicks while instruments are shown).
    pmTrackPanel = new QMenu(&main);
    pmTrackPanel->setObjectName(QStringLiteral("pmTrackPanel"));
    TrackPanelMyPart1 = menuItem(pmTrackPanel, "TrackPanelMyPart1", tr("&My Part"), 0);
    connect(pmTrackPanel, &QMenu::triggered, this, [this](QAction* item) {
        runGuarded([this, item] { chooseVoice(item->isChecked() ? item->data().toInt() : -1); });
    });
    // Where my part cannot be brought forward alone, the status bar says so.
    lblPartNotice = new QLabel(main.StatusBar1);
    lblPartNotice->setObjectName(QStringLiteral("lblPartNotice"));
    lblPartNotice->hide();
    main.StatusBar1->addWidget(lblPartNotice, 1);
    connect(&session(), &PlayingSession::partNoticeChanged, this, [this] {
        lblPartNotice->setText(session().partNotice());
        lblPartNotice->setVisible(!session().partNotice().isEmpty());
    });
    showChoice();
}

TPracticeMenus::~TPracticeMenus() = default;

PlayingSession& TPracticeMenus::session() const
{
    return m_main.session();
}

void TPracticeMenus::fileLoaded()
{
    if (!m_panelMenusBound) {
        m_panelMenusBound = true;
        for (TPanel* panel : std::as_const(m_main.TrackPanels)) {
            panel->setContextMenuPolicy(Qt::CustomContextMenu);
            connect(panel, &QWidget::customContextMenuRequested, this, [this, panel](const QPoint& pos) {
                runGuarded([this, panel, pos] { trackPanelMenu(panel, pos); });
            });
        }
    }
    m_songHash = TPracticeMemory::contentHash(session().song()->bytes());
    m_songShown = true;
    rebuildPartMenu();

    PracticeChoice choice = m_preference;
    choice.part = PracticeChoice::NoPart;
    if (const std::optional<PracticeChoice> remembered = m_memory.recall(m_main.CurrentFileName, m_songHash)) {
        choice = *remembered;
    }
    // A remembered part that is no voice of the file (it was edited) is forgotten.
    session().setPracticeChoice(choice);
    m_preference = session().practiceChoice();
    showChoice();
    m_main.showWordsOfMyPart();
}

void TPracticeMenus::fileClosed()
{
    // The channels get the file's own levels back before the next file plays.
    PracticeChoice none = session().practiceChoice();
    none.part = PracticeChoice::NoPart;
    session().setPracticeChoice(none);
    m_songShown = false;
    // An export dialog goes with its song; one still rendering finishes its
    // files first, and the next export opens a dialog of its own.
    if (m_exportDialog && !m_exportDialog->isRendering()) {
        m_exportDialog->close();
    } else if (m_exportDialog) {
        m_exportDialog->detachFromPlayer();
    }
    m_exportDialog = nullptr;
    m_songHash.clear();
    rebuildPartMenu();
    showChoice();
}

void TPracticeMenus::choose(const PracticeChoice& choice)
{
    const bool newPart = choice.part != session().practiceChoice().part;
    session().setPracticeChoice(choice);
    m_preference = choice;
    showChoice();
    if (newPart) {
        m_main.showWordsOfMyPart();
    }
    if (session().fileLoaded() && m_songShown) {
        m_memory.remember(m_main.CurrentFileName, m_songHash, choice);
    }
}

void TPracticeMenus::chooseVoice(int voice)
{
    PracticeChoice choice = session().practiceChoice();
    choice.part = voice >= 0 && voice < session().voices().size() ? session().voices()[voice].key()
                                                                   : PracticeChoice::NoPart;
    choose(choice);
}

void TPracticeMenus::rebuildPartMenu()
{
    for (QAction* item : m_partGroup->actions()) {
        if (item != MyPartNone1) {
            m_partGroup->removeAction(item);
            delete item;
        }
    }
    if (!m_songShown) {
        return;
    }
    const QList<TVoice>& voices = session().voices();
    for (qsizetype v = 0; v < voices.size(); ++v) {
        QAction* item = menuItem(MyPart1, voiceItemName(voices, v).constData(), menuCaption(voices[v].name), 0);
        item->setData(int(v));
        m_partGroup->addAction(item);
    }
}

void TPracticeMenus::showChoice()
{
    const PracticeChoice& choice = m_songShown ? session().practiceChoice() : m_preference;
    const int mine = m_songShown ? session().myVoiceIndex() : -1;
    for (QAction* item : m_partGroup->actions()) {
        item->setChecked((item->data().isValid() ? item->data().toInt() : -1) == mine);
    }
    const int level = choice.othersSilent() ? PracticeChoice::SilentDb : nearestLevel(choice.othersDb);
    for (QAction* item : m_levelItems) {
        item->setChecked(item->data().toInt() == level);
    }
    WithoutMyPart1->setChecked(choice.withoutMyPart);
    Panned1->setChecked(choice.panned);
    PanLeft1->setChecked(choice.side == PanSide::Left);
    PanRight1->setChecked(choice.side == PanSide::Right);
    PanLeft1->setEnabled(choice.panned);
    PanRight1->setEnabled(choice.panned);
    // My part's panel reads in bold.
    const TVoice* myVoice = m_songShown ? session().myVoice() : nullptr;
    for (TPanel* panel : std::as_const(m_main.TrackPanels)) {
        QFont font = panel->font();
        font.setBold(myVoice && !panel->isHidden() && tagOf(panel) == myVoice->track);
        panel->setFont(font);
    }
}

void TPracticeMenus::trackPanelMenu(TPanel* panel, const QPoint& pos)
{
    if (!m_songShown || m_main.cbInstruments->isChecked()) {
        return;
    }
    // One item for a track that is one voice, one for each where voices share it.
    qDeleteAll(m_panelVoiceItems);
    m_panelVoiceItems.clear();
    const int track = tagOf(panel).value_or(-1);
    const QList<TVoice>& voices = session().voices();
    QList<int> ofTrack;
    for (qsizetype v = 0; v < voices.size(); ++v) {
        if (voices[v].track == track) {
            ofTrack.append(int(v));
        }
    }
    TrackPanelMyPart1->setVisible(ofTrack.size() <= 1);
    TrackPanelMyPart1->setEnabled(ofTrack.size() == 1);
    TrackPanelMyPart1->setData(ofTrack.isEmpty() ? -1 : ofTrack.constFirst());
    TrackPanelMyPart1->setChecked(ofTrack.size() == 1 && session().myVoiceIndex() == ofTrack.constFirst());
    for (const int v : std::as_const(ofTrack)) {
        if (ofTrack.size() > 1) {
            const QByteArray name = "TrackPanel" + voiceItemName(voices, v);
            QAction* item = menuItem(pmTrackPanel, name.constData(), tr("My Part: %1").arg(menuCaption(voices[v].name)), 0);
            item->setData(v);
            item->setChecked(session().myVoiceIndex() == v);
            m_panelVoiceItems.append(item);
        }
    }
    pmTrackPanel->popup(panel->mapToGlobal(pos));
}

void TPracticeMenus::exportPracticeTracks()
{
    if (!session().fileLoaded() || !m_songShown) {
        return;
    }
    if (!m_exportDialog) {
        ExportRequest request;
        request.song = session().song();
        request.songName = songTitle(session().song()->file(), m_main.CurrentFileName);
        request.settings = session().settings();
        request.folder = QFileInfo(m_main.CurrentFileName).absolutePath();
        request.mix = session().practiceChoice();
        m_exportDialog = new TdlgExportPractice(request, [this] { return session().settings(); }, &m_main);
    }
    m_exportDialog->show();
    m_exportDialog->raise();
    m_exportDialog->activateWindow();
}

} // namespace harmonet
