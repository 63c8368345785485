// The main window's controls and their places. Positions are client
// coordinates in pixels; every control carries its tag (1: usable without a
// file, 0: only with a file loaded).
#include "player/UnitMain.h"

#include "player/ControlTags.h"
#include "player/OpenDialog.h"
#include "player/Panel.h"
#include "player/RightAlignedLabel.h"
#include "player/TrackBar.h"
#include "player/ToolImages.h"
#include "widgets/ImageButton.h"
#include "widgets/TransportGlyphs.h"
#include "widgets/cmpTimeDisplay.h"

#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QSlider>
#include <QStatusBar>
#include <QTimer>
#include <algorithm>
#include <cmath>

namespace harmonet {

namespace {

constexpr int StatusBarHeight = 19;
constexpr int LyricsStripHeight = 32;
constexpr int MainPanelHeight = TfrmMain::ClientHeight - LyricsStripHeight - StatusBarHeight;
constexpr int WindStepIntervalMs = 16;
// The volume and tone sliders, their captions ending just before them.
constexpr int VolumeBarLeft = 259;
// The strip's text at its design height, and the space around its two parts.
constexpr int DesignStripFontSize = 13;
constexpr int StripBorder = 2;
constexpr int StripPartsHeightLoss = 5;
// The left part's share of the strip's inner width at the design size.
constexpr double StripSplitShare = 205.0 / 375.0;

template <typename Control>
Control* named(Control* control, const char* name, int tag)
{
    control->setObjectName(QLatin1String(name));
    setTag(control, tag);
    return control;
}

QLabel* label(QWidget* parent, const char* name, int tag, const QString& caption, int left, int top)
{
    auto* result = named(new QLabel(caption, parent), name, tag);
    result->adjustSize();
    result->move(left, top);
    return result;
}

// The label's text ends at right (just before the control it names), so a
// longer caption (another language's) grows to the left, not under it.
QLabel* endingAt(QLabel* label, int right)
{
    label->move(right - label->width(), label->y());
    return label;
}

// The label's text centred over a control whose middle is at centre.
QLabel* centredAt(QLabel* label, int centre)
{
    label->move(centre - label->width() / 2, label->y());
    return label;
}

// A volume or tone slider's caption, ending just before the slider.
QLabel* smallLabel(QWidget* parent, const char* name, const QString& caption, int top)
{
    QLabel* result = label(parent, name, 1, caption, 0, top);
    QFont font(QStringLiteral("Small Fonts"));
    font.setPixelSize(9);
    result->setFont(font);
    result->adjustSize();
    return endingAt(result, VolumeBarLeft - 1);
}

// A picture button; a toggle when its group index is not 0, which may be
// released again (every toggle of the window has a group of its own).
TImageButton* imageButton(QWidget* parent, const char* name, int tag, int groupIndex, const QRect& place,
                          const QString& hint, const QPixmap& glyph)
{
    auto* result = named(new TImageButton(parent), name, tag);
    result->setGeometry(place);
    result->setToolTip(hint);
    result->setGlyph(glyph);
    result->setGroupIndex(groupIndex);
    result->setAllowAllUp(groupIndex != 0);
    return result;
}

QSlider* slider(QWidget* parent, const char* name, int tag, const QRect& place, int minimum, int maximum, int step)
{
    auto* result = named(new QSlider(Qt::Horizontal, parent), name, tag);
    result->setGeometry(place);
    result->setRange(minimum, maximum);
    result->setSingleStep(step);
    result->setPageStep(step);
    return result;
}

// A slider the user moves in whole steps, usable only with a file loaded.
TTrackBar* trackBar(QWidget* parent, const char* name, const QRect& place, int minimum, int maximum, int step)
{
    auto* result = named(new TTrackBar(parent), name, 0);
    result->setGeometry(place);
    result->setRange(minimum, maximum);
    result->setSingleStep(step);
    result->setPageStep(step);
    return result;
}

QSlider* volumeBar(QWidget* parent, const char* name, int top)
{
    QSlider* result = slider(parent, name, 1, QRect(VolumeBarLeft, top, 99, 24), 0, 10, 1);
    result->setTickPosition(QSlider::TicksAbove);
    result->setTickInterval(1);
    return result;
}

QFont lyricsFont(bool bold, int pixels = DesignStripFontSize)
{
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

} // namespace

void TfrmMain::createComponents()
{
    OpenDialog1 = named(new TOpenDialog(this), "OpenDialog1", 0);
    Timer1 = named(new QTimer(this), "Timer1", 0);
    Timer1->setInterval(100);
    // A winding step every 16 ms, never sooner: 256 ms a step winds at 16 times real time.
    TimerFastForward = named(new QTimer(this), "TimerFastForward", 0);
    TimerFastForward->setInterval(WindStepIntervalMs);
    TimerFastForward->setTimerType(Qt::PreciseTimer);
    TimerRewind = named(new QTimer(this), "TimerRewind", 0);
    TimerRewind->setInterval(WindStepIntervalMs);
    TimerRewind->setTimerType(Qt::PreciseTimer);
}

void TfrmMain::createControls()
{
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    setCentralWidget(client);

    pnlMain = named(new TPanel(client), "pnlMain", 1);
    pnlMain->setGeometry(0, 0, ClientWidth, MainPanelHeight);

    btnLoad = named(new QPushButton(tr("Open MIDI File..."), pnlMain), "btnLoad", 1);
    btnLoad->setGeometry(227, 14, 145, 25);

    const QRect toolPlace(227, 128, 28, 25);
    using images::Tool;
    sbMixer = imageButton(pnlMain, "sbMixer", 0, 0, toolPlace, tr("Track Mixer"), images::tool(Tool::Mixer));
    sbViewLyrics = imageButton(pnlMain, "sbViewLyrics", 0, 0, toolPlace.translated(28, 0), tr("View Lyrics"),
                               images::tool(Tool::Lyrics));
    sbClose = imageButton(pnlMain, "sbClose", 0, 0, toolPlace.translated(56, 0), tr("Close File"),
                          images::tool(Tool::CloseFile));
    sbSettings = imageButton(pnlMain, "sbSettings", 1, 0, toolPlace.translated(84, 0), tr("Settings"),
                             images::tool(Tool::Settings));
    sbHelp = imageButton(pnlMain, "sbHelp", 1, 0, toolPlace.translated(112, 0), tr("Help"),
                         images::tool(Tool::Help));

    // The window's cancel button: outside the visible area, it only gives Escape its meaning.
    btnClose = named(new QPushButton(tr("Close"), pnlMain), "btnClose", 1);
    btnClose->setGeometry(ClientWidth + 20, 0, 75, 25);
    btnClose->setShortcut(QKeySequence(Qt::Key_Escape));
    btnClose->setFocusPolicy(Qt::NoFocus);

    createTrackPanels();
    createTransportControls();
    createTempoControls();
    createVolumeControls();
    createLyricsStrip();
    createStatusBar();
}

void TfrmMain::createTrackPanels()
{
    ScrollBox1 = named(new QScrollArea(pnlMain), "ScrollBox1", 0);
    ScrollBox1->setGeometry(7, 8, 209, 137);
    ScrollBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ScrollBox1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto* range = new QWidget;
    range->setObjectName(QStringLiteral("ScrollBox1Range"));
    range->setFixedSize(186, 353);
    ScrollBox1->setWidget(range);

    for (int n = 1; n <= TrackPanelCount; ++n) {
        auto* panel = new TPanel(range);
        panel->setObjectName(QStringLiteral("TrackPanel%1").arg(n));
        setTag(panel, 0);
        panel->setGeometry(0, 22 * (n - 1), 185, 22);
        panel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        panel->setIndent(4);
        panel->setCaption(tr("Track %1").arg(n));

        // Two buttons at the panel's right end, sharing a border; a caption
        // longer than the 37 pixels they have in English widens its button.
        const auto buttonWidth = [panel](const QString& caption) {
            return std::max(37, panel->fontMetrics().horizontalAdvance(caption) + 4);
        };
        const int muteWidth = buttonWidth(tr("Mute"));
        const int lyricsWidth = buttonWidth(tr("Lyrics"));
        const int muteLeft = 183 - muteWidth;

        auto* lyricsButton = new TPanel(panel);
        lyricsButton->setObjectName(QStringLiteral("pLyrics%1").arg(n));
        setTag(lyricsButton, 0);
        lyricsButton->setGeometry(muteLeft + 1 - lyricsWidth, 2, lyricsWidth, 18);
        lyricsButton->setAlignment(Qt::AlignCenter);
        lyricsButton->setCaption(tr("Lyrics"));

        auto* muteButton = new TPanel(panel);
        muteButton->setObjectName(QStringLiteral("pnlMute%1").arg(n));
        setTag(muteButton, 0);
        muteButton->setGeometry(muteLeft, 2, muteWidth, 18);
        muteButton->setAlignment(Qt::AlignCenter);
        muteButton->setCaption(tr("Mute"));
    }

    cbInstruments = named(new QCheckBox(tr("Show Instruments"), pnlMain), "cbInstruments", 0);
    cbInstruments->setGeometry(7, 147, std::max(140, cbInstruments->sizeHint().width()), 17);
}

void TfrmMain::createTransportControls()
{
    btnPlay = imageButton(pnlMain, "btnPlay", 0, 1, QRect(227, 55, 28, 25), tr("Play"), glyphs::play(false));
    btnRewind = imageButton(pnlMain, "btnRewind", 0, 0, QRect(255, 55, 28, 25), tr("Rewind"),
                            glyphs::rewind(false));
    btnRewind->setNumGlyphs(2);
    btnFastForward = imageButton(pnlMain, "btnFastForward", 0, 0, QRect(283, 55, 28, 25),
                                 tr("Fast Forward"), glyphs::fastForward(false));
    btnFastForward->setNumGlyphs(2);
    btnStop = imageButton(pnlMain, "btnStop", 0, 0, QRect(311, 55, 28, 25), tr("Stop"), glyphs::stop(false));
    btnPause = imageButton(pnlMain, "btnPause", 0, 2, QRect(339, 55, 28, 25), tr("Pause"),
                           glyphs::pause(false));

    TimeDisplay1 = named(new TTimeDisplay(pnlMain), "TimeDisplay1", 0);
    TimeDisplay1->setGeometry(265, 94, 75, 16);
    lblTime = endingAt(label(pnlMain, "lblTime", 0, tr("Time "), 0, 95), TimeDisplay1->x() - 1);
    TimeDisplay1->setParentFont(false);
    TimeDisplay1->setParentColor(false);
    TimeDisplay1->setBevelInner(controls::bvSpace);
    TimeDisplay1->setBevelOuter(controls::bvLowered);
    TimeDisplay1->setBorderStyle(controls::bsSingle);
    TimeDisplay1->setAlignment(controls::taRightJustify);
    QFont timeFont(QStringLiteral("MS Sans Serif"));
    timeFont.setPixelSize(11);
    timeFont.setBold(true);
    TimeDisplay1->setDisplayFont(timeFont);
    TimeDisplay1->setFontColor(clLime);
    TimeDisplay1->setColor(clBlack);
    TimeDisplay1->setTime(0);

    sbTimeDown = imageButton(pnlMain, "sbTimeDown", 0, 3, QRect(341, 94, 15, 16), tr("Count Up / Count Down"),
                             glyphs::countArrow(true));
    sbTimeDown->setFlat(true);

    tbPosition = trackBar(pnlMain, "tbPosition", QRect(7, 178, 215, 30), 0, 100, 10);
    Label1 = centredAt(label(pnlMain, "Label1", 0, tr("Position "), 0, 167), tbPosition->geometry().center().x());
    tbPosition->setToolTip(FormatPosition(0));
}

void TfrmMain::createTempoControls()
{
    tbTempo = trackBar(pnlMain, "tbTempo", QRect(7, 231, 215, 29), 1, 200, 10);
    lblTempo = centredAt(label(pnlMain, "lblTempo", 0, tr("Tempo (bpm)"), 0, 217), tbTempo->geometry().center().x());
    tbTempo->setValue(1);
    lblTempoLow = label(pnlMain, "lblTempoLow", 0, QStringLiteral("1"), 14, 261);
    lblTempoMid = label(pnlMain, "lblTempoMid", 0, QStringLiteral("100"), 106, 261);
    lblTempoHigh = label(pnlMain, "lblTempoHigh", 0, QStringLiteral("200"), 203, 261);
    lblTempoPercent = label(pnlMain, "lblTempoPercent", 0, tr("%1 %").arg(100), 165, 217);
}

void TfrmMain::createVolumeControls()
{
    // The flat "M" toggle right of a volume bar that mutes its line.
    const auto muteButton = [this](const char* name, int groupIndex, int top, const QString& hint) {
        const QRect place(357, top, 15, 16);
        TImageButton* button = imageButton(pnlMain, name, 1, groupIndex, place, hint,
                                           images::caption(QStringLiteral("M"), place.size()));
        button->setFlat(true);
        return button;
    };

    lblMasterV = smallLabel(pnlMain, "lblMasterV", tr("Master "), 184);
    tbMasterV = volumeBar(pnlMain, "tbMasterV", 175);
    sbMasterMute = muteButton("sbMasterMute", 4, 183, tr("Mute Master"));

    lblMidiV = smallLabel(pnlMain, "lblMidiV", tr("Midi "), 210);
    tbMidiV = volumeBar(pnlMain, "tbMidiV", 200);
    sbMidiMute = muteButton("sbMidiMute", 5, 208, tr("Mute Midi"));

    lblTreble = smallLabel(pnlMain, "lblTreble", tr("Treble"), 235);
    tbTreble = volumeBar(pnlMain, "tbTreble", 225);
    lblBass = smallLabel(pnlMain, "lblBass", tr("Bass "), 259);
    tbBass = volumeBar(pnlMain, "tbBass", 250);
}

void TfrmMain::createLyricsStrip()
{
    pnlScrollingLyrics = named(new TPanel(centralWidget()), "pnlScrollingLyrics", 1);
    pnlScrollingLyrics->setGeometry(0, MainPanelHeight, ClientWidth, LyricsStripHeight);
    pnlScrollingLyrics->setBevel(TPanel::Bevel::Lowered);

    pnlLyrics = named(new TPanel(pnlScrollingLyrics), "pnlLyrics", 1);
    pnlLyrics->setGeometry(2, 2, 205, 27);
    pnlLyrics->setBevel(TPanel::Bevel::None);
    pnlLyrics->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    pnlLyrics->setFont(lyricsFont(false));
    pnlLyrics->setTextColor(Qt::black);

    // The highlighted syllable: over the end of pnlLyrics's text, in the
    // panel's background colour so that it hides the plain characters beneath.
    lblLyrics = named(new TRightAlignedLabel(pnlLyrics, pnlLyrics->width(), 5), "lblLyrics", 1);
    lblLyrics->setFont(lyricsFont(true));
    lblLyrics->setAutoFillBackground(true);
    QPalette highlight = lblLyrics->palette();
    highlight.setColor(QPalette::WindowText, Qt::red);
    lblLyrics->setPalette(highlight);
    lblLyrics->setCaption(QStringLiteral("     "));

    pnlLyrics2 = named(new TPanel(pnlScrollingLyrics), "pnlLyrics2", 1);
    pnlLyrics2->setGeometry(207, 2, 168, 27);
    pnlLyrics2->setBevel(TPanel::Bevel::None);
    pnlLyrics2->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    pnlLyrics2->setFont(lyricsFont(false));
    pnlLyrics2->setTextColor(Qt::black);
}

void TfrmMain::createStatusBar()
{
    StatusBar1 = named(new QStatusBar(this), "StatusBar1", 1);
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->setFixedHeight(StatusBarHeight);
    lblStatusText = new QLabel(StatusBar1);
    lblStatusText->setObjectName(QStringLiteral("lblStatusText"));
    // A long file name is cut off rather than pushing the notices on the right out of sight.
    lblStatusText->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    StatusBar1->addWidget(lblStatusText, 1);
    lblOutputNotice = new QLabel(StatusBar1);
    lblOutputNotice->setObjectName(QStringLiteral("lblOutputNotice"));
    lblOutputNotice->setStyleSheet(QStringLiteral("QLabel { color: #A00000; }"));
    lblOutputNotice->hide();
    StatusBar1->addPermanentWidget(lblOutputNotice);
    createTempoNotice();
    createSettingsNotice();
    setStatusBar(StatusBar1);
    setStatusText(tr("No MIDI File Loaded"));
}

void TfrmMain::fixClientSize()
{
    centralWidget()->installEventFilter(this);
    fitWindowToStrip();
    resize(minimumSize());
}

int TfrmMain::stripMinimumHeight() const
{
    // The design height holds the design size; a larger text takes its share more.
    return std::max(LyricsStripHeight,
                    int(std::ceil(double(m_stripFontSize) * LyricsStripHeight / DesignStripFontSize)));
}

void TfrmMain::fitWindowToStrip()
{
    const bool visible = ScrollingLyrics1 == nullptr || ScrollingLyrics1->isChecked();
    const int clientHeight = MainPanelHeight + (visible ? stripMinimumHeight() : 0);
    const int chrome = menuBar()->sizeHint().height() + StatusBarHeight;
    centralWidget()->setMinimumSize(ClientWidth, clientHeight);
    setMinimumSize(ClientWidth, chrome + clientHeight);
    if (visible) {
        // The window may be enlarged: the strip takes the height gained.
        centralWidget()->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    } else {
        centralWidget()->setMaximumHeight(clientHeight);
        setMaximumHeight(chrome + clientHeight);
    }
    FullHeight = chrome + MainPanelHeight + stripMinimumHeight();
}

void TfrmMain::layOutClient()
{
    const QSize client = centralWidget()->size();
    // The controls keep their places, in the middle of a wider window.
    pnlMain->move(std::max((client.width() - ClientWidth) / 2, 0), 0);
    const int stripHeight = std::max(client.height() - MainPanelHeight, stripMinimumHeight());
    pnlScrollingLyrics->setGeometry(0, MainPanelHeight, client.width(), stripHeight);

    const int inner = client.width() - 2 * StripBorder;
    const int split = StripBorder + int(std::lround(inner * StripSplitShare));
    const int partHeight = stripHeight - StripPartsHeightLoss;
    pnlLyrics->setGeometry(StripBorder, StripBorder, split - StripBorder, partHeight);
    pnlLyrics2->setGeometry(split, StripBorder, client.width() - 2 * StripBorder - split, partHeight);
    // The text grows with the strip, from the chosen size at its smallest.
    const int pixels = std::max(m_stripFontSize, stripHeight * m_stripFontSize / stripMinimumHeight());
    if (pnlLyrics->font().pixelSize() != pixels) {
        pnlLyrics->setFont(lyricsFont(false, pixels));
        pnlLyrics2->setFont(lyricsFont(false, pixels));
        lblLyrics->setFont(lyricsFont(true, pixels));
    }
    lblLyrics->setRightEdge(pnlLyrics->width());
    lblLyrics->move(lblLyrics->x(), std::max((partHeight - lblLyrics->height()) / 2, 0));
}

void TfrmMain::setLyricStripFontSize(int pixels)
{
    m_stripFontSize = std::max(pixels, 1);
    const bool atSmallest = height() <= FullHeight;
    fitWindowToStrip();
    if (atSmallest || height() < minimumHeight()) {
        resize(width(), minimumHeight());
    }
    layOutClient();
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == centralWidget() && event->type() == QEvent::Resize) {
        layOutClient();
    }
    return QMainWindow::eventFilter(watched, event);
}

QString TfrmMain::statusText() const
{
    return lblStatusText->text();
}

void TfrmMain::setStatusText(const QString& text)
{
    lblStatusText->setText(text);
}

} // namespace harmonet
