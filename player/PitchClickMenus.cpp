// Pitch, tempo steps and clicks: the menu items of the main window that set
// them on the playing session, and their memory per file.
#include "player/PitchClickMenus.h"

#include "core/ErrorReport.h"
#include "player/ControlTags.h"
#include "player/MenuItems.h"
#include "player/UnitMain.h"
#include "practice/Transposition.h"
#include "sequencer/MidiFile.h"
#include "sequencer/TempoPercent.h"
#include "session/PlayingSession.h"
#include "session/Song.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QMenu>
#include <QScopeGuard>
#include <QSlider>

#include <algorithm>
#include <cmath>

namespace harmonet {

namespace {

struct ClickLevel {
    const char* name;
    const char* caption;
    int level;
};

constexpr ClickLevel Levels[] = {
    {"ClickLevelSoft1", QT_TRANSLATE_NOOP("harmonet::TPitchClickMenus", "&Soft"), 60},
    {"ClickLevelMedium1", QT_TRANSLATE_NOOP("harmonet::TPitchClickMenus", "&Medium"), 100},
    {"ClickLevelLoud1", QT_TRANSLATE_NOOP("harmonet::TPitchClickMenus", "&Loud"), ClickSettings::LoudestLevel},
};

QMenu* subMenu(QMenu* menu, const char* name, const QString& caption, int tag)
{
    QMenu* sub = menu->addMenu(caption);
    sub->setObjectName(QLatin1String(name));
    sub->menuAction()->setObjectName(QLatin1String(name) + QStringLiteral("Item"));
    setTag(sub->menuAction(), tag);
    return sub;
}

// A semitone count as the menu shows it: "+2", "0", "\u22123".
QString signedSemitones(int semitones)
{
    if (semitones > 0) {
        return QStringLiteral("+%1").arg(semitones);
    }
    return semitones < 0 ? QStringLiteral("\u2212%1").arg(-semitones) : QStringLiteral("0");
}

} // namespace

TPitchClickMenus::TPitchClickMenus(TfrmMain& main, QMenu* controlsMenu, QMenu* optionsMenu)
    : QObject(&main), m_main(main)
{
    setObjectName(QStringLiteral("PitchClickMenus1"));

    controlsMenu->addSeparator();
    GiveMyNote1 = addMenuItem(controlsMenu, "GiveMyNote1", 0, tr("Give Me My &Note"), QKeySequence(Qt::Key_N));
    connect(GiveMyNote1, &QAction::triggered, this, [this] { runGuarded([this] { giveMyNote(); }); });
    Faster1 = addMenuItem(controlsMenu, "Faster1", 0, tr("Fas&ter"), QKeySequence(Qt::Key_T));
    Slower1 = addMenuItem(controlsMenu, "Slower1", 0, tr("Slo&wer"), QKeySequence(Qt::SHIFT | Qt::Key_T));
    connect(Faster1, &QAction::triggered, this, [this] { runGuarded([this] { stepTempo(1); }); });
    connect(Slower1, &QAction::triggered, this, [this] { runGuarded([this] { stepTempo(-1); }); });

    optionsMenu->addSeparator();
    Transpose1 = subMenu(optionsMenu, "Transpose1", QString(), 0);
    TransposeUp1 = addMenuItem(Transpose1, "TransposeUp1", 0, tr("&Up a Semitone"), QKeySequence(Qt::CTRL | Qt::Key_Up));
    TransposeDown1 =
        addMenuItem(Transpose1, "TransposeDown1", 0, tr("&Down a Semitone"), QKeySequence(Qt::CTRL | Qt::Key_Down));
    TransposeReset1 = addMenuItem(Transpose1, "TransposeReset1", 0, tr("&Original Pitch"), QKeySequence(Qt::CTRL | Qt::Key_0));
    connect(TransposeUp1, &QAction::triggered, this, [this] { runGuarded([this] { setTranspose(session().transpose() + 1); }); });
    connect(TransposeDown1, &QAction::triggered, this,
            [this] { runGuarded([this] { setTranspose(session().transpose() - 1); }); });
    connect(TransposeReset1, &QAction::triggered, this, [this] { runGuarded([this] { setTranspose(0); }); });

    CountIn1 = subMenu(optionsMenu, "CountIn1", tr("&Count-In"), 1);
    auto* bars = new QActionGroup(this);
    const QString captions[] = {tr("&None"), tr("&1 Bar"), tr("&2 Bars")};
    for (int count = 0; count <= ClickSettings::MostCountInBars; ++count) {
        const QByteArray name = "CountInBars" + QByteArray::number(count);
        QAction* item = addMenuItem(CountIn1, name.constData(), 1, captions[count]);
        item->setCheckable(true);
        item->setData(count);
        bars->addAction(item);
        CountInBars.append(item);
    }
    connect(bars, &QActionGroup::triggered, this,
            [this](QAction* item) { runGuarded([this, item] { setCountInBars(item->data().toInt()); }); });
    CountIn1->addSeparator();
    NextCountIn1 = addMenuItem(CountIn1, "NextCountIn1", 1, tr("Ne&xt Count-In"), QKeySequence(Qt::Key_K));
    connect(NextCountIn1, &QAction::triggered, this, [this] {
        runGuarded([this] { setCountInBars((session().clicks().countInBars + 1) % (ClickSettings::MostCountInBars + 1)); });
    });
    CountInEachPass1 = addClickSwitch(CountIn1, "CountInEachPass1", tr("Before Each &Pass of the Loop"), {},
                                      &ClickSettings::beforeEachPass);

    Metronome1 = addClickSwitch(optionsMenu, "Metronome1", tr("M&etronome"), QKeySequence(Qt::Key_M),
                                &ClickSettings::metronome);
    ClickLevel1 = subMenu(optionsMenu, "ClickLevel1", tr("C&lick Level"), 1);
    auto* levels = new QActionGroup(this);
    for (const ClickLevel& level : Levels) {
        QAction* item = addMenuItem(ClickLevel1, level.name, 1, tr(level.caption));
        item->setCheckable(true);
        item->setData(level.level);
        levels->addAction(item);
        ClickLevels.append(item);
    }
    connect(levels, &QActionGroup::triggered, this, [this](QAction* item) {
        runGuarded([this, item] {
            ClickSettings clicks = session().clicks();
            clicks.level = item->data().toInt();
            setClicks(clicks);
        });
    });
    ClicksToPorts1 = addClickSwitch(ClickLevel1, "ClicksToPorts1", tr("Clicks to System &Ports"), {},
                                    &ClickSettings::onSystemPorts);
    // The clicks as they were last chosen; the count-in is each file's own.
    if (std::optional<ClickSettings> clicks = m_memory.recallClicks()) {
        clicks->countInBars = 0;
        session().setClicks(*clicks);
    }
    show();
}

QAction* TPitchClickMenus::addClickSwitch(QMenu* menu, const char* name, const QString& caption,
                                          const QKeySequence& key, bool ClickSettings::*choice)
{
    QAction* item = addMenuItem(menu, name, 1, caption, key);
    item->setCheckable(true);
    connect(item, &QAction::triggered, this, [this, choice](bool on) {
        runGuarded([this, choice, on] {
            ClickSettings clicks = session().clicks();
            clicks.*choice = on;
            setClicks(clicks);
        });
    });
    return item;
}

PlayingSession& TPitchClickMenus::session() const
{
    return m_main.session();
}

void TPitchClickMenus::fileLoaded()
{
    m_songHash = TPracticeMemory::contentHash(session().song()->bytes());
    const std::optional<TPlayingValues> values = m_memory.recallPlaying(m_main.CurrentFileName, m_songHash);
    m_recalling = true;
    const auto done = qScopeGuard([this] { m_recalling = false; });
    // A file played for the first time: at its own pitch and tempo, counted
    // in as the last one was.
    session().setTranspose(values ? values->transpose : 0);
    if (values) {
        ClickSettings clicks = session().clicks();
        clicks.countInBars = values->countInBars;
        session().setClicks(clicks);
        if (values->bpm > 0 && values->bpm != session().sequencer().Bpm()) {
            m_main.setTempo(values->bpm);
        }
    }
    show();
}

void TPitchClickMenus::fileClosed()
{
    m_songHash.clear();
    show();
}

void TPitchClickMenus::tempoChanged()
{
    remember();
}

void TPitchClickMenus::setTranspose(int semitones)
{
    session().setTranspose(semitones);
    remember();
    show();
}

void TPitchClickMenus::setCountInBars(int bars)
{
    ClickSettings clicks = session().clicks();
    clicks.countInBars = bars;
    setClicks(clicks);
    remember();
}

void TPitchClickMenus::setClicks(const ClickSettings& clicks)
{
    session().setClicks(clicks);
    m_memory.rememberClicks(clicks);
    show();
}

void TPitchClickMenus::giveMyNote()
{
    if (!session().giveMyNote(session().sequencer().CurrentTime())) {
        // No part chosen, or none of its notes lies ahead.
        QApplication::beep();
    }
}

void TPitchClickMenus::stepTempo(int direction)
{
    const int own = m_main.FileBpm;
    const int now = session().sequencer().Bpm();
    if (own <= 0) {
        return;
    }
    // To the next whole step of the song's own tempo: 80 % goes to 85 %, 83 % too.
    const double share = 100.0 * now / own / TempoStepPercent;
    int percent = TempoStepPercent * int(direction > 0 ? std::floor(share + 1e-9) + 1 : std::ceil(share - 1e-9) - 1);
    int bpm = bpmAtPercent(percent, own);
    // A step that rounds to the same whole bpm (a slow song) goes on to the next.
    while (bpm == now && percent > LowestTempoPercent && percent < HighestTempoPercent) {
        percent += direction * TempoStepPercent;
        bpm = bpmAtPercent(percent, own);
    }
    bpm = std::clamp(bpm, m_main.tbTempo->minimum(), m_main.tbTempo->maximum());
    if (bpm != now) {
        m_main.setTempo(bpm);
    }
}

void TPitchClickMenus::remember()
{
    if (m_recalling || m_songHash.isEmpty() || !session().fileLoaded()) {
        return;
    }
    const int bpm = session().sequencer().Bpm();
    const TPlayingValues values{bpm == m_main.FileBpm ? 0 : bpm, session().transpose(), session().clicks().countInBars};
    m_memory.rememberPlaying(m_main.CurrentFileName, m_songHash, values);
}

void TPitchClickMenus::show()
{
    const int semitones = session().transpose();
    Transpose1->setTitle(tr("&Transpose (%1)").arg(signedSemitones(semitones)));
    TransposeUp1->setEnabled(semitones < TTransposition::Highest);
    TransposeDown1->setEnabled(semitones > TTransposition::Lowest);
    const ClickSettings& clicks = session().clicks();
    for (QAction* item : std::as_const(CountInBars)) {
        item->setChecked(item->data().toInt() == clicks.countInBars);
    }
    CountInEachPass1->setChecked(clicks.beforeEachPass);
    Metronome1->setChecked(clicks.metronome);
    for (QAction* item : std::as_const(ClickLevels)) {
        item->setChecked(item->data().toInt() == clicks.level);
    }
    ClicksToPorts1->setChecked(clicks.onSystemPorts);
}

} // namespace harmonet
