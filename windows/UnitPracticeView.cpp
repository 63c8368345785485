#include "windows/UnitPracticeView.h"

#include "core/Color.h"
#include "persist/IniOut.h"
#include "sequencer/MidiFile.h"
#include "session/PlayingSession.h"
#include "windows/MainWindowLink.h"
#include "windows/SettingsItems.h"
#include "windows/WindowPlacement.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace harmonet {

namespace {

// While halted, the position changes only by a seek: a few looks a second find it.
constexpr int HaltedIntervalMs = 100;

QToolButton* zoomButton(QWidget* parent, const char* name, const QString& caption, const QString& hint)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setText(caption);
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    button->setFocusPolicy(Qt::StrongFocus);
    button->setAutoRepeat(true);
    return button;
}

} // namespace

TfrmPracticeView::TfrmPracticeView(QWidget* owner, IMainWindowLink& link)
    : QWidget(owner, Qt::Window)
    , m_link(link)
    , m_roll(new TPracticeRollView(this))
{
    setObjectName(QStringLiteral("frmPracticeView"));
    setWindowTitle(tr("Harmonet - Practice View"));
    resize(960, 420);

    cbOtherVoices = new QCheckBox(tr("&Other Voices"), this);
    cbOtherVoices->setObjectName(QStringLiteral("cbOtherVoices"));
    cbOtherVoices->setChecked(true);
    btnZoomOut = zoomButton(this, "btnZoomOut", QStringLiteral("\u2212"), tr("Zoom Out (-)"));
    btnZoomIn = zoomButton(this, "btnZoomIn", QStringLiteral("+"), tr("Zoom In (+)"));
    lblPart = new QLabel(this);
    lblPart->setObjectName(QStringLiteral("lblPart"));
    sbScroll = new QScrollBar(Qt::Horizontal, this);
    sbScroll->setObjectName(QStringLiteral("sbScroll"));
    sbScroll->setAccessibleName(tr("Scroll the roll"));

    auto* tools = new QHBoxLayout;
    tools->addWidget(cbOtherVoices);
    tools->addSpacing(12);
    tools->addWidget(btnZoomOut);
    tools->addWidget(btnZoomIn);
    tools->addSpacing(12);
    tools->addWidget(lblPart, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    layout->addLayout(tools);
    layout->addWidget(m_roll, 1);
    layout->addWidget(sbScroll);
    setTabOrder(m_roll, cbOtherVoices);
    setTabOrder(cbOtherVoices, btnZoomOut);
    setTabOrder(btnZoomOut, btnZoomIn);
    setTabOrder(btnZoomIn, sbScroll);

    connect(cbOtherVoices, &QCheckBox::toggled, m_roll, &TPracticeRollView::setShowOthers);
    connect(btnZoomOut, &QToolButton::clicked, m_roll, &TPracticeRollView::zoomOut);
    connect(btnZoomIn, &QToolButton::clicked, m_roll, &TPracticeRollView::zoomIn);
    connect(m_roll, &TPracticeRollView::zoomChanged, this, &TfrmPracticeView::updateScrollBar);
    connect(m_roll, &TPracticeRollView::leftTickChanged, this, &TfrmPracticeView::updateScrollBar);
    // Only the user moves the bar: the view's own updates block its signals.
    connect(sbScroll, &QScrollBar::valueChanged, this, [this](int value) {
        m_roll->setFollowing(false);
        m_roll->setLeftTick(value);
    });
    connect(m_roll, &TPracticeRollView::barClicked, this, [this](qint64 bar) {
        m_roll->setFollowing(true);
        emit barClicked(bar);
    });
    connect(m_roll, &TPracticeRollView::loopDragged, this, &TfrmPracticeView::loopDragged);
    m_roll->installEventFilter(this);

    m_frames.setObjectName(QStringLiteral("FrameTimer"));
    m_frames.setTimerType(Qt::PreciseTimer);
    m_frames.setInterval(HaltedIntervalMs);
    connect(&m_frames, &QTimer::timeout, this, &TfrmPracticeView::followPosition);

    IniOut1 = new TIniOut(this);
    IniOut1->setObjectName(QStringLiteral("IniOut1"));
    IniOut1->setItems(practiceViewFormSettingsItems());
    IniOut1->Load();
    centreUnlessOnScreen(*this);
    m_roll->setFocus();
}

TfrmPracticeView::~TfrmPracticeView()
{
    IniOut1->Save();
}

void TfrmPracticeView::SetShowOthers(bool show)
{
    cbOtherVoices->setChecked(show);
    m_roll->setShowOthers(show);
}

void TfrmPracticeView::setSong(TPracticeRoll roll, TBarMap bars, int ticksPerQuarter, const QString& partName)
{
    m_roll->setSong(std::move(roll), std::move(bars), ticksPerQuarter);
    m_roll->setHighlightColor(toQColor(m_link.lyricStripColors().highlight));
    lblPart->setText(partName.isEmpty() ? tr("My part: none chosen (Options > My Part)") : tr("My part: %1").arg(partName));
    updateScrollBar();
    followPosition();
}

void TfrmPracticeView::clearSong()
{
    setSong(TPracticeRoll(), TBarMap(), 480, QString());
    m_roll->setLoop(std::nullopt);
    m_roll->setPlayingTick(0.0);
}

void TfrmPracticeView::followPosition()
{
    PlayingSession& session = m_link.session();
    const TMidiFile& sequencer = session.sequencer();
    const bool playing = session.fileLoaded() && sequencer.IsPlaying();
    if (playing && !m_wasPlaying) {
        m_roll->setFollowing(true);
    }
    m_wasPlaying = playing;
    m_frames.setInterval(playing ? FrameIntervalMs : HaltedIntervalMs);
    m_roll->setPlayingTick(session.fileLoaded() ? sequencer.PositionNow() : 0.0);
}

void TfrmPracticeView::updateScrollBar()
{
    const QSignalBlocker blocker(sbScroll);
    // Ticks as the bar counts them, within its range also for the longest song.
    const auto bounded = [](double ticks) { return int(std::clamp(ticks, -1e9, 1e9)); };
    const int page = bounded(m_roll->visibleTicks());
    sbScroll->setRange(bounded(std::min(m_roll->leftTick(), 0.0)),
                       std::max(bounded(double(m_roll->roll().endTick()) - page / 2), 0));
    sbScroll->setPageStep(std::max(page, 1));
    sbScroll->setSingleStep(std::max(page / 8, 1));
    sbScroll->setValue(bounded(m_roll->leftTick()));
}

bool TfrmPracticeView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_roll) {
        if (event->type() == QEvent::Paint) {
            ++m_framesPainted;
        } else if (event->type() == QEvent::Resize) {
            updateScrollBar();
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmPracticeView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TfrmPracticeView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    m_roll->setHighlightColor(toQColor(m_link.lyricStripColors().highlight));
    followPosition();
    m_frames.start();
}

void TfrmPracticeView::hideEvent(QHideEvent* event)
{
    m_frames.stop();
    QWidget::hideEvent(event);
}

} // namespace harmonet
