// Singing along: the Practice menu, a pass from start to score, the notice
// about the microphone, and the export of the take.
#include "player/SingAlong.h"

#include "core/ErrorReport.h"
#include "player/ControlTags.h"
#include "player/UnitMain.h"
#include "practice/PracticeMemory.h"
#include "sequencer/MidiFile.h"
#include "session/PlayingSession.h"
#include "session/Song.h"
#include "midiout/MidiOut.h"
#include "singing/LatencyCalibration.h"
#include "singing/PitchLine.h"
#include "singing/SingAlongPass.h"
#include "singing/TakeMix.h"
#include "singing/TakePlayer.h"
#include "windows/PracticeRollView.h"
#include "windows/SingResults.h"
#include "windows/UnitPracticeView.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QThread>
#include <QTimer>

#include <cmath>

namespace harmonet {

namespace {
// How often the pass looks whether playing stopped.
constexpr int WatchMs = 100;
// A playing time this far off the one the pass began with was moved (a seek,
// a loop's jump back, a new tempo): the take's timeline ends there.
constexpr double JumpMs = 250.0;
// Until a latency is set for a microphone, none is assumed.
constexpr int UnmeasuredLatencyMs = 0;
} // namespace

TSingAlong::TSingAlong(TfrmMain& main, QMenuBar* bar)
    : QObject(&main)
    , m_main(main)
    , m_watch(new QTimer(this))
{
    setObjectName(QStringLiteral("SingAlongMenus1"));
    Practice1 = bar->addMenu(tr("&Practice"));
    Practice1->setObjectName(QStringLiteral("Practice1"));
    SingAlong1 = Practice1->addAction(tr("&Sing Along"));
    SingAlong1->setObjectName(QStringLiteral("SingAlong1"));
    SingAlong1->setShortcut(QKeySequence(Qt::Key_V));
    setTag(SingAlong1, 0);
    PlayTake1 = Practice1->addAction(tr("Play &Take"));
    PlayTake1->setObjectName(QStringLiteral("PlayTake1"));
    PlayTake1->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_V));
    PlayTake1->setEnabled(false);
    TakeWithPartMuted1 = Practice1->addAction(tr("Take with My Part &Muted"));
    TakeWithPartMuted1->setObjectName(QStringLiteral("TakeWithPartMuted1"));
    TakeWithPartMuted1->setCheckable(true);
    TakeWithPartMuted1->setChecked(true);
    setTag(TakeWithPartMuted1, 1);
    connect(PlayTake1, &QAction::triggered, this, [this] { runGuarded([this] { playTake(); }); });
    ExportTake1 = Practice1->addAction(tr("E&xport Take..."));
    ExportTake1->setObjectName(QStringLiteral("ExportTake1"));
    ExportTake1->setEnabled(false);
    CalibrateLatency1 = Practice1->addAction(tr("&Calibrate Latency"));
    CalibrateLatency1->setObjectName(QStringLiteral("CalibrateLatency1"));
    setTag(CalibrateLatency1, 1);
    connect(CalibrateLatency1, &QAction::triggered, this, [this] { runGuarded([this] { calibrateLatency(); }); });
    Latency1 = Practice1->addAction(tr("Microphone &Latency..."));
    Latency1->setObjectName(QStringLiteral("Latency1"));
    setTag(Latency1, 1);
    connect(SingAlong1, &QAction::triggered, this, [this] { runGuarded([this] { singAlong(); }); });
    connect(ExportTake1, &QAction::triggered, this, [this] { runGuarded([this] { exportTake(); }); });
    connect(Latency1, &QAction::triggered, this, [this] { runGuarded([this] { setLatency(); }); });

    lblSingNotice = new QLabel(&main);
    lblSingNotice->setObjectName(QStringLiteral("lblSingNotice"));
    lblSingNotice->setWordWrap(true);
    lblSingNotice->hide();
    main.StatusBar1->addWidget(lblSingNotice, 1);

    m_watch->setInterval(WatchMs);
    connect(m_watch, &QTimer::timeout, this, [this] {
        runGuarded([this] {
            const TMidiFile& sequencer = session().sequencer();
            const double expectedMs =
                m_fromMs + std::chrono::duration<double, std::milli>(SingAlongPass::Clock::now() - m_steadyFrom).count();
            const bool moved = !playingTake() && std::abs(sequencer.CurrentTime() - expectedMs) > JumpMs;
            if (sequencer.IsPlaying() && !moved) {
                m_lastMs = sequencer.CurrentTime();
            } else if (playingTake()) {
                stopTake();
            } else {
                finishPass();
            }
        });
    });
}

