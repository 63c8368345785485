#include "windows/PracticeRollView.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEngine>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace harmonet {

namespace {

// A drag shorter than this is a click.
constexpr double DragThreshold = 4.0;
// How far before the song the roll may scroll, in quarters.
constexpr double QuartersBeforeStart = 1.0;
// The golden ratio's fraction spreads the voices' hues evenly however many there are.
constexpr double HueStep = 0.618033988749895;

// The ratio of device pixels to the painter's pixels: that of the device
// painted on, also when a widget's painting is redirected (to an image, say).
qreal deviceRatio(const QPainter& painter)
{
    const QPaintEngine* engine = painter.paintEngine();
    return engine && engine->paintDevice() ? engine->paintDevice()->devicePixelRatioF()
                                           : painter.device()->devicePixelRatioF();
}

// A coordinate on the device's pixel grid, so that edges stay sharp at any scale.
double snap(double value, qreal dpr)
{
    return std::round(value * dpr) / dpr;
}

QRectF snapped(const QRectF& rect, qreal dpr)
{
    const double left = snap(rect.left(), dpr);
    const double top = snap(rect.top(), dpr);
    return {left, top, std::max(snap(rect.right(), dpr) - left, 1.0 / dpr),
            std::max(snap(rect.bottom(), dpr) - top, 1.0 / dpr)};
}

// A vertical line one device pixel wide (width device pixels) at x.
void verticalLine(QPainter& painter, double x, double top, double bottom, const QColor& color, int width = 1)
{
    const qreal dpr = deviceRatio(painter);
    painter.fillRect(QRectF(snap(x, dpr), top, double(width) / dpr, bottom - top), color);
}

QColor voiceColor(int index, const QPalette& palette)
{
    const bool dark = palette.color(QPalette::Base).lightnessF() < 0.5;
    QColor color = QColor::fromHsvF(std::fmod(0.1 + double(index) * HueStep, 1.0), 0.6, dark ? 0.9 : 0.75);
    color.setAlphaF(0.35);
    return color;
}

// The notes that may show between two ticks: those starting before the right
// edge, from the first that can still sound at the left edge.
template <typename Visit>
void forVisibleNotes(const std::vector<TRollNote>& notes, double fromTick, double toTick, qint32 longest, Visit visit)
{
    auto it = std::lower_bound(notes.begin(), notes.end(), fromTick - double(longest),
                               [](const TRollNote& note, double tick) { return double(note.tick) < tick; });
    for (; it != notes.end() && double(it->tick) <= toTick; ++it) {
        if (double(it->end()) >= fromTick) {
            visit(*it);
        }
    }
}

qint32 longestNote(const std::vector<TRollNote>& notes)
{
    qint32 longest = 0;
    for (const TRollNote& note : notes) {
        longest = std::max(longest, note.length);
    }
    return longest;
}

} // namespace

TPracticeRollView::TPracticeRollView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PracticeRoll"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(200, 120);
    setAccessibleName(tr("Note roll"));
    setAccessibleDescription(tr("Left and Right choose a bar, Enter plays from it; Shift with Left or Right marks "
                                "bars and Enter loops them; plus and minus zoom."));
}

void TPracticeRollView::setSong(TPracticeRoll roll, TBarMap bars, int ticksPerQuarter)
{
    m_roll = std::move(roll);
    m_bars = std::move(bars);
    m_sung.clear();
    m_ticksPerQuarter = std::max(ticksPerQuarter, 1);
    m_cursorBar = std::clamp(m_cursorBar, m_bars.FirstBar(), std::max(m_bars.LastBar(), m_bars.FirstBar()));
    m_markAnchor.reset();
    m_drag.reset();
    update();
}

void TPracticeRollView::setPlayingTick(double tick)
{
    if (tick == m_playingTick) {
        return;
    }
    m_playingTick = tick;
    if (m_following) {
        setLeftTick(rollGeometry().followingLeftTick(tick));
    }
    update();
}

void TPracticeRollView::setFollowing(bool following)
{
    if (following == m_following) {
        return;
    }
    m_following = following;
    if (following) {
        setLeftTick(rollGeometry().followingLeftTick(m_playingTick));
    }
    emit followingChanged(following);
}

void TPracticeRollView::setLoop(std::optional<TBarSpan> loop)
{
    m_loop = loop;
    update();
}

