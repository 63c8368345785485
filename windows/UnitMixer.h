#pragma once

#include <QList>
#include <QWidget>

class QLabel;
class QScrollArea;
class QSlider;

namespace harmonet {

class IMainWindowLink;
class PlayingSession;
class TIniOut;

// The track mixer: one column for each track of the loaded song that has
// channel events, with a vertical volume slider and a horizontal balance
// slider. Moving a slider sends controller 7 or 10 on the track's channel at
// once and records the value in the session's settings of the track, where
// the routing of played events keeps it in force while this window exists.
// The window keeps no copy of the values.
//
// It is created on demand by the main window and frees itself when closed,
// telling the main window through its link. The columns are built at the
// first showing, for the song loaded then, without sending anything.
class TfrmMixer : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int Top READ Top WRITE SetTop)
    Q_PROPERTY(int Left READ Left WRITE SetLeft)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)

public:
    static constexpr int ColumnWidth = 48;
    static constexpr int ColumnHeight = 212;

    TfrmMixer(QWidget* owner, PlayingSession& session, IMainWindowLink& mainWindow);
    ~TfrmMixer() override;

    int Top() const { return y(); }
    void SetTop(int top) { move(x(), top); }
    int Left() const { return x(); }
    void SetLeft(int left) { move(left, y()); }
    int Width() const { return width(); }
    void SetWidth(int width) { resize(width, height()); }
    int Height() const { return height(); }
    void SetHeight(int height) { resize(width(), height); }

    QScrollArea* ScrollBox1() const { return m_scrollBox; }
    TIniOut* IniOut1() const { return m_iniOut; }
    // The sliders of the columns, in column order.
    const QList<QSlider*>& volumeSliders() const { return m_volumeSliders; }
    const QList<QSlider*>& balanceSliders() const { return m_balanceSliders; }

    // The handlers of the sliders' changes: send the value on the track's
    // channel and record it for the track.
    void VolumeChange(QSlider* slider);
    void BalanceChange(QSlider* slider);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Keeps the loaded place when the window fits the screen there, else centres it.
    void placeWindow();
    void buildColumns();
    void addColumn(int column, int trackIndex);
    // The window as wide as its columns, as far as the screen allows; wider
    // songs scroll sideways.
    void fitToColumns();
    // Runs the slider's change handler; when the output refuses the message
    // the error is reported and the slider shows the track's value again.
    void sliderChanged(QSlider* slider);
    // A slider's value to the one the file gave its track.
    void resetToFile(QSlider* slider);
    // Esc closes the window, F1 shows its help page; true when the key was one of these.
    bool FormKeyPress(const QKeyEvent& key);
    // The index of the slider's track in the song.
    int trackOf(const QSlider* slider) const;

    PlayingSession& m_session;
    IMainWindowLink& m_mainWindow;
    QScrollArea* m_scrollBox;
    QWidget* m_columns;
    TIniOut* m_iniOut;
    QList<QSlider*> m_volumeSliders;
    QList<QSlider*> m_balanceSliders;
    QSlider* m_trackOneVolume = nullptr;
    bool m_built = false;
    bool m_centred = false;
};

} // namespace harmonet
