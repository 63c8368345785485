#pragma once

#include "mixer/cmpMidiMixer.h"
#include "player/LyricList.h"
#include "player/RecentFileList.h"
#include "practice/PracticeMemory.h"
#include "sequencer/MidiEvent.h"
#include "sequencer/SongWords.h"
#include "windows/MainWindowLink.h"

#include <QList>
#include <QMainWindow>
#include <QStringList>
#include <functional>

class QAction;
class QCheckBox;
class QKeyEvent;
class QLabel;
class QMenu;
class QPushButton;
class QScrollArea;
class QSlider;
class QStatusBar;
class QTimer;

namespace harmonet {

class PlayingSession;
class TIniOut;
class TInstrumentMenu;
class TMidiFile;
class TMidiMixer;
class TMidiOutput;
class TOpenDialog;
class TImageButton;
class TPanel;
class TfrmLyrics;
class TfrmPracticeView;
class TfrmSettings;
class TBarControls;
class TPracticeMenus;
class TPitchClickMenus;
class TSingAlong;
class TTimeDisplay;
class TRightAlignedLabel;

// The main window of the player: the sixteen track panels, the transport,
// position and tempo controls, the volume and tone controls, the scrolling
// lyrics strip and the status bar, bound to the playing session (the song,
// its tracks' settings, the sequencer MidiFile1 and the output device
// MidiOutput1), with the mixer and the settings store as its components. Its implementation is split
// by concern: UnitMain.cpp (life of the window, handler bindings, component
// walk), MainLayout.cpp (controls and their places), MainMenus.cpp (menus),
// FileHandling.cpp (opening, loading, closing), TrackPanels.cpp (track panels
// and instruments), OutputHandling.cpp (the output device and its notice),
// Lyrics.cpp (scrolling lyrics, the lyrics window's text, verse jumps),
// EventRouting.cpp (every played event to the output or the lyrics strip),
// Transport.cpp (play, pause, stop, the refresh and the position), Winding.cpp
// (fast forward and rewind), Tempo.cpp (the tempo slider and its presets),
// TempoChanges.cpp (following the file's tempo changes), KeyboardAccess.cpp
// (Tab order, keys and accessible names), RecentFiles.cpp (the recent files
// and their two menus), WordsMenu.cpp (the strip's Words and Text Encoding
// menus, decoded captions), SettingsNotice.cpp (the notice that the
// settings cannot be saved).
class TfrmMain : public QMainWindow, public IMainWindowLink {
    Q_OBJECT
    Q_PROPERTY(int Top READ Top WRITE SetTop)
    Q_PROPERTY(int Left READ Left WRITE SetLeft)
    Q_PROPERTY(bool FollowTempoChanges READ FollowTempoChanges WRITE SetFollowTempoChanges)

public:
    static constexpr int ClientWidth = 379;
    static constexpr int ClientHeight = 337;
    static constexpr int TrackPanelCount = 16;
    // The tempo popup's shares of the song's own tempo.
    static constexpr int TempoPercentPresets[] = {50, 75, 90, 110, 125};

    explicit TfrmMain(QWidget* parent = nullptr);
    ~TfrmMain() override;

    int Top() const { return y(); }
    void SetTop(int top) { move(x(), top); }
    int Left() const { return x(); }
    void SetLeft(int left) { move(left, y()); }
    // The check mark of Options > Follow Tempo Changes, as the settings keep it.
    bool FollowTempoChanges() const;
    void SetFollowTempoChanges(bool follow);

    // The program's arguments after its own name; the first, when it names an
    // existing file, is loaded at the first showing. Relative paths are taken
    // from the folder the program was started in.
    void SetCommandLine(const QStringList& arguments) { m_commandLine = arguments; }

    // --- The playing session: the song, what is set for its tracks, the
    // sequencer and the output; whether a file is loaded, the output open,
    // the track mixer's values in force, and the track playing last. ---
    PlayingSession& session() override { return *m_session; }
    const PlayingSession& session() const { return *m_session; }
    // The track mixer window while it exists (its values are then in force).
    QWidget* mixerWindow() const { return m_mixerWindow; }

