#pragma once

#include <QObject>

class QKeyEvent;
class QWidget;

namespace harmonet {

// Gives Space and Enter to a button that has the keyboard focus, also where
// the window uses Space as a shortcut of its own. Once the user has moved the
// focus to the button with the keyboard (Tab, Shift+Tab), the keys press the
// button; a focus the window gave it when it was shown, or a mouse click,
// leaves them to the window's shortcut. A standard button, which Enter would
// not press outside a dialog, is clicked by it.
// Space, Enter or Return without modifiers (the keypad's Enter among them):
// the keys that press a button.
bool isButtonPressKey(const QKeyEvent* event);

class TButtonKeys : public QObject {
public:
    // Watches button; owned by it.
    static void install(QWidget* button);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit TButtonKeys(QWidget* button);

    bool m_keyboardFocus = false;
};

} // namespace harmonet
