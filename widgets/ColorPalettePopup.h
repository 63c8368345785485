#pragma once

#include "core/Color.h"

#include <QFrame>
#include <QRect>

#include <array>

class QPushButton;

namespace harmonet {

// The drop-down of a colour picker: twenty fixed colours in four rows of five,
// and an "&Other" button for any colour. A click on a colour (or Return or
// Space on the colour marked with the arrow keys) chooses it; Esc or a click
// elsewhere closes the drop-down without a choice.
class TColorPalettePopup : public QFrame {
    Q_OBJECT

public:
    static constexpr int kRows = 4;
    static constexpr int kColumns = 5;
    // The fixed colours, row by row, in the 0x00BBGGRR layout.
    static const std::array<TColor, kRows * kColumns>& paletteColors();

    explicit TColorPalettePopup(QWidget* parent);

    // The place of colour number index (row by row) in the drop-down.
    QRect cellRect(int index) const;
    // The colour the keyboard marks; starts on the given colour when it is
    // one of the palette, else on the first.
    int markedCell() const { return m_marked; }
    void markColor(TColor color);
    QPushButton* otherButton() const { return m_other; }

signals:
    void colorChosen(harmonet::TColor color);
    void otherRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int cellAt(QPoint position) const;
    void choose(int index);

    int m_marked = 0;
    QPushButton* m_other = nullptr;
};

} // namespace harmonet
