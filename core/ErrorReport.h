#pragma once

#include <QString>
#include <exception>
#include <functional>

namespace harmonet {

// The application's error report: where an exception that escapes a handler,
// a timer tick or a dispatched event ends up. The program installs a reporter
// that shows the message in a message box; tests install one that records.
// Without a reporter the message goes to standard error.
using ErrorReporter = std::function<void(const QString& message)>;

// Installs a reporter and returns the one it replaces.
ErrorReporter setErrorReporter(ErrorReporter reporter);

// Hands the message of the exception being handled (or of a foreign one) to the reporter.
void reportError(const std::exception& error);
void reportError(const QString& message);

// Runs work and reports whatever it throws, so that no exception unwinds
// through Qt's event loop. Returns false when work threw.
bool runGuarded(const std::function<void()>& work);

} // namespace harmonet
