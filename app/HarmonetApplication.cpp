#include "app/HarmonetApplication.h"

#include "core/ErrorReport.h"
#include "widgets/ProgramIcon.h"

#include <QIcon>
#include <QMessageBox>
#include <QPixmap>

namespace harmonet {

THarmonetApplication::THarmonetApplication(int& argc, char** argv)
    : QApplication(argc, argv)
    , m_errors([this](const QString& message) { showError(message); })
{
    setErrorReporter([this](const QString& message) { m_errors.report(message); });
    // The icon of every window, and the menu entry the desktop shows it under.
    QIcon icon;
    for (int size : {16, 32, 48, 64}) {
        icon.addPixmap(QPixmap::fromImage(programIcon(size)));
    }
    setWindowIcon(icon);
    setDesktopFileName(QStringLiteral("harmonet"));
}

THarmonetApplication::~THarmonetApplication()
{
    setErrorReporter({});
}

bool THarmonetApplication::notify(QObject* receiver, QEvent* event)
{
    bool handled = false;
    runGuarded([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}

void THarmonetApplication::showError(const QString& message) const
{
    QMessageBox box(QMessageBox::Critical, m_title, message, QMessageBox::Ok, activeWindow());
    box.exec();
}

} // namespace harmonet