void TPracticeRollView::setShowOthers(bool show)
{
    m_showOthers = show;
    update();
}

void TPracticeRollView::setTranspose(int semitones)
{
    m_transpose = semitones;
    update();
}

void TPracticeRollView::setHighlightColor(const QColor& color)
{
    m_highlight = color;
    update();
}

void TPracticeRollView::setZoom(double pixelsPerQuarter)
{
    zoomAround(pixelsPerQuarter, rollGeometry().xOfTick(m_following ? m_playingTick : m_leftTick));
}

void TPracticeRollView::zoomIn()
{
    setZoom(TRollGeometry::zoomedIn(m_zoom));
}

void TPracticeRollView::zoomOut()
{
    setZoom(TRollGeometry::zoomedOut(m_zoom));
}

void TPracticeRollView::zoomAround(double pixelsPerQuarter, double x)
{
    const double zoom = TRollGeometry::nearestZoom(pixelsPerQuarter);
    if (zoom == m_zoom) {
        return;
    }
    const double tick = rollGeometry().tickAtX(x);
    m_zoom = zoom;
    // The tick under x stays under it.
    setLeftTick(tick - (x - rollGeometry().noteArea().left()) / rollGeometry().pixelsPerTick());
    emit zoomChanged(m_zoom);
    update();
}

void TPracticeRollView::setLeftTick(double tick)
{
    const double earliest = -QuartersBeforeStart * double(m_ticksPerQuarter);
    const double latest = std::max(earliest, double(m_roll.endTick()) - visibleTicks() / 2.0);
    tick = std::clamp(std::isfinite(tick) ? tick : 0.0, earliest, latest);
    if (tick == m_leftTick) {
        return;
    }
    m_leftTick = tick;
    emit leftTickChanged(tick);
    update();
}

double TPracticeRollView::visibleTicks() const
{
    return double(width()) / (m_zoom / double(m_ticksPerQuarter));
}

double TPracticeRollView::barLaneHeight() const
{
    return fontMetrics().height() + 6.0;
}

double TPracticeRollView::wordsLaneHeight() const
{
    return fontMetrics().height() * 2.0 + 6.0;
}

double TPracticeRollView::wordsBaseline() const
{
    return height() - wordsLaneHeight() / 2.0;
}

TRollGeometry TPracticeRollView::rollGeometry() const
{
    const QRectF noteArea(0.0, barLaneHeight(), width(), std::max(height() - barLaneHeight() - wordsLaneHeight(), 1.0));
    return TRollGeometry(m_ticksPerQuarter, m_zoom, m_leftTick, noteArea, m_roll.lowestKey() + m_transpose,
                         m_roll.highestKey() + m_transpose);
}

qint64 TPracticeRollView::barAtX(double x) const
{
    return barAtTick(m_bars, rollGeometry().tickAtX(x));
}

void TPracticeRollView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paintRoll(painter);
}

void TPracticeRollView::paintRoll(QPainter& painter) const
{
    const TRollGeometry geometry = rollGeometry();
    painter.fillRect(rect(), palette().color(QPalette::Base));
    const QColor shade = palette().color(QPalette::Highlight);
    if (m_loop) {
        QColor loopShade = shade;
        loopShade.setAlphaF(0.18);
        shadeBars(painter, geometry, *m_loop, loopShade);
    }
    if (m_drag && m_drag->first != m_drag->last) {
        QColor dragShade = shade;
        dragShade.setAlphaF(0.3);
        shadeBars(painter, geometry, {std::min(m_drag->first, m_drag->last), std::max(m_drag->first, m_drag->last)},
                  dragShade);
    }
    if (m_markAnchor && hasFocus()) {
        QColor markShade = shade;
        markShade.setAlphaF(0.3);
        shadeBars(painter, geometry, {std::min(*m_markAnchor, m_cursorBar), std::max(*m_markAnchor, m_cursorBar)},
                  markShade);
    }
    paintBars(painter, geometry);
    paintNotes(painter, geometry);
    paintSungLine(painter, geometry);
    paintWords(painter, geometry);
    paintPlayhead(painter, geometry);
    if (hasFocus()) {
        // The bar cursor: a frame around the bar, drawn only while the roll has the focus.
        const double left = geometry.xOfTick(m_bars.TicksOfBar(m_cursorBar));
        const double right = geometry.xOfTick(m_bars.TicksOfBar(m_cursorBar + 1));
        const qreal dpr = deviceRatio(painter);
        QPen pen(palette().color(QPalette::Highlight), 2.0);
        pen.setCosmetic(true);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(snapped(QRectF(left + 1, 1, std::max(right - left, 4.0) - 2, height() - 2), dpr));
    }
}

