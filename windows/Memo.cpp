#include "windows/Memo.h"

#include <QScrollBar>
#include <QTextBlock>

namespace harmonet {

TMemo::TMemo(QWidget* parent)
    : QPlainTextEdit(parent)
{
    setMemoFont(m_font);
}

void TMemo::setMemoFont(const TFont& font)
{
    m_font = font;
    QPlainTextEdit::setFont(font.toQFont());
    QPalette look = palette();
    look.setColor(QPalette::Text, toQColor(font.color()));
    setPalette(look);
}

bool TMemo::lineInView(int line) const
{
    const QTextBlock block = document()->findBlockByNumber(line);
    if (!block.isValid()) {
        return false;
    }
    const QRectF place = blockBoundingGeometry(block).translated(contentOffset());
    return place.top() >= 0 && place.bottom() <= viewport()->height();
}

void TMemo::showLine(int line)
{
    const QTextBlock block = document()->findBlockByNumber(line);
    if (!block.isValid() || lineInView(line)) {
        return;
    }
    // The scroll bar counts the lines as laid out (a wrapped block takes several).
    const int linesInView = std::max(viewport()->height() / std::max(fontMetrics().lineSpacing(), 1), 1);
    verticalScrollBar()->setValue(block.firstLineNumber() - linesInView / 3);
}

} // namespace harmonet