    // --- State of the window ---
    QString CurrentFileName;
    QString LastDir;
    int LyricTrack = 1;
    TPanel* InstrumentPanel = nullptr;
    int VerseCount = 0;
    int SongLength = 0;
    int FileBpm = 0;
    int FullHeight = 0;
    QList<TPanel*> TrackPanels;

    // --- Operations used by the window's parts and the other windows ---
    // Enables (or, for panels, shows) every control of tag 0, or disables and hides them.
    void InitializeControls(bool enabled);
    // A time in ms as minutes:seconds ("2:03" for 3 723 000 ms: the minutes wrap at 60).
    static QString FormatPosition(int ms);
    // Whether the text is empty once blanks and control characters are removed at both ends.
    static bool IsBlank(const QString& text);
    void OpenMidiOutput() override;
    void CloseMidiOutput() override;
    bool ShowInstruments() const override;
    void MixerWindowClosed(QWidget* window) override;
    // Loads CurrentFileName and rebuilds the window around it.
    void LoadMidiFile();
    // Closes the loaded file: the window returns to its state without a file.
    void CloseFile();
    void SetupTrackPanel(int trackIndex, TPanel* panel, TPanel* muteButton, TPanel* lyricsButton);
    void WireInstrumentMenu();

    // --- The settings and lyrics windows, in SecondaryWindows.cpp ---
    // The two windows this one shows and uses (created after this one). The
    // settings window's chosen port is what OpenMidiOutput opens.
    void SetSecondaryWindows(TfrmSettings& settings, TfrmLyrics& lyrics);
    TfrmSettings* SettingsWindow() const { return m_settingsWindow; }
    TfrmLyrics* LyricsWindow() const { return m_lyricsWindow; }
    TLyricStripColors lyricStripColors() const override { return m_lyricStripColors; }
    void setLyricStripColors(const TLyricStripColors& colors) override;
    void setLyricStripFontSize(int pixels) override;
    int lyricStripFontSize() const { return m_stripFontSize; }
    TTimeDisplay& timeDisplay() override { return *TimeDisplay1; }
    void showInstrumentOnPanels(int tag, const QString& caption) override;

    // --- Lyrics, in Lyrics.cpp ---
    // The syllables of the lyrics track and their tick times, in track order.
    const QStringList& LyricTexts() const { return m_lyrics.texts(); }
    const QList<qint32>& LyricTimes() const { return m_lyrics.times(); }
    // Rebuilds the syllables, VerseCount, the position step and the lyrics
    // window's text from track LyricTrack, then shows the lyrics at the slider.
    void GatherLyrics();
    // The tick time of the first syllable at or after ms, or -1.
    qint64 NextLyricTime(int ms) const;
    QString LyricsUpTo(qint64 t) const { return m_lyrics.upTo(t); }
    QString LyricAt(qint64 t) const { return m_lyrics.at(t); }
    QString LyricsAfter(qint64 t) const { return m_lyrics.after(t); }
    // Fills the strip around the first syllable at or after ms; unchanged when none is.
    void ShowLyricsAt(int ms);
    // The lyrics window marks the line and keeps it in view.
    void showLyricsLine(int line);
    // The position slider's step: one verse's share of the song.
    void UpdatePositionStep();
    // Where verse 1, 2, ... starts, in ms: its share of the song's ticks.
    int VerseStart(int verse) const;
    // The slider to the start of that verse, as the position menu's "Verse n" does.
    void VerseClick(int verse);

    // --- Words of the song, in WordsMenu.cpp ---
    // How the loaded song's words are understood: encoding, sources, pairing.
    const TSongWords& SongWords() const { return m_words; }
    // The strip's "Words" submenu: one item per source of words, then the
    // "Text Encoding" submenu. Both are filled when they open.
    QMenu* Words1 = nullptr;
    QMenu* TextEncoding1 = nullptr;
    // A source of words chosen by hand: it becomes the lyrics track and the
    // choice of the voice whose Lyrics button is down, until the next load.
    void WordsClick(int wordsTrack);
    // Reads every text of the song again in the named encoding.
    void TextEncodingClick(const QByteArray& name);
    // A panel's caption for its track: the name or instrument, decoded.
    QString PanelCaption(int track, bool instrument) const override;

