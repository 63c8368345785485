#include "widgets/ColorPicker.h"

#include "widgets/ColorPalettePopup.h"

#include <QColorDialog>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

namespace harmonet {

TColorPicker::TColorPicker(QWidget* parent)
    : QAbstractButton(parent)
{
    m_custom.fill(clWhite);
    setFocusPolicy(Qt::StrongFocus);
    resize(45, 22);
    m_popup = new TColorPalettePopup(this);
    connect(this, &QAbstractButton::clicked, this, &TColorPicker::dropDown);
    connect(m_popup, &TColorPalettePopup::colorChosen, this, &TColorPicker::takeChoice);
    connect(m_popup, &TColorPalettePopup::otherRequested, this, &TColorPicker::chooseOtherColor);
}

void TColorPicker::setColor(TColor color)
{
    m_color = color;
    update();
}

void TColorPicker::dropDown()
{
    m_popup->markColor(m_color);
    m_popup->move(mapToGlobal(QPoint(0, height())));
    m_popup->show();
    m_popup->setFocus(Qt::PopupFocusReason);
}

void TColorPicker::chooseOtherColor()
{
    QColorDialog dialog(toQColor(m_color), this);
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    // The dialog's custom colours are shared by the whole program; each picker
    // brings its own in and takes them back out.
    for (int i = 0; i < kCustomColorCount; ++i) {
        QColorDialog::setCustomColor(i, toQColor(m_custom[i]));
    }
    const bool confirmed = dialog.exec() == QDialog::Accepted;
    for (int i = 0; i < kCustomColorCount; ++i) {
        m_custom[i] = fromQColor(QColorDialog::customColor(i));
    }
    if (confirmed) {
        takeChoice(fromQColor(dialog.selectedColor()));
    }
}

void TColorPicker::takeChoice(TColor color)
{
    setColor(color);
    emit colorChange();
}

QSize TColorPicker::sizeHint() const
{
    return QSize(45, 22);
}

void TColorPicker::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QStyleOptionButton option;
    option.initFrom(this);
    option.state |= isDown() || m_popup->isVisible() ? QStyle::State_Sunken : QStyle::State_Raised;
    style()->drawControl(QStyle::CE_PushButtonBevel, &option, &painter, this);

    // The colour fills the face left of a small drop-down arrow.
    const int arrowWidth = 9;
    const QRect face = rect().adjusted(4, 4, -(5 + arrowWidth), -4);
    painter.fillRect(face, isEnabled() ? toQColor(m_color) : palette().color(QPalette::Button));
    painter.setPen(palette().color(isEnabled() ? QPalette::ButtonText : QPalette::Dark));
    painter.drawRect(face.adjusted(0, 0, -1, -1));

    QStyleOption arrow;
    arrow.initFrom(this);
    arrow.rect = QRect(face.right() + 3, 0, arrowWidth, height());
    style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &arrow, &painter, this);
}

void TColorPicker::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Down && (event->modifiers() & Qt::AltModifier)) {
        dropDown();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

} // namespace harmonet