TSingAlong::~TSingAlong() = default;

PlayingSession& TSingAlong::session() const
{
    return m_main.session();
}

bool TSingAlong::singing() const
{
    return m_watch->isActive() && !playingTake();
}

bool TSingAlong::playingTake() const
{
    return m_takePlayer != nullptr;
}

void TSingAlong::showNotice(const QString& notice)
{
    lblSingNotice->setText(notice);
    lblSingNotice->setToolTip(notice);
    lblSingNotice->setVisible(!notice.isEmpty());
}

void TSingAlong::singAlong()
{
    if (!session().fileLoaded() || singing()) {
        return;
    }
    stopTake();
    const TVoice* voice = session().myVoice();
    if (!voice) {
        QMessageBox::information(&m_main, tr("Sing Along"),
                                 tr("Choose your part first (Options > My Part): singing along scores the notes of "
                                    "your part."));
        return;
    }
    showNotice(QString());
    TMidiFile& sequencer = session().sequencer();
    m_targets = partTargets(sequencer, *voice);
    // She sings what sounds: the notes as transposed.
    for (TargetNote& target : m_targets) {
        target.key += session().transpose();
    }
    m_bpm = sequencer.Bpm();
    if (!sequencer.IsPlaying()) {
        m_main.btnPlayClick();
    }
    m_fromMs = sequencer.CurrentTime();
    m_lastMs = m_fromMs;
    const auto steady = sequencer.SteadyTimeAt(sequencer.CurrentTime());
    m_pass = std::make_unique<SingAlongPass>();
    connect(m_pass.get(), &SingAlongPass::captureLost, this, [this](const QString& notice) { showNotice(notice); });
    if (TfrmPracticeView* view = m_main.PracticeViewWindow()) {
        view->roll()->clearSungLine();
    }
    connect(m_pass.get(), &SingAlongPass::framesHeard, this,
            [this](const std::vector<PitchFrame>& frames) { drawSungPitch(frames); });
    if (!steady || !m_pass->start(m_fromMs, *steady, UnmeasuredLatencyMs)) {
        showNotice(m_pass->notice());
        m_pass.reset();
        return;
    }
    m_steadyFrom = *steady;
    m_device = m_pass->sourceName();
    m_pass->setLatencyMs(m_memory.latencyMs(m_device).value_or(UnmeasuredLatencyMs));
    m_watch->start();
}

void TSingAlong::drawSungPitch(const std::vector<PitchFrame>& frames)
{
    TfrmPracticeView* view = m_main.PracticeViewWindow();
    if (!view) {
        return;
    }
    const TMidiFile& sequencer = session().sequencer();
    std::vector<TSungPoint> points;
    for (const PitchLinePoint& point : pitchLine(frames, m_targets)) {
        const auto tick = double(sequencer.TicksAtMs(int(std::lround(point.ms))));
        // Keys as they sound, where the view draws the notes.
        points.push_back({tick, point.key, TSungPoint::Band(int(point.band)), point.octaves});
    }
    view->roll()->addSungPoints(points);
}

