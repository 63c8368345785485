#include "widgets/cmpTimeDisplay.h"

#include "widgets/ParentPlacement.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QVariant>

#include <cstdlib>

namespace harmonet {

using namespace controls;

namespace {

// The desktop's button-shadow and button-highlight colours, which draw the bevels.
constexpr TColor kBtnShadow{qint32(0x80000010)};
constexpr TColor kBtnHighlight{qint32(0x80000014)};

// A field of at least two digits, zero-padded, with a minus sign before the
// digits when negative (-3 gives "-03").
QString twoDigitField(qint32 value)
{
    const QString digits = QString::number(std::abs(value)).rightJustified(2, QLatin1Char('0'));
    return value < 0 ? QLatin1Char('-') + digits : digits;
}

// The colour a parent shows for the given role: its own published TColor
// property when it has one (another control of the program), otherwise its palette's.
TColor parentColorOf(const QWidget& parent, const char* property, QPalette::ColorRole role)
{
    const QVariant value = parent.property(property);
    if (value.metaType() == QMetaType::fromType<TColor>()) {
        return value.value<TColor>();
    }
    return fromQColor(parent.palette().color(role));
}

// A colour to paint with; "the control's default" stands for the given fallback.
QColor paintColor(TColor color, TColor fallback)
{
    return toQColor(color == clDefault ? fallback : color);
}

} // namespace

TTimeDisplay::TTimeDisplay(QWidget* parent)
    : QWidget(parent)
{
    resize(100, 20);
    watchParent(parent);
}

QString TTimeDisplay::formatTime(qint32 ms)
{
    const qint32 hours = ms / 3600000;
    const qint32 mins = (ms / 60000) % 60;
    const qint32 secs = (ms / 1000) % 60;
    const qint32 cs = (ms % 1000) / 10;
    return QString::number(hours).rightJustified(2, QLatin1Char(' ')) + QLatin1Char(':')
        + twoDigitField(mins) + QLatin1Char(':') + twoDigitField(secs) + QLatin1Char('.')
        + twoDigitField(cs);
}

void TTimeDisplay::setShows(Shows shows)
{
    if (shows != m_shows) {
        m_shows = shows;
        repaint();
    }
}

void TTimeDisplay::setBarBeat(const QString& text)
{
    if (text == m_barBeat) {
        return;
    }
    m_barBeat = text;
    if (m_shows != Shows::Time) {
        repaint();
    }
}

QString TTimeDisplay::shownText() const
{
    if (m_shows == Shows::Time || m_barBeat.isEmpty()) {
        return formatTime(m_time);
    }
    if (m_shows == Shows::Bars) {
        return m_barBeat;
    }
    // Minutes and seconds only, so both fit the read-out.
    const qint32 minutes = m_time / 60000;
    return m_barBeat + QStringLiteral("  ") + QString::number(minutes) + QLatin1Char(':')
        + twoDigitField((m_time / 1000) % 60);
}

void TTimeDisplay::setTime(qint32 ms)
{
    if (ms == m_time) {
        return;
    }
    m_time = ms;
    m_cs = (ms % 1000) / 10;
    m_secs = (ms / 1000) % 60;
    m_mins = (ms / 60000) % 60;
    m_hours = ms / 3600000;
    // Drawn now rather than at the next pass of the event loop.
    repaint();
}

void TTimeDisplay::setBevelInner(TBevelStyle style)
{
    if (style != m_bevelInner) {
        m_bevelInner = style;
        repaint();
    }
}

void TTimeDisplay::setBevelOuter(TBevelStyle style)
{
    if (style != m_bevelOuter) {
        m_bevelOuter = style;
        repaint();
    }
}

void TTimeDisplay::setBorderStyle(TBorderStyle style)
{
    if (style != m_borderStyle) {
        m_borderStyle = style;
        repaint();
    }
}

void TTimeDisplay::setAlignment(TAlignment alignment)
{
    if (alignment != m_alignment) {
        m_alignment = alignment;
        repaint();
    }
}

void TTimeDisplay::setDisplayFont(const QFont& font)
{
    QFont own = font;
    // Every attribute counts as set here, so the parent's font no longer shows through.
    own.setResolveMask(QFont::AllPropertiesResolved);
    setFont(own);
}

TColor TTimeDisplay::fontColor() const
{
    const QWidget* parent = parentWidget();
    if (parentFont() && parent != nullptr) {
        return parentColorOf(*parent, "FontColor", parent->foregroundRole());
    }
    return m_fontColor;
}

void TTimeDisplay::setFontColor(TColor color)
{
    setParentFont(false);
    m_fontColor = color;
    update();
}

TColor TTimeDisplay::color() const
{
    const QWidget* parent = parentWidget();
    if (m_parentColor && parent != nullptr) {
        return parentColorOf(*parent, "Color", parent->backgroundRole());
    }
    return m_color;
}

void TTimeDisplay::setColor(TColor color)
{
    m_parentColor = false;
    m_color = color;
    update();
}

void TTimeDisplay::setAlign(TAlign align)
{
    m_align = align;
    applyAlign();
}

void TTimeDisplay::setParentColor(bool on)
{
    if (on != m_parentColor) {
        // Switching off keeps the colour shown until then.
        m_color = color();
        m_parentColor = on;
        update();
    }
}

void TTimeDisplay::setParentFont(bool on)
{
    if (on == parentFont()) {
        return;
    }
    if (on) {
        // A font with no attribute of its own takes every one from the parent.
        setFont(QFont());
    } else {
        m_fontColor = fontColor();
        setDisplayFont(font());
    }
}

int TTimeDisplay::tabOrder() const
{
    return tabOrderOf(*this);
}

void TTimeDisplay::setTabOrder(int position)
{
    setTabOrderOf(*this, position);
}

QSize TTimeDisplay::sizeHint() const
{
    return QSize(100, 20);
}

void TTimeDisplay::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // The whole client area starts in the background colour, as a freshly
    // erased control does.
    painter.fillRect(rect(), paintColor(color(), clWindow));

