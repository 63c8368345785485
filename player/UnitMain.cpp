// The life of the main window: creation, first showing, closing and
// destruction, the binding table of its handlers, and the walk over its
// components that enables the controls a loaded file needs.
#include "player/UnitMain.h"

#include "core/ErrorReport.h"
#include "midiout/MidiOut.h"
#include "mixer/cmpMidiMixer.h"
#include "persist/IniOut.h"
#include "windows/SettingsItems.h"
#include "player/ControlTags.h"
#include "player/Panel.h"
#include "player/TrackBar.h"
#include "sequencer/MidiFile.h"
#include "session/PlayingSession.h"
#include "windows/HelpViewer.h"
#include "windows/InstrumentMenu.h"
#include "widgets/ImageButton.h"
#include "widgets/TransportGlyphs.h"
#include "windows/UnitAbout.h"
#include "windows/UnitLyrics.h"
#include "windows/UnitPracticeView.h"
#include "windows/UnitSettings.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSlider>
#include <QTextEdit>
#include <QTimer>

namespace harmonet {

TfrmMain::TfrmMain(QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                              | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint
                              | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(tr("Harmonet - MIDI Player"));

    m_session = new PlayingSession(this);
    m_session->setObjectName(QStringLiteral("Session1"));
    MidiFile1 = &m_session->sequencer();
    MidiOutput1 = new TMidiOutput(this);
    MidiOutput1->setObjectName(QStringLiteral("MidiOutput1"));
    m_session->setOutput(MidiOutput1);
    MidiMixer1 = new TMidiMixer(this);
    MidiMixer1->setObjectName(QStringLiteral("MidiMixer1"));
    IniOut1 = new TIniOut(this);
    IniOut1->setObjectName(QStringLiteral("IniOut1"));
    IniOut1->setItems(mainFormSettingsItems());

    createComponents();
    createControls();
    createMenus();
    fixClientSize();
    bindHandlers();
    openMixerWhileLoading();
    setupKeyboardAccess();

    // The program's folder is the current folder and the first one the open
    // dialog offers; the folder the program was started in still resolves
    // relative paths of the command line.
    m_startDir = QDir::currentPath();
    LastDir = QDir(QCoreApplication::applicationDirPath()).absolutePath();
    if (!QDir::setCurrent(LastDir)) {
        LastDir = QDir::rootPath();
    }
    setAcceptDrops(true);

    IniOut1->Load();
    sbTimeDown->setGlyph(glyphs::countArrow(!sbTimeDown->isDown()));
    placeWindow();

    LoadRecentFiles();
    LyricTrack = 1;
    InstrumentPanel = nullptr;
    FullHeight = height();
    WireInstrumentMenu();
    InitializeControls(false);
}

TfrmMain::~TfrmMain()
{
    // The view keeps its settings while the session it shows is still there.
    delete m_practiceView;
    destroyMixerWindows();
    runGuarded([this] { CloseMidiOutput(); });
    IniOut1->Save();
}

void TfrmMain::placeWindow()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) {
        return;
    }
    const QSize area = screen->geometry().size();
    const bool offScreen = Top() < 0 || Left() < 0 || Top() + height() > area.height()
        || Left() + width() > area.width();
    if (offScreen) {
        move((area.width() - width()) / 2, (area.height() - height()) / 2);
    }
}

void TfrmMain::guarded(const std::function<void()>& handler)
{
    runGuarded(handler);
}