    // --- Words that follow my part, in WordsOfMyPart.cpp ---
    // My part was chosen: its voice's words take the strip, the lyrics
    // window and the practice view (the view follows also when none is).
    void showWordsOfMyPart();

    // --- The practice view, in PracticeView.cpp ---
    // View > "Practice View": the view, made at its first showing.
    void PracticeView1Click();
    TfrmPracticeView& practiceView();
    // The view while it exists.
    TfrmPracticeView* PracticeViewWindow() const { return m_practiceView; }
    // The view takes the song, my part and the strip's words as they are now.
    void refreshPracticeView();
    // Plays (or, halted, stands) from the start of a bar as printed.
    void playFromBar(qint64 bar);
    // The view shades the session's loop (none without one).
    void showLoopInPracticeView();

    // --- Transport, in Transport.cpp ---
    // The position slider to ms and the position-changed action, also when
    // the slider is there already.
    void seekTo(int ms);
    // All Notes Off on each of the 16 channels, only while the output is open.
    void AllNotesOff();
    // The time display at ms: counting up, or down from SongLength while sbTimeDown is down.
    void ShowTime(int ms);
    // The play action: re-sends the instruments, then starts at the slider's
    // position, or from the beginning at 0 or once every track has ended.
    void btnPlayClick();
    // Play pressed by the user: the play action, counted in when a count-in is chosen.
    void playPressed();
    // The stop action: the first halts where the music is, the second rewinds to 0.
    void btnStopClick();
    // Pause from the button (which has toggled itself) or from the menu or Space.
    void btnPauseClick(bool fromButton);
    // The refresh while playing or paused: time display and slider, never seeking;
    // stops once the song length is reached.
    void Timer1Timer();
    // The position-changed action: silences, seeks, shows the new place and
    // plays on from it while playing.
    void tbPositionChanged();
    // The same for a jump to a tick position (a bar, a phrase): exactly
    // there, the slider following without seeking again.
    void jumpToTicks(double ticks);

    // --- Fast forward and rewind, in Winding.cpp ---
    // The time of day in whole seconds that the menu's fast forward and
    // rewind wait on; the system's unless replaced.
    void SetSecondOfDaySource(std::function<int()> source) { m_secondOfDay = std::move(source); }

    // --- Tempo, in Tempo.cpp ---
    // The tempo change: the sequencer takes the tempo slider's value, and the
    // length and position are rescaled so the song goes on at the same place.
    void tbTempoChanged();
    // The tempo slider to bpm (within its range), then the tempo change.
    void setTempo(int bpm);
    // The tempo at percent (25..200) of the song's own, within the slider's range.
    void setTempoPercent(int percent);
    // The tempo slider's top unless a faster song needs more.
    static constexpr int DefaultTempoMaximum = 200;
    // After FileBpm changed: the slider's range holds it (at least 1..200),
    // the labels show the range and the tempo as a share of FileBpm.
    void fitTempoRange();
    void showTempoPercent();
    // Options > Follow Tempo Changes, in TempoChanges.cpp: the sequencer plays
    // through the file's tempo map or at one tempo, keeping the musical place.
    void FollowTempoChanges1Click();

    // --- Recent files, in RecentFiles.cpp ---
    // The files opened last, newest first, as the settings hold them.
    TRecentFileList RecentFiles;
    // Reads the list from the settings and rebuilds File > Reopen, which is
    // enabled only while the list is not empty.
    void LoadRecentFiles();
    void SaveRecentFiles();
    // Puts the path at the top of the list, saves it and reads it back.
    void AddRecentFile(const QString& path);
    // Takes a file that failed to load off the list, if it is there.
    void ForgetRecentFile(const QString& path);

