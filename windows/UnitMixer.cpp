#include "windows/UnitMixer.h"

#include "core/ErrorReport.h"
#include "persist/IniOut.h"
#include "sequencer/MidiFile.h"
#include "sequencer/TrackMixValues.h"
#include "session/PlayingSession.h"
#include "windows/HelpViewer.h"
#include "windows/MainWindowLink.h"
#include "windows/SettingsItems.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QScrollBar>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>

namespace harmonet {

namespace {

constexpr int MaxValue = 127;
constexpr int EscapeCharacter = 27;
// Room the window keeps for its frame when it is made as wide as the screen.
constexpr int FrameAllowance = 16;

template <typename Control>
Control* columnControl(Control* control, const QString& name, int trackIndex, const QString& hint)
{
    control->setObjectName(name);
    control->setProperty("Tag", trackIndex);
    control->setToolTip(hint);
    return control;
}

QLabel* centredLabel(QWidget* panel, const QString& name, int trackIndex, const QString& caption,
                     const QString& hint, const QRect& place)
{
    auto* label = columnControl(new QLabel(caption, panel), name, trackIndex, hint);
    label->setAlignment(Qt::AlignCenter);
    label->setGeometry(place);
    return label;
}

QSlider* mixerSlider(QWidget* panel, Qt::Orientation orientation, const QString& name, int trackIndex,
                     const QString& hint, const QRect& place)
{
    auto* slider = columnControl(new QSlider(orientation, panel), name, trackIndex, hint);
    slider->setGeometry(place);
    slider->setRange(0, MaxValue);
    slider->setSingleStep(1);
    slider->setPageStep(12);
    slider->setTickInterval(32);
    return slider;
}

// The window's 8 point sans serif face, made smaller where the face at hand
// is too wide for "Balance" or "Volume" (in the language shown) to fit the column.
QFont captionFont()
{
    QFont font(QStringLiteral("MS Sans Serif"), 8);
    font.setStyleHint(QFont::SansSerif);
    const QStringList captions = {QCoreApplication::translate("harmonet::TfrmMixer", "Balance"),
                                  QCoreApplication::translate("harmonet::TfrmMixer", "Volume")};
    const auto fits = [&font](const QString& caption) {
        return QFontMetrics(font).horizontalAdvance(caption) <= TfrmMixer::ColumnWidth - 8;
    };
    for (int pixels = QFontMetrics(font).height(); pixels > 8; --pixels) {
        if (std::all_of(captions.cbegin(), captions.cend(), fits)) {
            break;
        }
        font.setPixelSize(pixels - 1);
    }
    return font;
}

QRect screenArea(const QWidget* window)
{
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect();
}

} // namespace

TfrmMixer::TfrmMixer(QWidget* owner, PlayingSession& session, IMainWindowLink& mainWindow)
    : QWidget(owner, Qt::Window | Qt::Tool | Qt::MSWindowsFixedSizeDialogHint)
    , m_session(session)
    , m_mainWindow(mainWindow)
    , m_scrollBox(new QScrollArea(this))
    , m_columns(new QWidget)
    , m_iniOut(new TIniOut(this))
{
    setObjectName(QStringLiteral("frmMixer"));
    setWindowTitle(tr("Harmonet - Mixer"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(captionFont());

    m_scrollBox->setObjectName(QStringLiteral("ScrollBox1"));
    // Tab goes from slider to slider; the sliders take the arrow keys themselves.
    m_scrollBox->setFocusPolicy(Qt::NoFocus);
    m_scrollBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scrollBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_scrollBox->setWidget(m_columns);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_scrollBox);

    m_iniOut->setObjectName(QStringLiteral("IniOut1"));
    m_iniOut->setItems(mixerFormSettingsItems());
    m_iniOut->Load();
    placeWindow();
}

TfrmMixer::~TfrmMixer()
{
    m_iniOut->Save();
    m_mainWindow.MixerWindowClosed(this);
}

void TfrmMixer::placeWindow()
{
    const QRect area = screenArea(this);
    const bool fits = Top() >= 0 && Left() >= 0 && Top() + Height() <= area.height()
        && Left() + Width() <= area.width();
    m_centred = !fits;
    if (m_centred) {
        move((area.width() - Width()) / 2, (area.height() - Height()) / 2);
    }
}

void TfrmMixer::showEvent(QShowEvent* event)
{
    if (!m_built) {
        m_built = true;
        buildColumns();
        fitToColumns();
    }
    QWidget::showEvent(event);
}

void TfrmMixer::buildColumns()
{
    int column = 0;
    for (int t = 0; t < m_session.sequencer().NumberOfTracks(); ++t) {
        if (m_session.sequencer().TrackAt(t)->CountChannelEvents() > 0) {
            addColumn(++column, t);
        }
    }
    m_columns->setFixedSize(ColumnWidth * column + 2, ColumnHeight + 2);

    // Tab runs down the columns in order: each volume, then its balance.
    for (qsizetype i = 0; i < m_volumeSliders.size(); ++i) {
        QWidget::setTabOrder(m_volumeSliders[i], m_balanceSliders[i]);
        if (i + 1 < m_volumeSliders.size()) {
            QWidget::setTabOrder(m_balanceSliders[i], m_volumeSliders[i + 1]);
        }
    }
    if (m_trackOneVolume) {
        m_trackOneVolume->setFocus();
    } else {
        // The window itself takes the focus, so that no slider is chosen for the user.
        setFocus();
    }
}

void TfrmMixer::addColumn(int column, int trackIndex)
{
    const TrackSettings& track = m_session.track(trackIndex);
    const QString hint = m_mainWindow.PanelCaption(trackIndex, m_mainWindow.ShowInstruments());
    const QString t = QString::number(trackIndex);

    auto* panel = columnControl(new QFrame(m_columns), QStringLiteral("pnlTrack") + t, trackIndex, hint);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setLineWidth(1);
    panel->setGeometry(ColumnWidth * column - 47, 1, ColumnWidth, ColumnHeight);

    // Names padded with blanks, as some files store them, are shown without the padding.
    const QString trackName = m_mainWindow.PanelCaption(trackIndex, false).trimmed();
    const QString name = trackName.isEmpty() ? tr("Track %1").arg(column) : trackName;
    // The name takes the panel's whole inner width, the most a long name can get.
    QLabel* nameLabel = centredLabel(panel, QStringLiteral("lblName") + t, trackIndex, QString(), name,
                                     QRect(1, 4, ColumnWidth - 2, 13));
    nameLabel->setText(nameLabel->fontMetrics().elidedText(name, Qt::ElideRight, nameLabel->width()));
    centredLabel(panel, QStringLiteral("lblBalance") + t, trackIndex, tr("Balance"), hint,
                 QRect(1, 19, ColumnWidth - 2, 13));
    centredLabel(panel, QStringLiteral("lblVolume") + t, trackIndex, tr("Volume"), hint,
                 QRect(1, 195, ColumnWidth - 2, 13));

    // The volume slider has its minimum at the top, so the top end is the
    // loudest; Up, Page Up and the wheel turned away make it louder.
    QSlider* volume = mixerSlider(panel, Qt::Vertical, QStringLiteral("tBarVolume") + t, trackIndex, hint,
                                  QRect(7, 57, 33, 136));
    volume->setInvertedAppearance(true);
    volume->setInvertedControls(true);
    volume->setTickPosition(QSlider::TicksBothSides);
    volume->setValue(MaxValue - track.volume);

    QSlider* balance = mixerSlider(panel, Qt::Horizontal, QStringLiteral("tBarBalance") + t, trackIndex, hint,
                                   QRect(4, 34, 41, 19));
    balance->setTickPosition(QSlider::TicksBelow);
    balance->setValue(track.pan);

    // Bound only now that the positions are set: building sends nothing.
    for (QSlider* slider : {volume, balance}) {
        slider->installEventFilter(this);
        connect(slider, &QSlider::valueChanged, this, [this, slider] { sliderChanged(slider); });
    }
    if (trackIndex == 1) {
        m_trackOneVolume = volume;
    }
    // Built while the window is being shown, after its other children were.
    panel->show();
    m_volumeSliders.append(volume);
    m_balanceSliders.append(balance);
}

void TfrmMixer::fitToColumns()
{
    const QRect area = screenArea(this);
    const int wanted = ColumnWidth * int(m_volumeSliders.size()) + 12;
    const int room = area.isValid() ? area.width() - FrameAllowance : wanted;
    const int frame = 2 * m_scrollBox->frameWidth();
    const bool scrolls = wanted > room;
    const int scrollBar = scrolls ? m_scrollBox->horizontalScrollBar()->sizeHint().height() : 0;
    setFixedSize(qMin(wanted, room), m_columns->height() + frame + scrollBar);
    if (m_centred) {
        move((area.width() - width()) / 2, (area.height() - height()) / 2);
    } else {
        // A loaded place that fitted the stored size keeps the new size on the screen too.
        move(qMin(Left(), area.width() - width()), qMin(Top(), area.height() - height()));
    }
}

int TfrmMixer::trackOf(const QSlider* slider) const
{
    return slider->property("Tag").toInt();
}

void TfrmMixer::sliderChanged(QSlider* slider)
{
    const bool isVolume = m_volumeSliders.contains(slider);
    if (runGuarded([this, slider, isVolume] { isVolume ? VolumeChange(slider) : BalanceChange(slider); })) {
        return;
    }
    // The value did not reach the output: the slider goes back to the track's.
    runGuarded([this, slider, isVolume] {
        const TrackSettings& track = m_session.track(trackOf(slider));
        const QSignalBlocker quiet(slider);
        slider->setValue(isVolume ? MaxValue - track.volume : track.pan);
    });
}

void TfrmMixer::VolumeChange(QSlider* slider)
{
    m_session.setTrackVolume(trackOf(slider), MaxValue - slider->value());
}

void TfrmMixer::BalanceChange(QSlider* slider)
{
    m_session.setTrackPan(trackOf(slider), slider->value());
}

void TfrmMixer::resetToFile(QSlider* slider)
{
    const TMidiTrack* track = m_session.sequencer().TrackAt(trackOf(slider));
    if (m_volumeSliders.contains(slider)) {
        slider->setValue(MaxValue - fileVolume(*track));
    } else {
        slider->setValue(filePan(*track));
    }
}

bool TfrmMixer::FormKeyPress(const QKeyEvent& key)
{
    if (key.key() == Qt::Key_F1) {
        // The help window belongs to the main window, so it outlives this one.
        showHelpContext(parentWidget() ? parentWidget() : this, HelpContext::TrackMixer);
        return true;
    }
    if (key.key() != Qt::Key_Escape && key.text() != QChar(EscapeCharacter)) {
        return false;
    }
    close();
    return true;
}

void TfrmMixer::keyPressEvent(QKeyEvent* event)
{
    if (!FormKeyPress(*event)) {
        QWidget::keyPressEvent(event);
    }
}

bool TfrmMixer::eventFilter(QObject* watched, QEvent* event)
{
    auto* slider = qobject_cast<QSlider*>(watched);
    if (slider && event->type() == QEvent::KeyPress) {
        return FormKeyPress(static_cast<QKeyEvent&>(*event));
    }
    if (slider && event->type() == QEvent::MouseButtonDblClick) {
        runGuarded([this, slider] { resetToFile(slider); });
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmMixer::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    if (event->isAccepted()) {
        m_mainWindow.MixerWindowClosed(this);
    }
}

} // namespace harmonet
