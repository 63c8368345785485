#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

class QWidget;

namespace harmonet {

// How screen readers and other assistive tools see a custom control that acts
// as a button: named by its caption or hint, with the role of a button,
// checkable and checked where it toggles, and pressable through its press action.
struct AccessibleButtonBehaviour {
    // Whether the control acts as a button now (else it is static text). Asked
    // every time: a control may become a button after it was first looked at.
    std::function<bool(const QWidget&)> isButton;
    // Its name where no accessible name was set: its caption or its hint.
    std::function<QString(const QWidget&)> caption;
    std::function<bool(const QWidget&)> isToggle;
    std::function<bool(const QWidget&)> isChecked;
    std::function<void(QWidget&)> press;
};

// Makes controls whose class (as its meta-object names it) is className
// appear as buttons. Calling it again for the same class keeps the first.
void registerAccessibleButton(const QByteArray& className, AccessibleButtonBehaviour behaviour);

} // namespace harmonet