void TSingAlong::finishPass()
{
    m_watch->stop();
    if (!m_pass) {
        return;
    }
    m_pass->stop();
    const std::vector<NoteResult> results = m_pass->score(m_targets, m_fromMs, m_lastMs);
    const TakeSummary summary = summarize(results);
    ExportTake1->setEnabled(true);
    PlayTake1->setEnabled(true);

    const QString hash = TPracticeMemory::contentHash(session().song()->bytes());
    if (!results.empty()) {
        PassRecord pass;
        pass.when = QDateTime::currentDateTimeUtc();
        pass.fromBar = results.front().note.bar;
        pass.toBar = results.back().note.bar;
        pass.bpm = m_bpm;
        pass.notes = summary.notes;
        pass.withinTolerance = summary.withinTolerance;
        pass.late = summary.late;
        pass.meanAbsCents = summary.meanAbsCents;
        m_memory.addPass(m_main.CurrentFileName, hash, pass);
    }
    if (!m_results) {
        m_results = new TfrmSingResults(&m_main);
        connect(m_results, &TfrmSingResults::loopBarRequested, this, [this](qint64 bar) {
            runGuarded([this, bar] {
                if (session().fileLoaded()) {
                    session().setLoop(bar, bar);
                    m_main.playFromBar(bar);
                }
            });
        });
    }
    m_results->showPass(results, summary, m_memory.passes(m_main.CurrentFileName, hash));
    m_results->show();
    m_results->raise();
}

void TSingAlong::exportTake()
{
    if (!m_pass || !session().fileLoaded()) {
        return;
    }
    const QString path = QFileDialog::getSaveFileName(
        &m_main, tr("Export Take"),
        QFileInfo(m_main.CurrentFileName).completeBaseName() + tr(" - my take") + QStringLiteral(".wav"),
        tr("Audio files (*.wav *.flac *.ogg *.mp3)"));
    if (path.isEmpty()) {
        return;
    }
    TakeWithSong take;
    take.song = session().song();
    take.settings = session().settings();
    take.choice = session().practiceChoice();
    take.part = TakeWithPartMuted1->isChecked() ? PartBesideTake::Muted : PartBesideTake::Emphasised;
    take.take = m_pass->take();
    take.sampleRate = SingAlongPass::SampleRate;
    take.takeStartMs = m_pass->takeStartMs();
    const AudioFormat format = formatFromName(path).value_or(AudioFormat::Wav);
    // Rendered on a thread of its own; the window stays usable meanwhile.
    QThread* worker = QThread::create([this, take = std::move(take), path, format] {
        QString failure;
        try {
            AudioTags tags;
            tags.title = QFileInfo(path).completeBaseName();
            harmonet::exportTake(take, path, format, tags);
        } catch (const std::exception& error) {
            failure = QString::fromUtf8(error.what());
        }
        QMetaObject::invokeMethod(this, [this, failure, path] {
            showNotice(failure.isEmpty() ? tr("Take written to %1").arg(QDir::toNativeSeparators(path)) : failure);
        });
    });
    connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    ExportTake1->setEnabled(false);
    connect(worker, &QThread::finished, this, [this] { ExportTake1->setEnabled(m_pass != nullptr); });
    worker->start();
}

void TSingAlong::playTake()
{
    if (!m_pass || !session().fileLoaded() || singing()) {
        return;
    }
    stopTake();
    const int part = session().practiceChoice().part.track;
    if (TakeWithPartMuted1->isChecked() && part >= 0 && part < session().trackCount() && !session().track(part).muted) {
        session().setMuted(part, true);
        session().gateway().silenceTrack(part);
        m_mutedForTake = part;
    }
    TMidiFile& sequencer = session().sequencer();
    if (!sequencer.IsPlaying()) {
        m_main.btnPlayClick();
    }
    const auto steady = sequencer.SteadyTimeAt(sequencer.CurrentTime());
    const double firstSample =
        (sequencer.CurrentTime() - m_pass->takeStartMs()) * SingAlongPass::SampleRate / 1000.0;
    m_takePlayer = std::make_unique<TakePlayer>();
    const auto take = std::make_shared<const std::vector<float>>(m_pass->take());
    if (!steady || !m_takePlayer->play(take, SingAlongPass::SampleRate, qint64(std::llround(firstSample)), *steady)) {
        showNotice(tr("The take cannot be played (%1); the song plays on.").arg(m_takePlayer->why()));
        m_takePlayer.reset();
        return;
    }
    m_watch->start();
}

