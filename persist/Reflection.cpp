#include "persist/Reflection.h"

#include "core/Color.h"
#include "persist/Cursor.h"
#include "persist/Method.h"

#include <QHash>
#include <QMetaEnum>
#include <QMetaMethod>
#include <QMutex>
#include <QQueue>
#include <algorithm>
#include <cstring>

namespace harmonet {

namespace {

bool isQtClass(const QMetaObject* meta)
{
    const char* name = meta->className();
    return name[0] == 'Q' && std::strstr(name, "::") == nullptr;
}

// The nearest of the class and its bases that is one of Qt's own, or null.
const QMetaObject* qtBase(const QMetaObject* meta)
{
    for (; meta != nullptr; meta = meta->superClass()) {
        if (isQtClass(meta))
            return meta;
    }
    return nullptr;
}

bool isIntegerType(int id)
{
    switch (id) {
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::Short: case QMetaType::UShort:
    case QMetaType::Long: case QMetaType::ULong: case QMetaType::LongLong:
    case QMetaType::ULongLong: case QMetaType::SChar: case QMetaType::UChar:
        return true;
    default:
        return false;
    }
}

void describeMembers(const QMetaProperty& meta, PublishedProperty& property)
{
    const QMetaEnum enumerator = meta.enumerator();
    const bool set = meta.isFlagType();
    property.kind = set ? PropertyKind::Set : PropertyKind::Enumeration;
    property.typeName = QString::fromLatin1(enumerator.name());
    for (int i = 0; i < enumerator.keyCount(); ++i) {
        const qint64 value = enumerator.value(i);
        if (set && value == 0)
            continue;
        property.memberNames.append(QString::fromLatin1(enumerator.key(i)));
        property.memberValues.append(value);
    }
}

PublishedProperty describe(const QMetaProperty& meta)
{
    PublishedProperty property;
    property.meta = meta;
    property.name = QString::fromLatin1(meta.name());
    const QMetaType type = meta.metaType();
    property.typeName = QString::fromLatin1(type.name());
    if (meta.isEnumType()) {
        describeMembers(meta, property);
    } else if (type == QMetaType::fromType<TColor>()) {
        property.kind = PropertyKind::Integer;
        property.typeName = QStringLiteral("TColor");
    } else if (type == QMetaType::fromType<TCursor>()) {
        property.kind = PropertyKind::Integer;
        property.typeName = QStringLiteral("TCursor");
    } else if (type == QMetaType::fromType<TMethod>()) {
        property.kind = PropertyKind::Method;
        property.typeName = QStringLiteral("TMethod");
    } else if (type.id() == QMetaType::Bool) {
        property.kind = PropertyKind::Enumeration;
        property.typeName = QStringLiteral("Boolean");
        property.memberNames = {QStringLiteral("False"), QStringLiteral("True")};
        property.memberValues = {0, 1};
    } else if (isIntegerType(type.id())) {
        property.kind = PropertyKind::Integer;
    } else if (type.id() == QMetaType::QChar) {
        property.kind = PropertyKind::Character;
    } else if (type.id() == QMetaType::Double || type.id() == QMetaType::Float) {
        property.kind = PropertyKind::Float;
    } else if (type.id() == QMetaType::QString) {
        property.kind = PropertyKind::Text;
    } else if (type.id() == QMetaType::QStringList || type.id() == QMetaType::QFont
               || type.flags().testFlag(QMetaType::PointerToQObject)
               || (type.flags().testFlag(QMetaType::IsGadget) && type.metaObject() != nullptr)) {
        property.kind = PropertyKind::Object;
    }
    return property;
}

QList<PublishedProperty> describeProperties(const QMetaObject* meta)
{
    QList<PublishedProperty> properties;
    const QMetaObject* qt = qtBase(meta);
    for (int i = qt != nullptr ? qt->propertyCount() : 0; i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        if (property.isReadable())
            properties.append(describe(property));
    }
    std::stable_sort(properties.begin(), properties.end(),
                     [](const PublishedProperty& a, const PublishedProperty& b) {
                         return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
                     });
    return properties;
}

} // namespace

QList<PublishedProperty> publishedProperties(const QMetaObject* meta)
{
    if (meta == nullptr)
        return {};
    // A class's properties never change, and every item of a window's
    // settings looks its property up: each class is described once.
    static QMutex mutex;
    static QHash<const QMetaObject*, QList<PublishedProperty>> described;
    const QMutexLocker lock(&mutex);
    auto found = described.constFind(meta);
    if (found == described.cend())
        found = described.insert(meta, describeProperties(meta));
    return *found;
}

PublishedObject::PublishedObject(QObject* object)
    : m_meta(object != nullptr ? object->metaObject() : nullptr), m_object(object)
{
}

PublishedObject PublishedObject::gadget(QVariant& value)
{
    const QMetaType type = value.metaType();
    if (!type.flags().testFlag(QMetaType::IsGadget) || type.metaObject() == nullptr)
        return PublishedObject(nullptr, nullptr);
    return PublishedObject(type.metaObject(), value.data());
}

QList<PublishedProperty> PublishedObject::properties() const
{
    return publishedProperties(m_meta);
}

std::optional<PublishedProperty> PublishedObject::property(const QString& name) const
{
    for (const PublishedProperty& property : properties()) {
        if (property.name.compare(name, Qt::CaseInsensitive) == 0)
            return property;
    }
    return std::nullopt;
}

QVariant PublishedObject::read(const PublishedProperty& property) const
{
    if (m_object != nullptr)
        return property.meta.read(m_object);
    if (m_gadget != nullptr)
        return property.meta.readOnGadget(m_gadget);
    return {};
}

bool PublishedObject::write(const PublishedProperty& property, const QVariant& value) const
{
    if (m_object != nullptr)
        return property.meta.write(m_object, value);
    if (m_gadget != nullptr)
        return property.meta.writeOnGadget(m_gadget, value);
    return false;
}

QObject* findOwnedComponent(QObject* window, const QString& name)
{
    if (window == nullptr || name.isEmpty())
        return nullptr;
    QQueue<QObject*> pending;
    pending.append(window->children());
    while (!pending.isEmpty()) {
        QObject* candidate = pending.dequeue();
        if (candidate->objectName().compare(name, Qt::CaseInsensitive) == 0)
            return candidate;
        pending.append(candidate->children());
    }
    return nullptr;
}

QByteArray findHandler(QObject* window, const QString& name)
{
    if (window == nullptr || name.isEmpty())
        return {};
    const QMetaObject* meta = window->metaObject();
    const QMetaObject* qt = qtBase(meta);
    for (int i = qt != nullptr ? qt->methodCount() : 0; i < meta->methodCount(); ++i) {
        const QMetaMethod method = meta->method(i);
        const bool handler = method.methodType() == QMetaMethod::Slot
            || method.methodType() == QMetaMethod::Method;
        if (handler && QString::fromLatin1(method.name()).compare(name, Qt::CaseInsensitive) == 0)
            return method.name();
    }
    return {};
}

} // namespace harmonet
