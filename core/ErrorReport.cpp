#include "core/ErrorReport.h"

#include "core/Exception.h"

#include <cstdio>
#include <utility>

#include <QCoreApplication>

namespace harmonet {

namespace {
ErrorReporter& currentReporter()
{
    static ErrorReporter reporter;
    return reporter;
}
} // namespace

ErrorReporter setErrorReporter(ErrorReporter reporter)
{
    return std::exchange(currentReporter(), std::move(reporter));
}

void reportError(const QString& message)
{
    if (const ErrorReporter& reporter = currentReporter()) {
        reporter(message);
    } else {
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    }
}

void reportError(const std::exception& error)
{
    if (auto* own = dynamic_cast<const Exception*>(&error)) {
        reportError(own->message());
    } else {
        reportError(QString::fromLocal8Bit(error.what()));
    }
}

bool runGuarded(const std::function<void()>& work)
{
    try {
        work();
        return true;
    } catch (const std::exception& error) {
        reportError(error);
    } catch (...) {
        reportError(QCoreApplication::translate("Errors", "Unknown error"));
    }
    return false;
}

} // namespace harmonet
