#pragma once

#include <QString>
#include <stdexcept>

namespace harmonet {

// The one base class of every error the program raises. It carries the
// message text that the application's error report shows to the user.
class Exception : public std::runtime_error {
public:
    explicit Exception(const QString& message)
        : std::runtime_error(message.toStdString()) {}

    QString message() const { return QString::fromStdString(what()); }
};

} // namespace harmonet
