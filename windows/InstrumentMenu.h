#pragma once

#include <QFrame>
#include <QList>

class QAction;

namespace harmonet {

// A popup menu of the 128 General MIDI programs laid out in four columns of 32
// (a new column at programs 32, 64 and 96). Each entry is a checkable action
// named Midi0..Midi127 whose caption is the program's name; the actions belong
// to the popup, which belongs to the window that owns the menu, so the window
// finds them by name like any other menu item of its own. Choosing an entry
// triggers its action and closes the popup.
class TInstrumentMenu : public QFrame {
    Q_OBJECT

public:
    static constexpr int ProgramCount = 128;
    static constexpr int RowsPerColumn = 32;

    TInstrumentMenu(const QString& name, QWidget* owner);

    const QList<QAction*>& items() const { return m_items; }

    // Opens the popup with its top left corner at the global position, after
    // aboutToShow has let the owner set the check marks.
    void popup(const QPoint& globalPos);

signals:
    void aboutToShow();

private:
    QList<QAction*> m_items;
};

} // namespace harmonet
