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
        if (event->type() != QEvent::ShortcutOverride) {
            return false;
        }
        const auto* widget = qobject_cast<QWidget*>(watched);
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!widget || !isToolWindowOfMain(widget->window())
            || (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
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
