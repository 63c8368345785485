#pragma once

#include "practice/PracticeRoll.h"
#include "sequencer/BarMap.h"

#include <QColor>
#include <QWidget>
#include <optional>
#include <vector>

class QPainter;

namespace harmonet {

// First and last bar of a stretch of bars, both included.
struct TBarSpan {
    qint64 first = 1;
    qint64 last = 1;
    bool operator==(const TBarSpan&) const = default;
};

// A point of the line of the singer's pitch: where (tick), at which key
// (fractional, moved into the octave of the note she sings), how close to
// that note (Close within 25 cents, Near within 50, Far further), and the
// whole octaves between her voice and the note.
struct TSungPoint {
    enum class Band { Close, Near, Far };
    double tick = 0.0;
    double key = 0.0;
    Band band = Band::Far;
    int octaves = 0;
};

// The note roll of the practice view: my part's notes bright at their
// sounding pitches, the other voices faint (each in its own hue), bar lines
// numbered as printed, the loop shaded, my part's words under its notes
// with the current syllable highlighted, and the playhead. A click on a bar
// asks to play from there, a drag across bars asks for them as the loop;
// the wheel zooms. By keyboard: Left and Right move the bar cursor (Home,
// End: first and last bar), Enter plays from it, Shift with Left or Right
// marks bars and Enter then asks for them as the loop, plus and minus zoom.
class TPracticeRollView : public QWidget {
    Q_OBJECT

public:
    explicit TPracticeRollView(QWidget* parent = nullptr);

    // What to draw, and the bars it is counted in.
    void setSong(TPracticeRoll roll, TBarMap bars, int ticksPerQuarter);
    const TPracticeRoll& roll() const { return m_roll; }
    const TBarMap& bars() const { return m_bars; }

    // Where playing is, in ticks; while following, the roll scrolls to keep it
    // a third of the way in.
    void setPlayingTick(double tick);
    double playingTick() const { return m_playingTick; }
    void setFollowing(bool following);
    bool following() const { return m_following; }

    void setLoop(std::optional<TBarSpan> loop);
    const std::optional<TBarSpan>& loop() const { return m_loop; }
    void setShowOthers(bool show);
    bool showOthers() const { return m_showOthers; }
    // Semitones the song sounds above its written keys.
    void setTranspose(int semitones);
    int transpose() const { return m_transpose; }
    // The line of the singer's pitch over my part's notes, while she sings
    // along (points in order of ticks).
    void addSungPoints(const std::vector<TSungPoint>& points);
    void clearSungLine();
    const std::vector<TSungPoint>& sungLine() const { return m_sung; }
    // The colour of the current syllable and the playhead.
    void setHighlightColor(const QColor& color);

    // Zoom in pixels per quarter note (kept to the zoom steps).
    double zoom() const { return m_zoom; }
    void setZoom(double pixelsPerQuarter);
    void zoomIn();
    void zoomOut();
    // The tick at the left edge.
    double leftTick() const { return m_leftTick; }
    void setLeftTick(double tick);
    // The ticks the roll spans at its width.
    double visibleTicks() const;

    // Where things are drawn now.
    TRollGeometry rollGeometry() const;
    // The bar the keyboard cursor is on.
    qint64 cursorBar() const { return m_cursorBar; }
    // The middle of the words lane, where syllables' text is centred.
    double wordsBaseline() const;

    // Draws the roll onto any painter at the widget's size.
    void paintRoll(QPainter& painter) const;

signals:
    void barClicked(qint64 bar);
    void loopDragged(qint64 firstBar, qint64 lastBar);
    void zoomChanged(double pixelsPerQuarter);
    void leftTickChanged(double tick);
    // The user scrolled or moved the cursor away from the playhead.
    void followingChanged(bool following);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    double barLaneHeight() const;
    double wordsLaneHeight() const;
    qint64 barAtX(double x) const;
    // Zooms keeping the tick at x where it is.
    void zoomAround(double pixelsPerQuarter, double x);
    void moveCursor(qint64 bar, bool marking);
    void scrollToBar(qint64 bar);
    void paintBars(QPainter& painter, const TRollGeometry& geometry) const;
    void paintNotes(QPainter& painter, const TRollGeometry& geometry) const;
    void paintSungLine(QPainter& painter, const TRollGeometry& geometry) const;
    void paintWords(QPainter& painter, const TRollGeometry& geometry) const;
    void paintPlayhead(QPainter& painter, const TRollGeometry& geometry) const;
    void shadeBars(QPainter& painter, const TRollGeometry& geometry, const TBarSpan& span, const QColor& color) const;

    TPracticeRoll m_roll;
    TBarMap m_bars;
    int m_ticksPerQuarter = 480;
    double m_playingTick = 0.0;
    bool m_following = true;
    std::optional<TBarSpan> m_loop;
    bool m_showOthers = true;
    int m_transpose = 0;
    std::vector<TSungPoint> m_sung;
    QColor m_highlight = Qt::red;
    double m_zoom = TRollGeometry::DefaultPixelsPerQuarter;
    double m_leftTick = 0.0;
    qint64 m_cursorBar = 1;
    // Bars marked by Shift with the arrows, from the anchor to the cursor.
    std::optional<qint64> m_markAnchor;
    // A drag under way: from the bar pressed to the bar under the mouse.
    std::optional<TBarSpan> m_drag;
};

} // namespace harmonet