    // --- Routing, in EventRouting.cpp ---
    // Handles one event the sequencer dispatches, as the session does: to
    // the output device through the session's gateway, as the tracks' mute,
    // instrument and mixer settings say, or to the strip.
    void MidiFile1MidiEvent(PMidiEvent event);

    // --- Volume and tone, in VolumeTone.cpp ---
    // Balance of the master and the MIDI volume: -50 (left only) through 0
    // (equal) to +50 (right only).
    int MasterBalance = 0;
    int MidiBalance = 0;
    // The balance of raw left and right values; a louder right is positive.
    static int MixerBalance(quint32 left, quint32 right);
    // The left and right values for a volume slider at position: the louder
    // side takes the position, the other its share by the balance.
    static TMixerStereoValue SplitBalance(int balance, int position);
    // Ranges, positions and states of the volume and tone controls from the
    // mixer, at the first showing; a control the mixer lacks disables its
    // button or tone slider (a volume slider keeps its 0..10).
    void SetupMixerControls();
    void tbMasterVChange();
    void tbMidiVChange();
    void tbTrebleChange();
    void tbBassChange();
    void sbMasterMuteClick();
    void sbMidiMuteClick();
    // Follows a change made elsewhere, which the mixer has already read.
    void MidiMixer1ControlChange(QObject* sender, TMixerControlType control);

    // --- Components ---
    // The session's sequencer and its output device.
    TMidiFile* MidiFile1;
    TMidiOutput* MidiOutput1;
    TMidiMixer* MidiMixer1;
    TIniOut* IniOut1;
    TOpenDialog* OpenDialog1;
    QTimer* Timer1;
    QTimer* TimerFastForward;
    QTimer* TimerRewind;

    // --- Controls ---
    TPanel* pnlMain;
    QScrollArea* ScrollBox1;
    QCheckBox* cbInstruments;
    QPushButton* btnLoad;
    TImageButton* sbMixer;
    TImageButton* sbViewLyrics;
    TImageButton* sbClose;
    TImageButton* sbSettings;
    TImageButton* sbHelp;
    QPushButton* btnClose;

    TImageButton* btnPlay;
    TImageButton* btnRewind;
    TImageButton* btnFastForward;
    TImageButton* btnStop;
    TImageButton* btnPause;
    QLabel* lblTime;
    TTimeDisplay* TimeDisplay1;
    TImageButton* sbTimeDown;
    QLabel* Label1;
    QSlider* tbPosition; // a TTrackBar, as is tbTempo

    QLabel* lblTempo;
    QSlider* tbTempo;
    QLabel* lblTempoLow;
    QLabel* lblTempoMid;
    QLabel* lblTempoHigh;
    // The playing tempo as a percentage of the song's own: "80 %".
    QLabel* lblTempoPercent;

    QLabel* lblMasterV;
    QSlider* tbMasterV;
    TImageButton* sbMasterMute;
    QLabel* lblMidiV;
    QSlider* tbMidiV;
    TImageButton* sbMidiMute;
    QLabel* lblTreble;
    QSlider* tbTreble;
    QLabel* lblBass;
    QSlider* tbBass;

    TPanel* pnlScrollingLyrics;
    TPanel* pnlLyrics;
    TRightAlignedLabel* lblLyrics;
    TPanel* pnlLyrics2;
    QStatusBar* StatusBar1;
    QLabel* lblStatusText;
    QLabel* lblOutputNotice;
    // "Tempo changes ignored": the loaded file changes tempo while one tempo plays.
    QLabel* lblTempoNotice;
    // "Settings not saved": the settings file cannot be written, so this run
    // keeps the settings in memory; the tooltip names the file.
    QLabel* lblSettingsNotice = nullptr;