void TfrmMain::bindHandlers()
{
    auto bindClick = [this](QObject* sender, void (TfrmMain::*handler)()) {
        auto run = [this, handler] { guarded([this, handler] { (this->*handler)(); }); };
        if (auto* action = qobject_cast<QAction*>(sender)) {
            connect(action, &QAction::triggered, this, run);
        } else if (auto* button = qobject_cast<QAbstractButton*>(sender)) {
            connect(button, &QAbstractButton::clicked, this, run);
        } else if (auto* imageButton = qobject_cast<TImageButton*>(sender)) {
            connect(imageButton, &TImageButton::clicked, this, run);
        }
    };
    auto popupItem = [](QMenu* menu, const char* name) { return menu->findChild<QAction*>(QLatin1String(name)); };

    bindClick(btnLoad, &TfrmMain::btnLoadClick);
    bindClick(Open1, &TfrmMain::btnLoadClick);
    bindClick(sbClose, &TfrmMain::sbCloseClick);
    bindClick(Close1, &TfrmMain::sbCloseClick);
    bindClick(Exit1, &TfrmMain::ExitClick);
    bindClick(btnClose, &TfrmMain::ExitClick);
    bindClick(sbViewLyrics, &TfrmMain::sbViewLyricsClick);
    bindClick(Lyrics1, &TfrmMain::sbViewLyricsClick);
    bindClick(popupItem(pmScrollingLyrics, "ViewFullLyrics1"), &TfrmMain::sbViewLyricsClick);
    bindClick(sbSettings, &TfrmMain::sbSettingsClick);
    bindClick(Settings1, &TfrmMain::sbSettingsClick);
    // Also when the stored setting is restored.
    connect(FollowTempoChanges1, &QAction::toggled, this, [this] { guarded([this] { FollowTempoChanges1Click(); }); });
    bindClick(popupItem(pmScrollingLyrics, "EditLyricColors1"), &TfrmMain::sbSettingsClick);
    bindClick(sbHelp, &TfrmMain::sbHelpClick);
    bindClick(HarmonetHelp1, &TfrmMain::sbHelpClick);
    bindClick(About1, &TfrmMain::About1Click);
    bindClick(cbInstruments, &TfrmMain::cbInstrumentsClick);
    bindClick(Instruments1, &TfrmMain::Instruments1Click);
    bindClick(ScrollingLyrics1, &TfrmMain::ScrollingLyrics1Click);
    bindClick(sbMixer, &TfrmMain::sbMixerClick);
    bindClick(TrackMixer1, &TfrmMain::sbMixerClick);
    bindClick(PracticeView1, &TfrmMain::PracticeView1Click);

    connect(pmReopen, &QMenu::aboutToShow, this, [this] { guarded([this] { pmReopenPopup(); }); });
    connect(pmPosition, &QMenu::aboutToShow, this, [this] { guarded([this] { pmPositionPopup(); }); });
    for (int verse = 1; verse <= 6; ++verse) {
        QAction* item = popupItem(pmPosition, QByteArray("Verse" + QByteArray::number(verse)).constData());
        connect(item, &QAction::triggered, this, [this, verse] { guarded([this, verse] { VerseClick(verse); }); });
    }
    bindPositionOnChange();
    connect(static_cast<TTrackBar*>(tbPosition), &TTrackBar::changed, this,
            [this] { guarded([this] { tbPositionChanged(); }); });

    bindClick(btnPlay, &TfrmMain::playPressed);
    bindClick(Play1, &TfrmMain::playPressed);
    bindClick(btnStop, &TfrmMain::btnStopClick);
    bindClick(Stop1, &TfrmMain::btnStopClick);
    connect(btnPause, &TImageButton::clicked, this, [this] { guarded([this] { btnPauseClick(true); }); });
    connect(Pause1, &QAction::triggered, this, [this] { guarded([this] { btnPauseClick(false); }); });
    connect(btnStop, &TImageButton::mouseDown, this, [this] { guarded([this] { btnStopMouseDown(); }); });
    connect(btnStop, &TImageButton::mouseUp, this, [this] { guarded([this] { btnStopMouseUp(); }); });
    bindClick(sbTimeDown, &TfrmMain::sbTimeDownClick);
    connect(Timer1, &QTimer::timeout, this, [this] { guarded([this] { Timer1Timer(); }); });
    connect(btnFastForward, &TImageButton::mouseDown, this, [this] { guarded([this] { btnFastForwardMouseDown(); }); });
    connect(btnFastForward, &TImageButton::mouseUp, this, [this] { guarded([this] { btnFastForwardMouseUp(); }); });
    connect(TimerFastForward, &QTimer::timeout, this, [this] { guarded([this] { TimerFastForwardTimer(); }); });
    bindClick(FastForward1, &TfrmMain::FastForward1Click);
    connect(btnRewind, &TImageButton::mouseDown, this, [this] { guarded([this] { btnRewindMouseDown(); }); });
    connect(btnRewind, &TImageButton::mouseUp, this, [this] { guarded([this] { btnRewindMouseUp(); }); });
    connect(TimerRewind, &QTimer::timeout, this, [this] { guarded([this] { TimerRewindTimer(); }); });
    bindClick(Rewind1, &TfrmMain::Rewind1Click);

    auto* tempo = static_cast<TTrackBar*>(tbTempo);
    connect(tempo, &TTrackBar::changed, this, [this] { guarded([this] { tbTempoChanged(); }); });
    connect(tempo, &TTrackBar::keyDown, this, [this](QKeyEvent* key) { guarded([this, key] { tbTempoKeyDown(*key); }); });
    bindClick(popupItem(pmTempo, "Reset1"), &TfrmMain::Reset1Click);
    for (int preset : {60, 80, 100, 120, 140}) {
        QAction* item = popupItem(pmTempo, QByteArray("N" + QByteArray::number(preset) + "1").constData());
        connect(item, &QAction::triggered, this, [this, preset] { guarded([this, preset] { setTempo(preset); }); });
    }
    for (int percent : TempoPercentPresets) {
        QAction* item = popupItem(pmTempo, QByteArray("Percent" + QByteArray::number(percent) + "1").constData());
        connect(item, &QAction::triggered, this,
                [this, percent] { guarded([this, percent] { setTempoPercent(percent); }); });
    }
    // Not guarded: what a dispatched event raises ends its dispatch, which reports it.
    // The output's notice follows the synthesizer's audio output by itself;
    // a device that went away stops playing (its error was reported once).
    connect(m_session, &PlayingSession::outputNoticeChanged, this, [this] { showOutputNotice(); });
    connect(m_session, &PlayingSession::outputLost, this, [this] {
        guarded([this] {
            if (btnPlay->isDown()) {
                btnStopClick();
            }
        });
    });
    // The syllables the session dispatches reach the strip.
    connect(m_session, &PlayingSession::metaEventDue, this, [this](PMidiEvent event) { routeMetaEvent(*event); });

    connect(pmInstruments, &TInstrumentMenu::aboutToShow, this, [this] { guarded([this] { pmInstrumentsPopup(); }); });
    for (int n = 1; n <= TrackPanelCount; ++n) {
        TPanel* panel = findChild<TPanel*>(QStringLiteral("TrackPanel%1").arg(n));
        TPanel* mute = muteButtonOf(n);
        TPanel* lyrics = lyricsButtonOf(n);
        TrackPanels.append(panel);
        connect(mute, &TPanel::clicked, this, [this, mute] { guarded([this, mute] { pnlMuteClick(mute); }); });
        connect(lyrics, &TPanel::clicked, this, [this, lyrics] { guarded([this, lyrics] { pLyricsClick(lyrics); }); });
        connect(panel, &TPanel::mouseMoved, this, [this, panel] { guarded([this, panel] { TrackPanelMouseMove(panel); }); });
    }
    bindVolumeHandlers();
}

