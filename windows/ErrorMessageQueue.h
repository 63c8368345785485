#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace harmonet {

// Shows the messages of the application's error report one at a time. A
// message box runs its own event loop, so playback ticks go on while it is
// open; an error that repeats on every tick must not stack box upon box. While
// a message is shown, a further one waits its turn, and one that is already
// shown or waiting is dropped.
class TErrorMessageQueue {
public:
    // show presents one message and returns when the user has dismissed it.
    explicit TErrorMessageQueue(std::function<void(const QString&)> show) : m_show(std::move(show)) {}

    void report(const QString& message);

private:
    std::function<void(const QString&)> m_show;
    bool m_showing = false;
    QString m_current;
    QStringList m_waiting;
};

} // namespace harmonet
