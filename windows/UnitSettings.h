#pragma once

#include <QDialog>
#include <functional>
#include <QList>
#include <QStringList>

class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QScrollArea;
class QSpinBox;

namespace harmonet {

class IMainWindowLink;
class TBevelPanel;
class TCheckBox;
class TColorPicker;
class TfrmLyrics;
class TImageButton;
class TIniOut;
class TInstrumentMenu;
class TMidiOutput;

// The settings window: the colours of the scrolling-lyrics strip and of the
// time display, the lyrics window's font, a default instrument for each of
// tracks 1 to 16, and the output port. It lives from program start to exit
// and is shown and hidden. Nothing chosen here takes effect before Apply (or
// Ok); Cancel (and Esc) puts back the instrument choices of the last showing.
// Colours, font, instruments and the two check boxes are kept in the settings
// (read at creation, written at destruction); the port choice is not.
// Implementation: UnitSettings.cpp (life and handlers), SettingsLayout.cpp
// (controls and their places).
class TfrmSettings : public QDialog {
    Q_OBJECT
    Q_PROPERTY(int Top READ Top WRITE SetTop)
    Q_PROPERTY(int Left READ Left WRITE SetLeft)
    Q_PROPERTY(int LyricStripFontSize READ LyricStripFontSize WRITE SetLyricStripFontSize)

public:
    static constexpr int TrackPanelCount = 16;
    static constexpr int ClientWidth = 466;
    static constexpr int ClientHeight = 322;
    // The sizes the strip's text may take, in pixels.
    static constexpr int SmallestStripFontSize = 8;
    static constexpr int LargestStripFontSize = 72;
    static constexpr int DefaultStripFontSize = 13;

    // owner is the main window, which also holds this window as a child;
    // output is the main window's output device, whose ports are listed.
    // The device is not opened here: the main window opens the chosen port.
    TfrmSettings(QWidget* owner, IMainWindowLink& mainWindow, TMidiOutput& output);
    ~TfrmSettings() override;

    // The lyrics window, whose font this window shows and sets (created after this one).
    void SetLyricsWindow(TfrmLyrics& lyrics) { m_lyrics = &lyrics; }

    int Top() const { return y(); }
    void SetTop(int top) { move(x(), top); }
    int Left() const { return x(); }
    void SetLeft(int left) { move(left, y()); }
    // The strip's font size as chosen (kept to the sizes offered).
    int LyricStripFontSize() const;
    void SetLyricStripFontSize(int pixels);

    // The port chosen in the list (empty when there is none).
    QString ChosenPortName() const;
    bool DefaultInstrumentsChecked() const;
    // Shows the window modally; raises "Cannot make a visible window modal"
    // while it is already shown.
    void ShowModal();

    // Apply: colours and fonts to the main and lyrics windows, the port
    // re-opened when another was chosen, default instruments to the tracks.
    void btnApplyClick();
    void btnOkClick();
    void btnCancelClick();
    // The track panel whose default instrument track m takes: TrackPanelm for
    // 2..16, TrackPanel1 for 1 and for any other track.
    TBevelPanel* SettingsPanelForTrack(int m) const;

    // --- State kept between showings ---
    bool SavedDefaultInstruments = false;
    bool SavedChangeAll = false;
    QStringList SavedInstruments;
    QString ActivePortName;
    TBevelPanel* PopupPanel = nullptr;

    // --- Components and controls ---
    TIniOut* IniOut1;
    QFrame* pnlSettings;
    QGroupBox* gbLyrics;
    QGroupBox* gbScrollingLyrics;
    TColorPicker* cbBackground;
    TColorPicker* cbText;
    TColorPicker* cbHilight;
    QSpinBox* sbStripFontSize;
    TBevelPanel* pnlLyrics;
    QLabel* lblHilightText;
    TImageButton* sbLyricsWindowFont;
    TBevelPanel* pnlLyricsWindowFont;
    QGroupBox* gbTimeDisplay;
    TBevelPanel* pnlTimeDisplay;
    TColorPicker* cbTimeText;
    TColorPicker* cbTimeBackground;
    QGroupBox* gbInstruments;
    TCheckBox* cbDefaultInstruments;
    QScrollArea* ScrollBox1;
    QList<TBevelPanel*> TrackPanels;
    TCheckBox* cbChangeAll;
    QPushButton* btnClearAll;
    QGroupBox* GroupBox1;
    QComboBox* cbMidiOutput;
    QPushButton* btnOk;
    QPushButton* btnCancel;
    QPushButton* btnApply;
    TInstrumentMenu* pmInstruments;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Construction, in SettingsLayout.cpp.
    void createControls();
    void createLyricOptions();
    void createTimeDisplayOptions();
    void createInstrumentOptions();
    void createPortChoice();
    void createButtons();
    void bindHandlers();
    // Runs a handler so that what it throws reaches the error report.
    static void guarded(const std::function<void()>& handler);

    void FormShow();
    void fillPortList();

    void cbBackgroundColorChange();
    void cbTextColorChange();
    void cbHilightColorChange();
    void cbTimeTextColorChange();
    void cbTimeBackgroundColorChange();
    void sbLyricsWindowFontClick();
    void cbDefaultInstrumentsClick();
    void TrackPanelMouseDown(TBevelPanel* panel, const QPoint& globalPos);
    void pmInstrumentsPopup();
    void InstrumentClick(QAction* item);
    void btnClearAllClick();

    void NumberTrackPanels();
    void WireInstrumentMenu();
    void ShowInstrumentOnMainPanel(const TBevelPanel* panel);
    void enableInstrumentChoice(bool enabled);

    IMainWindowLink& m_main;
    TMidiOutput& m_output;
    TfrmLyrics* m_lyrics = nullptr;
    QList<QMetaObject::Connection> m_instrumentClicks;
};

} // namespace harmonet
