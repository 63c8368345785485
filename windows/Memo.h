#pragma once

#include "persist/Font.h"

#include <QPlainTextEdit>

namespace harmonet {

// A multi-line text box whose font (with its colour, the text's colour) is
// published so that the settings can keep it.
class TMemo : public QPlainTextEdit {
    Q_OBJECT
    Q_PROPERTY(harmonet::TFont Font READ memoFont WRITE setMemoFont)

public:
    explicit TMemo(QWidget* parent = nullptr);

    TFont memoFont() const { return m_font; }
    void setMemoFont(const TFont& font);
    // Scrolls the line (a block of the text, counted from 0) into view, a
    // third of the way down, when any of it is out of sight.
    void showLine(int line);
    // Whether the whole line is in sight.
    bool lineInView(int line) const;

private:
    TFont m_font;
};

} // namespace harmonet
