#pragma once

#include "windows/ErrorMessageQueue.h"

#include <QApplication>

namespace harmonet {

// The application object. It carries the application title, shows every
// error that reaches the error report in a message box under that title, and
// catches whatever a handler, timer tick or dispatched event throws, so that
// no exception unwinds through the event loop: the message is shown and the
// program goes on. Messages are shown one at a time (TErrorMessageQueue).
class THarmonetApplication : public QApplication {
    Q_OBJECT

public:
    THarmonetApplication(int& argc, char** argv);
    ~THarmonetApplication() override;

    QString title() const { return m_title; }
    void setTitle(const QString& title) { m_title = title; }

    bool notify(QObject* receiver, QEvent* event) override;

private:
    void showError(const QString& message) const;

    QString m_title;
    TErrorMessageQueue m_errors;
};

} // namespace harmonet