    const int inset = m_bevelInner != bvNone ? 2 : (m_bevelOuter != bvNone ? 1 : 0);
    drawBevel(painter, 0, 0, width() - 1, height() - 1, m_bevelOuter);
    drawBevel(painter, 1, 1, width() - 3, height() - 3, m_bevelInner);
    m_textRect = TEdges{inset, inset, width() - 2 * inset, height() - 2 * inset};
    drawTime(painter);
}

void TTimeDisplay::drawBevel(QPainter& painter, int x, int y, int w, int h,
                             TBevelStyle style) const
{
    if (style != bvLowered && style != bvRaised) {
        return;
    }
    const QColor shadow = toQColor(kBtnShadow);
    const QColor highlight = toQColor(kBtnHighlight);
    const QColor first = style == bvLowered ? shadow : highlight;
    const QColor second = style == bvLowered ? highlight : shadow;
    // Left edge from the bottom up, then the top edge: (x, y + h) to (x, y) to (x + w, y).
    painter.fillRect(QRect(x, y, 1, h + 1), first);
    painter.fillRect(QRect(x, y, w + 1, 1), first);
    // Right edge down, then the bottom edge: (x + w, y + 1) to (x + w, y + h) to (x + 1, y + h).
    painter.fillRect(QRect(x + w, y + 1, 1, h), second);
    painter.fillRect(QRect(x + 1, y + h, w, 1), second);
}

void TTimeDisplay::drawTime(QPainter& painter) const
{
    const QString text = shownText();
    const QFontMetrics metrics(font());
    const int textWidth = metrics.horizontalAdvance(text);
    const TEdges& r = m_textRect;

    int x = r.left + 1;
    if (m_alignment == taRightJustify) {
        x = r.right - textWidth - 1;
    } else if (m_alignment == taCenter) {
        x = r.left + (r.right - r.left - textWidth) / 2;
    }

    const QColor background = paintColor(color(), clWindow);
    painter.fillRect(QRect(r.left, r.top, r.right - r.left, r.bottom - r.top), background);
    // The text goes on its own background, one pixel below the top of the
    // control whatever the height.
    painter.fillRect(QRect(x, 1, textWidth, metrics.height()), background);
    painter.setFont(font());
    painter.setPen(paintColor(fontColor(), clWindowText));
    painter.drawText(x, 1 + metrics.ascent(), text);
}

bool TTimeDisplay::event(QEvent* event)
{
    if (event->type() == QEvent::ParentChange) {
        watchParent(parentWidget());
        applyAlign();
    }
    return QWidget::event(event);
}

bool TTimeDisplay::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_watchedParent && event->type() == QEvent::Resize) {
        applyAlign();
    }
    return QWidget::eventFilter(watched, event);
}

void TTimeDisplay::watchParent(QWidget* parent)
{
    if (m_watchedParent == parent) {
        return;
    }
    if (m_watchedParent != nullptr) {
        m_watchedParent->removeEventFilter(this);
    }
    m_watchedParent = parent;
    if (parent != nullptr) {
        parent->installEventFilter(this);
    }
}

void TTimeDisplay::applyAlign()
{
    const QWidget* parent = parentWidget();
    if (m_align == alNone || parent == nullptr) {
        return;
    }
    const QRect client = parent->contentsRect();
    setGeometry(alignedGeometry(m_align, geometry(), client.size()).translated(client.topLeft()));
}

} // namespace harmonet
