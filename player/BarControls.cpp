// Bars on the main window: the read-out in bars and beats, going to a bar,
// a bar back and on, the start of the phrase, the loop and the upbeat.
#include "player/BarControls.h"

#include "core/ErrorReport.h"
#include "player/ControlTags.h"
#include "player/MenuItems.h"
#include "player/TrackBar.h"
#include "player/UnitMain.h"
#include "practice/VoiceModel.h"
#include "sequencer/MidiFile.h"
#include "sequencer/PhraseStart.h"
#include "session/PlayingSession.h"
#include "session/Song.h"
#include "widgets/cmpTimeDisplay.h"
#include "windows/GoToBar.h"

#include <QAction>
#include <QActionGroup>
#include <QInputDialog>
#include <QMenu>
#include <QScopeGuard>

#include <algorithm>

namespace harmonet {

namespace {

struct ReadOutName {
    TTimeDisplay::Shows shows;
    const char* text;
};

constexpr ReadOutName ReadOutNames[] = {
    {TTimeDisplay::Shows::Time, "Time"},
    {TTimeDisplay::Shows::Bars, "Bars"},
    {TTimeDisplay::Shows::Both, "Both"},
};

} // namespace

TBarControls::TBarControls(TfrmMain& main, QMenu* controlsMenu, QMenu* optionsMenu) : QObject(&main), m_main(main)
{
    setObjectName(QStringLiteral("BarControls1"));
    const auto bind = [this](QAction* action, void (TBarControls::*handler)()) {
        connect(action, &QAction::triggered, this, [this, handler] { runGuarded([this, handler] { (this->*handler)(); }); });
    };

    controlsMenu->addSeparator();
    GoToBar1 = addMenuItem(controlsMenu, "GoToBar1", 0, tr("&Go to Bar..."), QKeySequence(Qt::CTRL | Qt::Key_G));
    BarBack1 = addMenuItem(controlsMenu, "BarBack1", 0, tr("Bar &Back"), QKeySequence(Qt::Key_Comma));
    BarOn1 = addMenuItem(controlsMenu, "BarOn1", 0, tr("Bar &On"), QKeySequence(Qt::Key_Period));
    PhraseStart1 = addMenuItem(controlsMenu, "PhraseStart1", 0, tr("Start of P&hrase"), QKeySequence(Qt::Key_Backspace));
    controlsMenu->addSeparator();
    LoopStart1 = addMenuItem(controlsMenu, "LoopStart1", 0, tr("Loop &Starts Here"), QKeySequence(Qt::Key_BracketLeft));
    LoopEnd1 = addMenuItem(controlsMenu, "LoopEnd1", 0, tr("Loop &Ends Here"), QKeySequence(Qt::Key_BracketRight));
    ClearLoop1 = addMenuItem(controlsMenu, "ClearLoop1", 0, tr("&Clear Loop"), QKeySequence(Qt::Key_Backslash));
    bind(GoToBar1, &TBarControls::openGoToBar);
    bind(BarBack1, &TBarControls::barBack);
    bind(BarOn1, &TBarControls::barOn);
    bind(PhraseStart1, &TBarControls::phraseStart);
    bind(LoopStart1, &TBarControls::loopStartHere);
    bind(LoopEnd1, &TBarControls::loopEndHere);
    bind(ClearLoop1, &TBarControls::clearLoop);

    Upbeat1 = addMenuItem(optionsMenu, "Upbeat1", 0, tr("&Upbeat..."), {});
    bind(Upbeat1, &TBarControls::askPickup);

    pmTimeDisplay = new QMenu(&main);
    pmTimeDisplay->setObjectName(QStringLiteral("pmTimeDisplay"));
    auto* shows = new QActionGroup(this);
    ShowTime1 = addMenuItem(pmTimeDisplay, "ShowTime1", 1, tr("&Time"), {});
    ShowBars1 = addMenuItem(pmTimeDisplay, "ShowBars1", 1, tr("&Bar and Beat"), {});
    ShowBoth1 = addMenuItem(pmTimeDisplay, "ShowBoth1", 1, tr("B&oth"), {});
    for (QAction* item : {ShowTime1, ShowBars1, ShowBoth1}) {
        item->setCheckable(true);
        shows->addAction(item);
    }
    ShowTime1->setChecked(true);
    connect(shows, &QActionGroup::triggered, this, [this](QAction* item) {
        setReadOut(item == ShowBars1 ? QStringLiteral("Bars") : item == ShowBoth1 ? QStringLiteral("Both") : QStringLiteral("Time"));
    });
    TTimeDisplay* display = main.TimeDisplay1;
    display->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(display, &QWidget::customContextMenuRequested, this,
            [this, display](const QPoint& pos) { pmTimeDisplay->popup(display->mapToGlobal(pos)); });

    connect(&main.session(), &PlayingSession::loopChanged, this, [this] { runGuarded([this] { loopChanged(); }); });
}

PlayingSession& TBarControls::session() const
{
    return m_main.session();
}

QString TBarControls::readOut() const
{
    for (const ReadOutName& name : ReadOutNames) {
        if (name.shows == m_main.TimeDisplay1->shows()) {
            return QLatin1String(name.text);
        }
    }
    return QStringLiteral("Time");
}

void TBarControls::setReadOut(const QString& text)
{
    // A value the settings file was edited to that names no choice shows the time.
    TTimeDisplay::Shows shows = TTimeDisplay::Shows::Time;
    for (const ReadOutName& name : ReadOutNames) {
        if (text.compare(QLatin1String(name.text), Qt::CaseInsensitive) == 0) {
            shows = name.shows;
        }
    }
    m_main.TimeDisplay1->setShows(shows);
    ShowTime1->setChecked(shows == TTimeDisplay::Shows::Time);
    ShowBars1->setChecked(shows == TTimeDisplay::Shows::Bars);
    ShowBoth1->setChecked(shows == TTimeDisplay::Shows::Both);
}

void TBarControls::fileLoaded()
{
    m_songHash = TPracticeMemory::contentHash(session().song()->bytes());
    m_restoring = true;
    const auto restored = qScopeGuard([this] { m_restoring = false; });
    const std::optional<double> pickup = m_memory.recallPickupBeats(m_main.CurrentFileName, m_songHash);
    session().setPickupBeats(pickup && *pickup > 0.0 ? pickup : std::nullopt);
    if (const std::optional<BarLoop> loop = m_memory.recallLoop(m_main.CurrentFileName, m_songHash)) {
        session().setLoop(loop->firstBar, loop->lastBar, loop->passes);
    }
    showPlace(m_main.tbPosition->value());
}

void TBarControls::fileClosed()
{
    m_songHash.clear();
    m_main.TimeDisplay1->setBarBeat(QString());
    static_cast<TTrackBar*>(m_main.tbPosition)->setMarkedSpan(std::nullopt);
}

void TBarControls::showPlace(int ms)
{
    if (!session().fileLoaded() || session().bars().IsEmpty()) {
        m_main.TimeDisplay1->setBarBeat(QString());
        return;
    }
    const double ticks = ms == m_main.MidiFile1->CurrentTime() ? m_main.MidiFile1->CurrentPos()
                                                                : double(m_main.MidiFile1->TicksAtMs(ms));
    m_main.TimeDisplay1->setBarBeat(barBeatText(session().bars().BarAtTicks(ticks)));
    static_cast<TTrackBar*>(m_main.tbPosition)->setMarkedSpan(session().loopSpanMs());
}

void TBarControls::loopChanged()
{
    const std::optional<BarLoop>& loop = session().loop();
    static_cast<TTrackBar*>(m_main.tbPosition)->setMarkedSpan(session().loopSpanMs());
    m_main.TimeDisplay1->setToolTip(
        loop ? tr("Loop: bars %1 to %2").arg(loop->firstBar).arg(loop->lastBar) : QString());
    if (!m_restoring && !m_songHash.isEmpty()) {
        m_memory.rememberLoop(m_main.CurrentFileName, m_songHash, loop);
    }
}

void TBarControls::goToBar(qint64 bar)
{
    if (session().fileLoaded()) {
        const TBarMap& bars = session().bars();
        m_main.jumpToTicks(bars.TicksOfBar(std::clamp(bar, bars.FirstBar(), bars.LastBar())));
    }
}

void TBarControls::barBack()
{
    goToBar(session().barPosition().Bar - 1);
}

void TBarControls::barOn()
{
    goToBar(session().barPosition().Bar + 1);
}

int TBarControls::phraseTrack() const
{
    const TMidiFile& song = session().sequencer();
    if (session().practiceChoice().hasPart()) {
        return session().practiceChoice().part.track;
    }
    if (m_main.LyricTrack >= 0 && m_main.LyricTrack < song.NumberOfTracks()
        && !notesOfTrack(*song.TrackAt(m_main.LyricTrack)).empty()) {
        return m_main.LyricTrack;
    }
    const QList<TVoice>& voices = session().voices();
    return voices.isEmpty() ? -1 : voices.front().track;
}

void TBarControls::phraseStart()
{
    const int track = phraseTrack();
    if (!session().fileLoaded() || track < 0 || track >= session().sequencer().NumberOfTracks()) {
        return;
    }
    const std::vector<TNoteSpan> notes = notesOfTrack(*session().sequencer().TrackAt(track));
    const TBarMap& bars = session().bars();
    const double here = session().sequencer().CurrentPos();
    std::optional<qint64> start = phraseStartBefore(notes, here, bars);
    // Pressed again right at a phrase's start: the phrase before it.
    if (start && here - double(*start) < bars.BeatTicksAt(here) / 2) {
        start = phraseStartBefore(notes, double(*start), bars).value_or(*start);
    }
    if (start) {
        m_main.jumpToTicks(double(*start));
    }
}

void TBarControls::loopStartHere()
{
    if (!session().fileLoaded()) {
        return;
    }
    const std::optional<BarLoop>& loop = session().loop();
    session().setLoop(session().barPosition().Bar, loop ? loop->lastBar : session().bars().LastBar(),
                      loop ? loop->passes : 0);
}

void TBarControls::loopEndHere()
{
    if (!session().fileLoaded()) {
        return;
    }
    const std::optional<BarLoop>& loop = session().loop();
    session().setLoop(loop ? loop->firstBar : session().bars().FirstBar(), session().barPosition().Bar,
                      loop ? loop->passes : 0);
}

void TBarControls::clearLoop()
{
    session().clearLoop();
}

void TBarControls::openGoToBar()
{
    if (!session().fileLoaded()) {
        return;
    }
    const TBarMap& bars = session().bars();
    TdlgGoToBar dialog(bars.FirstBar(), bars.LastBar(), session().barPosition().Bar, session().loop(), &m_main);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    if (const std::optional<BarLoop> loop = dialog.loop()) {
        session().setLoop(loop->firstBar, loop->lastBar, loop->passes);
    } else {
        session().clearLoop();
    }
    goToBar(dialog.bar());
}

void TBarControls::askPickup()
{
    if (!session().fileLoaded()) {
        return;
    }
    bool ok = false;
    const double beats = QInputDialog::getDouble(&m_main, tr("Upbeat"), tr("Beats before bar 1 (0: none):"),
                                                 session().pickupBeats().value_or(0.0), 0.0,
                                                 TPracticeMemory::LongestPickupBeats, 2, &ok);
    if (ok) {
        setPickup(beats);
    }
}

void TBarControls::setPickup(double beats)
{
    session().setPickupBeats(beats > 0.0 ? std::optional<double>(beats) : std::nullopt);
    if (!m_songHash.isEmpty()) {
        m_memory.rememberPickupBeats(m_main.CurrentFileName, m_songHash, beats);
    }
    showPlace(m_main.tbPosition->value());
    // The view numbers its bars anew.
    m_main.refreshPracticeView();
}

} // namespace harmonet
