#include "windows/OwnKeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace harmonet {

namespace {

// Watches the shortcut check that precedes every key press of the program.
class ToolWindowKeys : public QObject {
public:
    explicit ToolWindowKeys(QWidget& mainWindow)
        : QObject(&mainWindow)
        , m_mainWindow(mainWindow)
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress) {
            return false;
        }
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || !isToolWindowOfMain(widget->window())) {
            return false;
        }
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool closesWindow = key->keyCombination() == QKeyCombination(Qt::AltModifier, Qt::Key_F4);
        if (event->type() == QEvent::KeyPress) {
            if (!closesWindow) {
                return false;
            }
            // Where no window manager takes Alt+F4 for itself, it closes the
            // window it is typed in, as the close box does.
            widget->window()->close();
            return true;
        }
        if (!closesWindow && (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
            return false;
        }
        // Accepting the check takes the key from every shortcut.
        event->accept();
        return true;
    }

private:
    // Exactly the windows in which the toolkit lets the main window's shortcuts act.
    bool isToolWindowOfMain(const QWidget* window) const
    {
        return window != &m_mainWindow && window->windowType() == Qt::Tool && window->parentWidget()
            && window->parentWidget()->window() == &m_mainWindow;
    }

    QWidget& m_mainWindow;
};

} // namespace

void keepKeysInToolWindows(QWidget& mainWindow)
{
    qApp->installEventFilter(new ToolWindowKeys(mainWindow));
}

} // namespace harmonet
