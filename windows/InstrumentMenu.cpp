#include "windows/InstrumentMenu.h"

#include "sequencer/GMPrograms.h"

#include <QAction>
#include <QGridLayout>
#include <QScreen>
#include <QToolButton>

namespace harmonet {

TInstrumentMenu::TInstrumentMenu(const QString& name, QWidget* owner)
    : QFrame(owner, Qt::Popup)
{
    setObjectName(name);
    setFrameStyle(QFrame::StyledPanel | QFrame::Raised);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(2, 2, 2, 2);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(0);

    for (int program = 0; program < ProgramCount; ++program) {
        auto* item = new QAction(GMProgramName(program), this);
        item->setObjectName(QStringLiteral("Midi%1").arg(program));
        item->setCheckable(true);
        connect(item, &QAction::triggered, this, &QWidget::hide);
        m_items.append(item);

        auto* entry = new QToolButton(this);
        entry->setDefaultAction(item);
        entry->setAutoRaise(true);
        entry->setToolButtonStyle(Qt::ToolButtonTextOnly);
        grid->addWidget(entry, program % RowsPerColumn, program / RowsPerColumn, Qt::AlignLeft);
    }
}

void TInstrumentMenu::popup(const QPoint& globalPos)
{
    emit aboutToShow();
    adjustSize();
    QPoint place = globalPos;
    if (const QScreen* screen = QWidget::screen()) {
        const QRect area = screen->availableGeometry();
        place.setX(qBound(area.left(), place.x(), qMax(area.left(), area.right() - width())));
        place.setY(qBound(area.top(), place.y(), qMax(area.top(), area.bottom() - height())));
    }
    move(place);
    show();
}

} // namespace harmonet