void TPracticeRollView::shadeBars(QPainter& painter, const TRollGeometry& geometry, const TBarSpan& span,
                                  const QColor& color) const
{
    const double left = geometry.xOfTick(m_bars.TicksOfBar(span.first));
    const double right = geometry.xOfTick(m_bars.TicksOfBar(span.last + 1));
    painter.fillRect(snapped(QRectF(left, 0, right - left, height()), deviceRatio(painter)), color);
}

void TPracticeRollView::paintBars(QPainter& painter, const TRollGeometry& geometry) const
{
    const QColor lineColor = palette().color(QPalette::Mid);
    const QColor textColor = palette().color(QPalette::Text);
    painter.setPen(textColor);
    painter.setFont(font());
    const double textTop = 3.0;
    for (const TRollBarLine& line : geometry.barLines(m_bars, m_leftTick, geometry.rightTick())) {
        const double x = geometry.xOfTick(line.tick);
        verticalLine(painter, x, 0.0, height(), lineColor);
        if (line.labelled) {
            painter.drawText(QPointF(snap(x + 3.0, deviceRatio(painter)),
                                     textTop + fontMetrics().ascent()),
                             QString::number(line.bar));
        }
    }
}

void TPracticeRollView::paintNotes(QPainter& painter, const TRollGeometry& geometry) const
{
    const qreal dpr = deviceRatio(painter);
    const double from = m_leftTick;
    const double to = geometry.rightTick();
    painter.save();
    // Voices that go beyond my part's range stop at the edge of the notes.
    painter.setClipRect(geometry.noteArea());
    painter.setPen(Qt::NoPen);
    if (m_showOthers) {
        for (int v = 0; v < m_roll.otherVoices().size(); ++v) {
            const std::vector<TRollNote>& notes = m_roll.otherVoices()[v].notes;
            const QColor color = voiceColor(v, palette());
            forVisibleNotes(notes, from, to, longestNote(notes), [&](const TRollNote& note) {
                painter.fillRect(snapped(geometry.noteRect(note, m_transpose), dpr), color);
            });
        }
    }
    const QColor mine = palette().color(QPalette::Highlight);
    const QColor edge = palette().color(QPalette::Text);
    const std::vector<TRollNote>& notes = m_roll.myNotes();
    forVisibleNotes(notes, from, to, longestNote(notes), [&](const TRollNote& note) {
        const QRectF bar = snapped(geometry.noteRect(note, m_transpose), dpr);
        painter.fillRect(bar, edge);
        // One device pixel of the edge colour around the fill keeps touching notes apart.
        painter.fillRect(bar.adjusted(1.0 / dpr, 1.0 / dpr, -1.0 / dpr, -1.0 / dpr), mine);
    });
    painter.restore();
}

void TPracticeRollView::addSungPoints(const std::vector<TSungPoint>& points)
{
    m_sung.insert(m_sung.end(), points.begin(), points.end());
    update();
}

void TPracticeRollView::clearSungLine()
{
    m_sung.clear();
    update();
}