QList<QObject*> TfrmMain::ownComponents() const
{
    QList<QObject*> own;
    for (QObject* object : findChildren<QObject*>()) {
        bool foreign = false;
        for (QObject* up = object; up && up != this && !foreign; up = up->parent()) {
            auto* widget = qobject_cast<QWidget*>(up);
            foreign = widget && widget->isWindow() && widget->windowType() != Qt::Popup;
        }
        if (!foreign) {
            own.append(object);
        }
    }
    return own;
}

void TfrmMain::InitializeControls(bool enabled)
{
    const QPalette standard;
    for (QObject* component : ownComponents()) {
        if (tagOf(component) != 0) {
            continue;
        }
        if (auto* panel = qobject_cast<TPanel*>(component)) {
            panel->setVisible(enabled);
        } else if (auto* action = qobject_cast<QAction*>(component)) {
            action->setEnabled(enabled);
        } else if (qobject_cast<QAbstractButton*>(component) || qobject_cast<TImageButton*>(component)
                   || qobject_cast<QAbstractSlider*>(component) || qobject_cast<QScrollArea*>(component)) {
            static_cast<QWidget*>(component)->setEnabled(enabled);
        } else if (auto* box = qobject_cast<QWidget*>(component);
                   box && (qobject_cast<QPlainTextEdit*>(box) || qobject_cast<QTextEdit*>(box)
                           || qobject_cast<QListWidget*>(box) || qobject_cast<QLineEdit*>(box)
                           || qobject_cast<QComboBox*>(box))) {
            // Text and list boxes are emptied; they and combo boxes take the
            // window colour when usable and the button face when not.
            if (auto* plain = qobject_cast<QPlainTextEdit*>(box)) {
                plain->clear();
            } else if (auto* rich = qobject_cast<QTextEdit*>(box)) {
                rich->clear();
            } else if (auto* list = qobject_cast<QListWidget*>(box)) {
                list->clear();
            } else if (auto* line = qobject_cast<QLineEdit*>(box)) {
                line->clear();
            }
            QPalette look = box->palette();
            look.setColor(QPalette::Base, standard.color(enabled ? QPalette::Base : QPalette::Button));
            box->setPalette(look);
            box->setEnabled(enabled);
        }
    }
}

