#pragma once

#include "windows/PracticeRollView.h"

#include <QTimer>
#include <QWidget>

class QCheckBox;
class QLabel;
class QScrollBar;
class QToolButton;

namespace harmonet {

class IMainWindowLink;
class TIniOut;

// The practice view: a resizable window of its own that shows the singer's
// part as a note roll with its words (TPracticeRollView), the playhead
// moving with the music every frame, a toggle for the other voices, zoom
// buttons and a scroll bar. The main window gives it the song's roll and
// bars and acts on what it asks for (play from a bar, loop bars); the
// place, size, zoom and the toggle are kept in the settings.
class TfrmPracticeView : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int Top READ Top WRITE SetTop)
    Q_PROPERTY(int Left READ Left WRITE SetLeft)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(int Zoom READ Zoom WRITE SetZoom)
    Q_PROPERTY(bool ShowOthers READ ShowOthers WRITE SetShowOthers)

public:
    // The interval of the frames while playing.
    static constexpr int FrameIntervalMs = 16;

    // owner: the main window, which the view stays with; link: its session
    // (the position) and the strip's colours.
    TfrmPracticeView(QWidget* owner, IMainWindowLink& link);
    ~TfrmPracticeView() override;

    int Top() const { return y(); }
    void SetTop(int top) { move(x(), top); }
    int Left() const { return x(); }
    void SetLeft(int left) { move(left, y()); }
    int Height() const { return height(); }
    void SetHeight(int height) { resize(width(), height); }
    int Width() const { return width(); }
    void SetWidth(int width) { resize(width, height()); }
    int Zoom() const { return int(m_roll->zoom()); }
    void SetZoom(int pixelsPerQuarter) { m_roll->setZoom(pixelsPerQuarter); }
    bool ShowOthers() const { return m_roll->showOthers(); }
    void SetShowOthers(bool show);

    // The song to show, and the name of my part ("" for none).
    void setSong(TPracticeRoll roll, TBarMap bars, int ticksPerQuarter, const QString& partName);
    // No song.
    void clearSong();
    // The loop to shade, or none.
    void setLoop(std::optional<TBarSpan> loop) { m_roll->setLoop(loop); }

    TPracticeRollView* roll() const { return m_roll; }
    // Takes the position from the session now, as every frame does.
    void followPosition();
    // Frames painted since the view was created.
    qint64 framesPainted() const { return m_framesPainted; }

    TIniOut* IniOut1;
    QCheckBox* cbOtherVoices;
    QToolButton* btnZoomOut;
    QToolButton* btnZoomIn;
    QLabel* lblPart;
    QScrollBar* sbScroll;

signals:
    // Play from the start of the bar.
    void barClicked(qint64 bar);
    // Loop these bars.
    void loopDragged(qint64 firstBar, qint64 lastBar);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void updateScrollBar();

    IMainWindowLink& m_link;
    TPracticeRollView* m_roll;
    QTimer m_frames;
    bool m_wasPlaying = false;
    qint64 m_framesPainted = 0;
};

} // namespace harmonet