void TPracticeRollView::paintSungLine(QPainter& painter, const TRollGeometry& geometry) const
{
    if (m_sung.empty()) {
        return;
    }
    // Frames further apart than a sixteenth are a new stretch of singing.
    const double gap = double(m_ticksPerQuarter) / 4.0;
    const auto first = std::lower_bound(m_sung.begin(), m_sung.end(), m_leftTick - gap,
                                        [](const TSungPoint& point, double tick) { return point.tick < tick; });
    const double right = geometry.rightTick() + gap;
    const auto yOf = [&geometry](double key) {
        return geometry.rowTop(0) - key * geometry.rowHeight() + geometry.rowHeight() / 2.0;
    };
    const auto colorOf = [](TSungPoint::Band band) {
        switch (band) {
        case TSungPoint::Band::Close:
            return QColor(0, 158, 60);
        case TSungPoint::Band::Near:
            return QColor(230, 150, 0);
        case TSungPoint::Band::Far:
            break;
        }
        return QColor(214, 32, 32);
    };
    painter.save();
    painter.setClipRect(geometry.noteArea());
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen;
    pen.setWidthF(2.5);
    pen.setCapStyle(Qt::RoundCap);
    painter.setFont(font());
    const TSungPoint* previous = nullptr;
    for (auto point = first; point != m_sung.end() && point->tick <= right; ++point) {
        const QPointF at(geometry.xOfTick(point->tick), yOf(point->key));
        pen.setColor(colorOf(point->band));
        painter.setPen(pen);
        if (previous && point->tick - previous->tick <= gap) {
            painter.drawLine(QPointF(geometry.xOfTick(previous->tick), yOf(previous->key)), at);
        } else {
            painter.drawPoint(at);
            if (point->octaves != 0) {
                // An octave sung lower or higher than written, as a score marks it.
                const int octaves = std::abs(point->octaves);
                const QString mark = octaves == 1 ? QStringLiteral("8v") : QString::number(7 * octaves + 1);
                painter.drawText(at + QPointF(2.0, -4.0),
                                 mark + (point->octaves < 0 ? QStringLiteral("b") : QStringLiteral("a")));
            }
        }
        previous = &*point;
    }
    painter.restore();
}

void TPracticeRollView::paintWords(QPainter& painter, const TRollGeometry& geometry) const
{
    const QList<TRollSyllable>& syllables = m_roll.syllables();
    if (syllables.isEmpty()) {
        return;
    }
    const qreal dpr = deviceRatio(painter);
    const int current = m_roll.currentSyllable(m_playingTick);
    QFont plain = font();
    QFont bold = font();
    bold.setBold(true);
    const QFontMetricsF plainMetrics(plain, painter.device());
    const QFontMetricsF boldMetrics(bold, painter.device());
    const double baseline = snap(wordsBaseline() + plainMetrics.ascent() / 2.0 - plainMetrics.descent() / 2.0, dpr);
    const QColor textColor = palette().color(QPalette::Text);
    const double from = m_leftTick;
    const double to = geometry.rightTick();
    // From the first syllable that may still reach into view (its extender may).
    auto first = std::lower_bound(syllables.begin(), syllables.end(), from,
                                  [](const TRollSyllable& s, double tick) { return double(s.tick) < tick; });
    qsizetype index = std::max<qsizetype>(first - syllables.begin() - 1, 0);
    double drawnUpTo = -1e9;
    for (; index < syllables.size() && double(syllables[index].tick) <= to; ++index) {
        const TRollSyllable& syllable = syllables[index];
        const bool isCurrent = index == current;
        const QFontMetricsF& metrics = isCurrent ? boldMetrics : plainMetrics;
        const double x = std::max(geometry.xOfTick(syllable.tick), drawnUpTo);
        const double textWidth = metrics.horizontalAdvance(syllable.text);
        painter.setFont(isCurrent ? bold : plain);
        painter.setPen(isCurrent ? m_highlight : textColor);
        painter.drawText(QPointF(snap(x, dpr), baseline), syllable.text);
        const double textEnd = x + textWidth;
        drawnUpTo = textEnd + plainMetrics.horizontalAdvance(QLatin1Char(' '));
        painter.setPen(textColor);
        if (syllable.hyphenAfter && index + 1 < syllables.size()) {
            // The hyphen in the middle of the gap to the next syllable.
            const double next = geometry.xOfTick(syllables[index + 1].tick);
            const double hyphen = plainMetrics.horizontalAdvance(QLatin1Char('-'));
            const double gap = next - textEnd;
            if (gap > hyphen) {
                painter.setFont(plain);
                painter.drawText(QPointF(snap(textEnd + (gap - hyphen) / 2.0, dpr), baseline), QStringLiteral("-"));
            }
        } else if (syllable.extenderEnd >= 0) {
            const double lineStart = snap(textEnd + 2.0, dpr);
            const double lineEnd = snap(geometry.xOfTick(syllable.extenderEnd), dpr);
            if (lineEnd > lineStart) {
                // One pixel thick at any scale, on the baseline.
                painter.fillRect(QRectF(lineStart, baseline, lineEnd - lineStart, std::round(dpr) / dpr), textColor);
                drawnUpTo = std::max(drawnUpTo, lineEnd);
            }
        }
    }
}