    // --- Menus ---
    QAction* Open1;
    QMenu* Reopen1;
    QAction* Close1;
    QAction* Exit1;
    QAction* Lyrics1;
    QAction* ScrollingLyrics1;
    QAction* Instruments1;
    QAction* TrackMixer1;
    QAction* PracticeView1;
    QAction* Play1;
    QAction* Rewind1;
    QAction* FastForward1;
    QAction* Stop1;
    QAction* Pause1;
    QAction* Settings1;
    QAction* FollowTempoChanges1;
    QAction* HarmonetHelp1;
    QAction* About1;
    QMenu* pmReopen;
    QMenu* pmPosition;
    QMenu* pmTempo;
    QMenu* pmScrollingLyrics;
    TInstrumentMenu* pmInstruments;
    // My part and the export of practice tracks, in PracticeMenus.cpp.
    TPracticeMenus* PracticeMenus1 = nullptr;
    // Transposition, "Give Me My Note", tempo steps, count-in and metronome, in PitchClickMenus.cpp.
    TPitchClickMenus* PitchClickMenus1 = nullptr;
    // Singing along with my part measured, in SingAlong.cpp.
    TSingAlong* SingAlongMenus1 = nullptr;
    // Bars, jumps to them and the loop, in BarControls.cpp.
    TBarControls* BarControls1 = nullptr;

    // The text of the status bar (one text: the bar is in simple mode).
    QString statusText() const;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Construction, in MainLayout.cpp and MainMenus.cpp.
    void createComponents();
    void createControls();
    void createTrackPanels();
    void createTransportControls();
    void createTempoControls();
    void createVolumeControls();
    void createLyricsStrip();
    void createStatusBar();
    void createMenus();
    void createPopupMenus();
    void fixClientSize();
    // The strip at its smallest holds its text: the window's least height.
    int stripMinimumHeight() const;
    // The window's least and greatest size for the strip's size and showing.
    void fitWindowToStrip();
    // The controls in the middle, the strip along the bottom filling the rest.
    void layOutClient();
    // Tab order, keys and accessible names, in KeyboardAccess.cpp.
    void setupKeyboardAccess();
    // Every control Tab reaches, in the order it reaches them.
    QList<QWidget*> tabOrder() const;
    // The binding table: every handler connected to its controls, in UnitMain.cpp.
    void bindHandlers();
    // Runs a handler so that what it throws reaches the error report.
    void guarded(const std::function<void()>& handler);

    // Start-up and shut-down.
    void placeWindow();
    void formShow();
    void loadCommandLineFile();

    // Handlers.
    void btnLoadClick();
    void sbCloseClick();
    void ExitClick();
    void sbViewLyricsClick();
    void sbSettingsClick();
    void sbHelpClick();
    void About1Click();
    void pnlMuteClick(TPanel* button);
    void pLyricsClick(TPanel* button);
    void TrackPanelMouseDown(TPanel* panel, const QPoint& globalPos);
    void TrackPanelMouseMove(TPanel* panel);
    void cbInstrumentsClick();
    void Instruments1Click();
    void pmInstrumentsPopup();
    void InstrumentClick(QAction* item);
    void ScrollingLyrics1Click();
    // Opens the track mixer window, creating it when there is none.
    void sbMixerClick();
    // Destroys the track mixer windows still held, open or closed, while
    // this window can still hear from them.
    void destroyMixerWindows();
    void pmPositionPopup();

    // Recent-files handlers: an entry loads its file, or, when the file is
    // gone, drops it and offers the open dialog through the load error dialog.
    void RecentFileClick(QAction* item);
    void RemoveDeletedFilesClick();
    void RemoveAllClick();
    // Rebuilds the open button's right-click menu each time it opens.
    void pmReopenPopup();
    // The entries, a separator, "Remove Deleted Files" and "Remove All"; the
    // number tells the maintenance items of the two menus apart.
    void fillReopenMenu(QMenu* menu, int number);

    // Transport handlers.
    void btnStopMouseDown();
    void btnStopMouseUp();
    void sbTimeDownClick();
    // Binds or detaches the position slider's change notification, which the
    // refresh and the tempo change suspend around their own slider updates.
    void bindPositionOnChange();
    void detachPositionOnChange();
    // Sets btnPause up with its off image.
    void releasePause();

