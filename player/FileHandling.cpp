// Opening a MIDI file (dialog, drop, command line), loading it into the
// window, and closing it.
#include "player/UnitMain.h"

#include "player/BarControls.h"
#include "player/ControlTags.h"
#include "player/OpenDialog.h"
#include "player/Panel.h"
#include "player/PitchClickMenus.h"
#include "player/PracticeMenus.h"
#include "player/SingAlong.h"
#include "player/RightAlignedLabel.h"
#include "sequencer/MidiFile.h"
#include "session/PlayingSession.h"
#include "widgets/ImageButton.h"
#include "widgets/cmpTimeDisplay.h"
#include "windows/UnitLyrics.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QScopeGuard>
#include <QGuiApplication>
#include <QMimeData>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QTimer>

namespace harmonet {

namespace {

// Shows the wait cursor for as long as it lives.
class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

QString folderWithSeparator(const QString& path)
{
    return QFileInfo(path).absolutePath() + QLatin1Char('/');
}

} // namespace

void TfrmMain::btnLoadClick()
{
    // The name box starts empty: a pattern in it would hide the other kinds
    // of MIDI file the filter lists.
    OpenDialog1->setFileName(QString());
    OpenDialog1->setFilter(tr("MIDI Files (*.mid *.midi *.kar *.rmi)|*.mid;*.midi;*.kar;*.rmi"
                              "|All files (*)|*"));
    OpenDialog1->setTitle(tr("Load MIDI File..."));
    OpenDialog1->setOptions(TOpenDialog::ofHideReadOnly | TOpenDialog::ofFileMustExist | TOpenDialog::ofEnableSizing);
    // The folder of the file opened last, else that of the file last chosen
    // in the dialog; never the program's own folder by default. Only a
    // chosen file's folder is kept as the dialog's folder.
    const QString chosenBefore = OpenDialog1->initialDir();
    const QString lastOpened =
        RecentFiles.isEmpty() ? QString() : QFileInfo(RecentFiles.paths().constFirst()).absolutePath();
    OpenDialog1->setInitialDir(TOpenDialog::startFolder({lastOpened, chosenBefore}));
    if (!OpenDialog1->Execute(this)) {
        OpenDialog1->setInitialDir(chosenBefore);
        return;
    }
    repaint();
    CurrentFileName = OpenDialog1->fileName();
    LastDir = QFileInfo(CurrentFileName).absolutePath();
    OpenDialog1->setInitialDir(LastDir);
    LoadMidiFile();
}

void TfrmMain::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void TfrmMain::dropEvent(QDropEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty()) {
        return;
    }
    event->acceptProposedAction();
    const QUrl& first = urls.constFirst();
    guarded([this, path = first.isLocalFile() ? first.toLocalFile() : first.toString()] {
        CurrentFileName = path;
        LastDir = folderWithSeparator(path);
        LoadMidiFile();
    });
}

void TfrmMain::loadCommandLineFile()
{
    if (m_commandLine.isEmpty() || IsBlank(m_commandLine.constFirst())) {
        return;
    }
    // A missing file or a folder is loaded too, so that the user is told.
    const QFileInfo file(QDir(m_startDir), m_commandLine.constFirst());
    CurrentFileName = file.absoluteFilePath();
    LastDir = folderWithSeparator(CurrentFileName);
    LoadMidiFile();
}

void TfrmMain::LoadMidiFile()
{
    btnStopClick();
    Timer1->stop();
    repaint();
    {
        const WaitCursor wait;
        if (m_session->fileLoaded()) {
            CloseFile();
        }
        InitializeControls(true);
        setStatusText(CurrentFileName + QLatin1Char(' '));
    }
    setWindowTitle(tr("Harmonet - ") + QFileInfo(CurrentFileName).fileName());

    try {
        m_session->load(CurrentFileName);
    } catch (...) {
        // A file that could not be read leaves no half-built window behind:
        // caption and status bar name it, but nothing of it can be played,
        // and it takes no place among the recent files.
        InitializeControls(false);
        m_words.clear();
        ForgetRecentFile(CurrentFileName);
        throw;
    }
    AddRecentFile(CurrentFileName);
    m_words.build(*MidiFile1);
    m_restoringWords = true;
    const auto restored = qScopeGuard([this] { m_restoringWords = false; });
    restoreWords();

    tbPosition->setValue(MidiFile1->CurrentTime());
    tbPosition->setToolTip(FormatPosition(tbPosition->value()));
    SongLength = MidiFile1->SongLengthMs();
    tbPosition->setMaximum(SongLength);
    const int shown = tbPosition->value();
    TimeDisplay1->setTime(sbTimeDown->isDown() ? SongLength - shown : shown);

    FileBpm = MidiFile1->Bpm();
    fitTempoRange();
    tbTempo->setValue(FileBpm);
    showTempoNotice();

    // Tracks with at least one event that is not a meta event take the panels
    // in order; tracks from index 16 on are never shown.
    qsizetype bound = 0;
    const int candidates = qMin(MidiFile1->NumberOfTracks(), int(TrackPanelCount));
    for (int j = 0; j < candidates; ++j) {
        if (MidiFile1->TrackAt(j)->CountChannelEvents() > 0) {
            const int number = int(bound) + 1;
            SetupTrackPanel(j, TrackPanels[bound], muteButtonOf(number), lyricsButtonOf(number));
            ++bound;
        }
    }
    for (qsizetype i = bound; i < TrackPanels.size(); ++i) {
        TrackPanels[i]->setVisible(false);
    }
    // The first panel in sight, wherever the previous song's list was scrolled.
    ScrollBox1->verticalScrollBar()->setValue(0);
    cbInstrumentsClick();

    pnlLyrics->clear();
    pnlLyrics2->clear();
    lblLyrics->setCaption(QString());
    if (bound > 0) {
        TPanel* remembered = lyricsButtonOfTrack(m_restoredWordsVoice);
        pLyricsClick(remembered ? remembered : lyricsButtonOf(1));
    }
    // My part, once chosen for the file, takes the words.
    PracticeMenus1->fileLoaded();
    PitchClickMenus1->fileLoaded();
    SingAlongMenus1->fileChanged();
    BarControls1->fileLoaded();
}

void TfrmMain::sbCloseClick()
{
    CloseFile();
}

void TfrmMain::CloseFile()
{
    btnStopClick();
    // The channels get the file's own levels back before the song goes.
    PracticeMenus1->fileClosed();
    SingAlongMenus1->fileChanged();
    BarControls1->fileClosed();
    m_session->close();
    PitchClickMenus1->fileClosed();
    showTempoPercent();
    showTempoNotice();
    setStatusText(tr("No MIDI File Loaded"));
    for (TPanel* panel : TrackPanels) {
        panel->setVisible(false);
    }
    InitializeControls(false);
    lblLyrics->setCaption(QString());
    pnlLyrics->clear();
    pnlLyrics2->clear();
    if (m_lyricsWindow) {
        m_lyricsWindow->SetLines({});
    }
    m_songHash.clear();
    refreshPracticeView();
    if (m_mixerWindow) {
        m_mixerWindow->close();
    }
}

} // namespace harmonet