void TSingAlong::stopTake()
{
    if (!m_takePlayer) {
        return;
    }
    m_takePlayer->stop();
    m_takePlayer.reset();
    m_watch->stop();
    if (m_mutedForTake >= 0 && m_mutedForTake < session().trackCount()) {
        session().setMuted(m_mutedForTake, false);
    }
    m_mutedForTake = -1;
}

void TSingAlong::setLatency()
{
    bool ok = false;
    const int ms = QInputDialog::getInt(
        &m_main, tr("Microphone Latency"),
        tr("Milliseconds from a note leaving the speakers to your voice reaching the program:"),
        m_memory.latencyMs(m_device).value_or(UnmeasuredLatencyMs), 0, TSingingMemory::LongestLatencyMs, 10, &ok);
    if (ok) {
        m_memory.rememberLatency(m_device, ms);
    }
}

void TSingAlong::calibrateLatency()
{
    if (calibrating() || singing()) {
        return;
    }
    if (!m_main.session().outputOpen()) {
        QMessageBox::information(&m_main, tr("Calibrate Latency"),
                                 tr("No output is open to play the clicks through; choose one in the settings."));
        return;
    }
    showNotice(tr("Calibrating: keep quiet while %n clicks play...", nullptr, CalibrationPlan::Clicks));
    const auto start = SingAlongPass::Clock::now();
    m_calibration = std::make_unique<SingAlongPass>();
    if (!m_calibration->start(0.0, start, 0.0)) {
        showNotice(m_calibration->notice());
        m_calibration.reset();
        return;
    }
    // A hi wood block on the percussion channel: short, with a sharp start.
    constexpr quint8 Percussion = 0x09;
    constexpr quint8 WoodBlock = 76;
    for (const double ms : CalibrationPlan::clickTimes()) {
        const auto at = start + std::chrono::microseconds(qint64(ms * 1000.0));
        m_main.MidiOutput1->SendShort(0x90 | Percussion, WoodBlock, 127, at);
        m_main.MidiOutput1->SendShort(0x80 | Percussion, WoodBlock, 0, at + std::chrono::milliseconds(100));
    }
    QTimer::singleShot(int(CalibrationPlan::lengthMs()), this, [this] { runGuarded([this] { finishCalibration(); }); });
}

void TSingAlong::finishCalibration()
{
    if (!m_calibration) {
        return;
    }
    m_calibration->stop();
    const std::vector<float> recording = m_calibration->take();
    const double recordingStartMs = m_calibration->takeStartMs();
    const QString device = m_calibration->sourceName();
    const bool lost = m_calibration->problem() != CaptureProblem::None;
    m_calibration.reset();
    std::vector<double> played = CalibrationPlan::clickTimes();
    for (double& ms : played) {
        ms -= recordingStartMs;
    }
    const std::optional<double> latency =
        lost ? std::nullopt : measuredLatencyMs(recording, SingAlongPass::SampleRate, played);
    if (latency) {
        m_device = device;
        m_memory.rememberLatency(device, int(std::lround(*latency)));
        showNotice(tr("Latency of the microphone: %1 ms").arg(std::lround(*latency)));
        return;
    }
    showNotice(tr("The clicks were not heard in the microphone (headphones?): set the latency by hand."));
    m_device = device;
    setLatency();
}

void TSingAlong::fileChanged()
{
    // The track muted for the take was the song's before.
    m_mutedForTake = -1;
    stopTake();
    m_watch->stop();
    if (m_pass) {
        m_pass->stop();
    }
    m_pass.reset();
    m_targets.clear();
    ExportTake1->setEnabled(false);
    PlayTake1->setEnabled(false);
}

} // namespace harmonet