    // Winding handlers: a press starts the step timer, each tick moves the
    // position by a step, the release plays on from there when playing.
    void btnFastForwardMouseDown();
    void TimerFastForwardTimer();
    void btnFastForwardMouseUp();
    void btnRewindMouseDown();
    void TimerRewindTimer();
    void btnRewindMouseUp();
    void FastForward1Click();
    void Rewind1Click();
    void startWinding(QTimer* stepTimer, TImageButton* button, const QPixmap& onImage);
    void windBy(int stepMs);
    void endWinding(QTimer* stepTimer, TImageButton* button, const QPixmap& offImage);
    // While a step timer runs: the position moves without sounding.
    bool isWinding() const;
    // Presses, handles the window's events until the next second of the day, releases.
    void holdUntilNextSecond(const std::function<void()>& press, const std::function<void()>& release);
    static int currentSecondOfDay();

    // Tempo handlers.
    void tbTempoKeyDown(const QKeyEvent& event);
    void Reset1Click();
    // After the sequencer's timing changed: stops, takes the new length,
    // plays on (or stays stopped) at the position given in seconds for it.
    void restartWithNewTiming(bool wasPlaying, const std::function<double(int newLength)>& newPositionSeconds);
    void createTempoNotice();
    // In SettingsNotice.cpp: the notice shows once the settings are kept in memory.
    void createSettingsNotice();
    void showSettingsNotice();
    void showTempoNotice();
    // The place in ms of the same share of the song's ticks as ms is of its
    // length: ms itself at one tempo. The verse jumps go there.
    int sameShareInTicks(int ms) const;

    // Volume and tone.
    void bindVolumeHandlers();
    void bindMixerNotification();
    // Opens the mixer as a component of the window being built; a failure
    // is kept for the status bar, never raised.
    void openMixerWhileLoading();
    // Adds why the mixer is missing, if it is, to the status bar's notice.
    void addMixerNotice(QString& notice, QString& detail) const;
    // Words menu helpers.
    void createWordsMenu();
    void pmWordsPopup();
    void pmTextEncodingPopup();

    // The Lyrics button of a track's panel, or null.
    TPanel* lyricsButtonOfTrack(int track) const;
    // The words remembered for the file just loaded: each voice's choice is
    // made, and the voice whose words the strip showed is kept for the panels.
    void restoreWords();
    // Remembers the words chosen now for the loaded file.
    void rememberWords();
    // A meta event the session dispatched: a syllable of the lyrics track moves the strip.
    void routeMetaEvent(const TMidiEvent& event);

    // Helpers of the track panels.
    TPanel* muteButtonOf(int panelNumber) const;
    TPanel* lyricsButtonOf(int panelNumber) const;
    // The objects of this window: its components, controls, menus and popups,
    // but not those of the other windows it owns.
    QList<QObject*> ownComponents() const;
    void setStatusText(const QString& text);
    void showOutputNotice();

    PlayingSession* m_session;
    QWidget* m_mixerWindow = nullptr;
    QList<QMetaObject::Connection> m_panelMouseDown;
    QMetaObject::Connection m_positionOnChange;
    std::function<int()> m_secondOfDay = &TfrmMain::currentSecondOfDay;
    TLyricList m_lyrics;
    TSongWords m_words;
    // The voice track whose Lyrics button was clicked last, or -1.
    int m_lyricsVoice = -1;
    QStringList m_commandLine;
    QString m_startDir;
    QString m_mixerFailure;
    bool m_shown = false;
    // The next play action counts in (it was pressed, not a restart).
    bool m_countInNext = false;
    TfrmSettings* m_settingsWindow = nullptr;
    TfrmLyrics* m_lyricsWindow = nullptr;
    TfrmPracticeView* m_practiceView = nullptr;
    TPracticeMemory m_wordsMemory;
    QString m_songHash;
    // While the remembered words are put back, nothing is remembered.
    bool m_restoringWords = false;
    int m_restoredWordsVoice = -1;
    TLyricStripColors m_lyricStripColors;
    int m_stripFontSize = 13;
};

} // namespace harmonet