void TPracticeRollView::paintPlayhead(QPainter& painter, const TRollGeometry& geometry) const
{
    const double x = geometry.xOfTick(m_playingTick);
    if (x < -2.0 || x > width() + 2.0) {
        return;
    }
    const qreal dpr = deviceRatio(painter);
    // Two pixels wide at any scale.
    painter.fillRect(QRectF(snap(x - 1.0, dpr), 0.0, 2.0, height()), m_highlight);
}

void TPracticeRollView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || m_bars.IsEmpty()) {
        QWidget::mousePressEvent(event);
        return;
    }
    const qint64 bar = barAtX(event->position().x());
    m_drag = TBarSpan{bar, bar};
    m_markAnchor.reset();
    m_cursorBar = bar;
    update();
}

void TPracticeRollView::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_drag) {
        return;
    }
    m_drag->last = barAtX(event->position().x());
    update();
}

void TPracticeRollView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_drag) {
        return;
    }
    m_drag->last = barAtX(event->position().x());
    const TBarSpan drag = *m_drag;
    m_drag.reset();
    update();
    if (drag.first == drag.last) {
        emit barClicked(drag.first);
    } else {
        emit loopDragged(std::min(drag.first, drag.last), std::max(drag.first, drag.last));
    }
}

void TPracticeRollView::wheelEvent(QWheelEvent* event)
{
    const QPoint angle = event->angleDelta();
    if (std::abs(angle.x()) > std::abs(angle.y())) {
        // A sideways wheel scrolls: an eighth of the width a notch.
        setFollowing(false);
        setLeftTick(m_leftTick - double(angle.x()) / 120.0 * visibleTicks() / 8.0);
    } else if (angle.y() != 0) {
        const double x = event->position().x();
        zoomAround(angle.y() > 0 ? TRollGeometry::zoomedIn(m_zoom) : TRollGeometry::zoomedOut(m_zoom), x);
    }
    event->accept();
}

void TPracticeRollView::moveCursor(qint64 bar, bool marking)
{
    if (m_bars.IsEmpty()) {
        return;
    }
    if (marking && !m_markAnchor) {
        m_markAnchor = m_cursorBar;
    } else if (!marking) {
        m_markAnchor.reset();
    }
    m_cursorBar = std::clamp(bar, m_bars.FirstBar(), m_bars.LastBar());
    scrollToBar(m_cursorBar);
    update();
}

void TPracticeRollView::scrollToBar(qint64 bar)
{
    const double start = m_bars.TicksOfBar(bar);
    const double end = m_bars.TicksOfBar(bar + 1);
    if (start >= m_leftTick && end <= m_leftTick + visibleTicks()) {
        return;
    }
    setFollowing(false);
    setLeftTick(start - visibleTicks() / 4.0);
}

void TPracticeRollView::keyPressEvent(QKeyEvent* event)
{
    const bool marking = event->modifiers() & Qt::ShiftModifier;
    switch (event->key()) {
    case Qt::Key_Left:
        moveCursor(m_cursorBar - 1, marking);
        break;
    case Qt::Key_Right:
        moveCursor(m_cursorBar + 1, marking);
        break;
    case Qt::Key_Home:
        moveCursor(m_bars.FirstBar(), marking);
        break;
    case Qt::Key_End:
        moveCursor(m_bars.LastBar(), marking);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_markAnchor && *m_markAnchor != m_cursorBar) {
            const TBarSpan span{std::min(*m_markAnchor, m_cursorBar), std::max(*m_markAnchor, m_cursorBar)};
            m_markAnchor.reset();
            update();
            emit loopDragged(span.first, span.last);
        } else if (!m_bars.IsEmpty()) {
            m_markAnchor.reset();
            emit barClicked(m_cursorBar);
        }
        break;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        zoomIn();
        break;
    case Qt::Key_Minus:
        zoomOut();
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void TPracticeRollView::focusInEvent(QFocusEvent* event)
{
    // The cursor starts where the music is.
    if (!m_bars.IsEmpty()) {
        m_cursorBar = barAtTick(m_bars, m_playingTick);
    }
    QWidget::focusInEvent(event);
    update();
}

void TPracticeRollView::focusOutEvent(QFocusEvent* event)
{
    m_markAnchor.reset();
    QWidget::focusOutEvent(event);
    update();
}

} // namespace harmonet
