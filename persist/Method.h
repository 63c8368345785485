#pragma once

#include <QByteArray>
#include <QMetaType>
#include <QObject>
#include <QPointer>

namespace harmonet {

// A handler bound to an object: the object and the name of one of its slots or
// Q_INVOKABLE methods. A component publishes an event as a property of this
// type (Q_PROPERTY(harmonet::TMethod OnChange READ ... WRITE ...)) and calls
// the handler with QMetaObject::invokeMethod(handler.object, handler.name,
// arguments...) when the event happens. No object means no handler.
struct TMethod {
    QPointer<QObject> object;
    QByteArray name;

    friend bool operator==(const TMethod& a, const TMethod& b)
    {
        return a.object == b.object && a.name == b.name;
    }
};

} // namespace harmonet

Q_DECLARE_METATYPE(harmonet::TMethod)
