#include "widgets/ButtonKeys.h"

#include <QAbstractButton>
#include <QFocusEvent>
#include <QKeyEvent>

namespace harmonet {

bool isButtonPressKey(const QKeyEvent* event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    return modifiers == Qt::NoModifier
        && (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter);
}

TButtonKeys::TButtonKeys(QWidget* button)
    : QObject(button)
{
}

void TButtonKeys::install(QWidget* button)
{
    button->installEventFilter(new TButtonKeys(button));
}

bool TButtonKeys::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::FocusIn:
        switch (static_cast<QFocusEvent*>(event)->reason()) {
        case Qt::MouseFocusReason:
            m_keyboardFocus = false;
            break;
        case Qt::ActiveWindowFocusReason:
        case Qt::PopupFocusReason:
        case Qt::MenuBarFocusReason:
            // The focus comes back where it was: so does its meaning.
            break;
        default:
            m_keyboardFocus = true;
            break;
        }
        break;
    case QEvent::ShortcutOverride:
        if (m_keyboardFocus && isButtonPressKey(static_cast<QKeyEvent*>(event))) {
            event->accept();
            return true;
        }
        break;
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        auto* button = qobject_cast<QAbstractButton*>(watched);
        if (button && m_keyboardFocus && isButtonPressKey(key) && key->key() != Qt::Key_Space) {
            if (!key->isAutoRepeat()) {
                button->click();
            }
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace harmonet
