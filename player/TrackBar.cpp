// The slider of the main window's position and tempo: whole steps by key
// and by paging click, a notification when the user has finished a change,
// and a band along the track for a span of values (the loop).
#include "player/TrackBar.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionSlider>
#include <algorithm>
#include <cmath>

namespace harmonet {

namespace {
// The multiple of step nearest to value, halves to the even multiple.
qint64 nearestMultiple(int value, int step)
{
    return qint64(step) * qint64(std::nearbyint(double(value) / step));
}
} // namespace

TTrackBar::TTrackBar(QWidget* parent) : QSlider(Qt::Horizontal, parent), m_pageRepeat(new QTimer(this))
{
    m_pageRepeat->setInterval(PageRepeatMs);
    connect(m_pageRepeat, &QTimer::timeout, this, &TTrackBar::pageTowardMouse);
    connect(this, &QSlider::sliderReleased, this, &TTrackBar::changed);
}

int TTrackBar::nextStep(int value) const
{
    const int step = singleStep();
    if (step <= 0) {
        return maximum();
    }
    return int(std::clamp<qint64>(step + nearestMultiple(value, step), minimum(), maximum()));
}

int TTrackBar::previousStep(int value) const
{
    const int step = singleStep();
    if (step <= 0) {
        return minimum();
    }
    return int(std::clamp<qint64>(nearestMultiple(value, step) - step, minimum(), maximum()));
}

void TTrackBar::keyPressEvent(QKeyEvent* event)
{
    int target = 0;
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up:
        target = previousStep(value());
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
        target = nextStep(value());
        break;
    case Qt::Key_Home:
        target = minimum();
        break;
    case Qt::Key_End:
        target = maximum();
        break;
    default:
        emit keyDown(event);
        event->ignore();
        return;
    }
    event->accept();
    setValue(target);
    emit changed();
}

QRect TTrackBar::thumbRect() const
{
    QStyleOptionSlider option;
    initStyleOption(&option);
    return style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
}

void TTrackBar::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || thumbRect().contains(event->position().toPoint()) || maximum() <= minimum()) {
        QSlider::mousePressEvent(event);
        return;
    }
    event->accept();
    // The value under the mouse: paging stops once the thumb has reached it.
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect groove = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
    const int thumbWidth = thumbRect().width();
    const int x = event->position().toPoint().x() - groove.x() - thumbWidth / 2;
    m_pageTarget = QStyle::sliderValueFromPosition(minimum(), maximum(), x, groove.width() - thumbWidth);
    m_pageForward = m_pageTarget > value();
    m_paging = true;
    pageTowardMouse();
    m_pageRepeat->start();
}

void TTrackBar::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_paging || event->button() != Qt::LeftButton) {
        QSlider::mouseReleaseEvent(event);
        return;
    }
    event->accept();
    m_paging = false;
    m_pageRepeat->stop();
    emit changed();
}

void TTrackBar::pageTowardMouse()
{
    const int now = value();
    const bool reached = m_pageForward ? now >= m_pageTarget : now <= m_pageTarget;
    if (reached) {
        m_pageRepeat->stop();
        return;
    }
    setValue(m_pageForward ? nextStep(now) : previousStep(now));
}

void TTrackBar::setMarkedSpan(const std::optional<std::pair<int, int>>& span)
{
    if (span != m_markedSpan) {
        m_markedSpan = span;
        update();
    }
}

void TTrackBar::paintEvent(QPaintEvent* event)
{
    QSlider::paintEvent(event);
    if (!m_markedSpan || maximum() <= minimum()) {
        return;
    }
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect groove = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
    const int thumb = thumbRect().width();
    const auto xOf = [&](int value) {
        return groove.left() + thumb / 2
            + QStyle::sliderPositionFromValue(minimum(), maximum(), value, std::max(1, groove.width() - thumb));
    };
    const int from = xOf(std::clamp(m_markedSpan->first, minimum(), maximum()));
    const int to = xOf(std::clamp(m_markedSpan->second, minimum(), maximum()));
    QPainter painter(this);
    QColor band = palette().color(QPalette::Highlight);
    band.setAlpha(110);
    painter.fillRect(QRect(QPoint(from, groove.top()), QPoint(std::max(from, to), groove.bottom())), band);
}

} // namespace harmonet