QString TfrmMain::FormatPosition(int ms)
{
    const int minutes = (ms / 60000) % 60;
    const int seconds = (ms / 1000) % 60;
    return QStringLiteral("%1:%2").arg(minutes).arg(seconds, 2, 10, QLatin1Char('0'));
}

bool TfrmMain::IsBlank(const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() > 32) {
            return false;
        }
    }
    return true;
}

void TfrmMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        guarded([this] { formShow(); });
    }
}

void TfrmMain::formShow()
{
    guarded([this] { SetupMixerControls(); });
    showOutputNotice();
    // The stored colours, fonts and default instruments take effect.
    if (m_settingsWindow) {
        m_settingsWindow->btnApplyClick();
    }
    loadCommandLineFile();
}

void TfrmMain::closeEvent(QCloseEvent* event)
{
    guarded([this] {
        if (!MidiFile1->AllTracksEnded()) {
            btnStopClick();
        }
        Timer1->stop();
        if (m_mixerWindow) {
            m_mixerWindow->close();
        }
    });
    QMainWindow::closeEvent(event);
}

bool TfrmMain::event(QEvent* event)
{
    // The status bar is in simple mode: its one text is not replaced by the
    // status tips of menus and controls.
    if (event->type() == QEvent::StatusTip) {
        return true;
    }
    return QMainWindow::event(event);
}

void TfrmMain::ExitClick()
{
    close();
}

void TfrmMain::sbViewLyricsClick()
{
    if (m_lyricsWindow) {
        m_lyricsWindow->show();
        m_lyricsWindow->raise();
    }
}

void TfrmMain::sbSettingsClick()
{
    if (m_settingsWindow) {
        m_settingsWindow->show();
        m_settingsWindow->raise();
    }
}

void TfrmMain::sbHelpClick()
{
    showHelpContext(this, HelpContext::Contents);
}

void TfrmMain::About1Click()
{
    TfrmAbout about(this);
    about.move(Left() + 5, Top() + 100);
    about.exec();
}

} // namespace harmonet
