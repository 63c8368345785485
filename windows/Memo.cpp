#include "windows/Memo.h"

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

} // namespace harmonet
