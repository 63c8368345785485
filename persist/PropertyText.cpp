#include "persist/PropertyText.h"

#include "persist/ExtractField.h"
#include "persist/Font.h"
#include "persist/Method.h"
#include "persist/PropertyTextError.h"
#include "persist/ValueText.h"

#include <QRegularExpression>

namespace harmonet {

namespace {

const QChar kFieldSeparator = QLatin1Char('|');
// Objects nested deeper than this (a chain of unnamed objects referring to one
// another) are written empty and not read.
constexpr int kMaxNesting = 8;

bool isObjectPointer(const QMetaType& type)
{
    return type.flags().testFlag(QMetaType::PointerToQObject);
}

QString nestedToText(const PublishedObject& object, int depth);
void nestedFromText(QObject* window, const PublishedObject& object, const QString& text, int depth);

std::optional<QString> objectToText(const QVariant& value, int depth)
{
    const QMetaType type = value.metaType();
    if (type.id() == QMetaType::QStringList)
        return value.toStringList().join(kFieldSeparator);
    if (type.id() == QMetaType::QFont) {
        QVariant font = QVariant::fromValue(TFont::fromQFont(value.value<QFont>()));
        return nestedToText(PublishedObject::gadget(font), depth + 1);
    }
    if (isObjectPointer(type)) {
        QObject* held = value.value<QObject*>();
        if (held == nullptr)
            return std::nullopt;
        if (!held->objectName().isEmpty())
            return held->objectName();
        return nestedToText(held, depth + 1);
    }
    QVariant gadget = value;
    return nestedToText(PublishedObject::gadget(gadget), depth + 1);
}

std::optional<QString> propertyToText(const PublishedObject& object, const PublishedProperty& property,
                                      int depth)
{
    const QVariant value = object.read(property);
    switch (property.kind) {
    case PropertyKind::Object:
        return objectToText(value, depth);
    case PropertyKind::Method: {
        const TMethod handler = value.value<TMethod>();
        return handler.object.isNull() ? QString() : QString::fromLatin1(handler.name);
    }
    default:
        return valueToText(property, value);
    }
}

QString nestedToText(const PublishedObject& object, int depth)
{
    if (object.isNull() || depth > kMaxNesting)
        return {};
    QString text;
    for (const PublishedProperty& property : object.properties())
        text += propertyToText(object, property, depth).value_or(QString()) + kFieldSeparator;
    text.chop(1);
    return text;
}

void assign(const PublishedObject& object, const PublishedProperty& property, const QVariant& value)
{
    if (!object.write(property, value)) {
        throw EPropertyTextError(
            QStringLiteral("The property %1 refuses the value given.").arg(property.name));
    }
}

// The lines of a string list's text: "|" (or a line break) ends a line, and a
// final empty line is no line.
QStringList linesOf(const QString& text)
{
    if (text.isEmpty())
        return {};
    static const QRegularExpression lineEnd(QStringLiteral("\\||\\r\\n|\\r|\\n"));
    QStringList lines = text.split(lineEnd);
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

void objectFromText(QObject* window, const PublishedObject& object, const PublishedProperty& property,
                    const QString& text, int depth)
{
    const QMetaType type = property.meta.metaType();
    if (type.id() == QMetaType::QStringList) {
        assign(object, property, linesOf(text));
    } else if (isObjectPointer(type)) {
        // A named component is written by its name, so only an unnamed object
        // reads nested text: a text naming no component never overwrites the
        // properties of a component the property refers to.
        QObject* held = object.read(property).value<QObject*>();
        if (QObject* component = findOwnedComponent(window, text))
            assign(object, property, QVariant::fromValue(component));
        else if (held != nullptr && held->objectName().isEmpty())
            nestedFromText(window, held, text, depth + 1);
    } else if (type.id() == QMetaType::QFont) {
        QVariant font = QVariant::fromValue(TFont::fromQFont(object.read(property).value<QFont>()));
        nestedFromText(window, PublishedObject::gadget(font), text, depth + 1);
        assign(object, property, QVariant(font.value<TFont>().toQFont()));
    } else {
        QVariant gadget = object.read(property);
        nestedFromText(window, PublishedObject::gadget(gadget), text, depth + 1);
        assign(object, property, gadget);
    }
}

void propertyFromText(QObject* window, const PublishedObject& object, const PublishedProperty& property,
                      const QString& text, int depth)
{
    switch (property.kind) {
    case PropertyKind::Object:
        objectFromText(window, object, property, text, depth);
        break;
    case PropertyKind::Method: {
        const QByteArray handler = findHandler(window, text);
        if (!handler.isEmpty())
            assign(object, property, QVariant::fromValue(TMethod{window, handler}));
        break;
    }
    default:
        if (const std::optional<QVariant> value = valueFromText(property, object.read(property), text))
            assign(object, property, *value);
        break;
    }
}

void nestedFromText(QObject* window, const PublishedObject& object, const QString& text, int depth)
{
    if (object.isNull() || depth > kMaxNesting)
        return;
    const QList<PublishedProperty> properties = object.properties();
    for (qsizetype i = 0; i < properties.size(); ++i) {
        const PublishedProperty& property = properties.at(i);
        if (property.kind == PropertyKind::Object || property.kind == PropertyKind::Method)
            return;
        try {
            propertyFromText(window, object, property, ExtractField(text, int(i), kFieldSeparator), depth);
        } catch (const EPropertyTextError&) {
            // One field that does not convert does not cost the object its other fields.
        }
    }
}

} // namespace

std::optional<QString> PropertyToText(const PublishedObject& object, const PublishedProperty& property)
{
    return propertyToText(object, property, 0);
}

QString PropertyToText(const PublishedObject& object)
{
    return nestedToText(object, 0);
}

void TextToProperty(QObject* window, const PublishedObject& object, const PublishedProperty& property,
                    const QString& text)
{
    propertyFromText(window, object, property, text, 0);
}

void TextToProperty(QObject* window, const PublishedObject& object, const QString& text)
{
    nestedFromText(window, object, text, 0);
}

} // namespace harmonet
