// Loaded into the installed program by the install test (LD_PRELOAD). Once a
// window titled $ESCAPE_WHEN_TITLE is shown, it makes it the active window and
// presses Escape in it, as a user would. A message box open instead is
// printed and ends the program with exit code 3.
#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace {

QWidget* windowTitled(const QString& title)
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window->windowTitle() == title) {
            return window;
        }
    }
    return nullptr;
}

void pressEscape(QWidget* window)
{
    QWidget* target = window->focusWidget() ? window->focusWidget() : window;
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(target, &release);
}

void watchForTheWindow()
{
    auto* timer = new QTimer(QCoreApplication::instance());
    QObject::connect(timer, &QTimer::timeout, timer, [timer] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            std::fprintf(stderr, "a message is shown: %s\n", qPrintable(box->text()));
            QCoreApplication::exit(3);
            return;
        }
        QWidget* window = windowTitled(qEnvironmentVariable("ESCAPE_WHEN_TITLE"));
        if (window == nullptr) {
            return;
        }
        if (QApplication::activeWindow() != window) {
            window->activateWindow();
            return;
        }
        timer->stop();
        pressEscape(window);
    });
    timer->start(50);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(watchForTheWindow)
