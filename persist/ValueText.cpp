#include "persist/ValueText.h"

#include "core/Color.h"
#include "persist/Cursor.h"
#include "persist/PropertyTextError.h"

#include <QLocale>
#include <QRegularExpression>
#include <limits>

namespace harmonet {

namespace {

struct IntegerRange {
    qint64 lowest;
    quint64 highest;
};

template <typename T>
constexpr IntegerRange rangeOf()
{
    return {qint64(std::numeric_limits<T>::lowest()), quint64(std::numeric_limits<T>::max())};
}

IntegerRange integerRange(const PublishedProperty& property)
{
    switch (property.meta.metaType().id()) {
    case QMetaType::UInt: return rangeOf<quint32>();
    case QMetaType::Short: return rangeOf<qint16>();
    case QMetaType::UShort: return rangeOf<quint16>();
    case QMetaType::Long: return rangeOf<long>();
    case QMetaType::ULong: return rangeOf<unsigned long>();
    case QMetaType::LongLong: return rangeOf<qint64>();
    case QMetaType::ULongLong: return rangeOf<quint64>();
    case QMetaType::SChar: return rangeOf<signed char>();
    case QMetaType::UChar: return rangeOf<unsigned char>();
    default: return rangeOf<qint32>();
    }
}

bool isUnsigned64(const PublishedProperty& property)
{
    const int id = property.meta.metaType().id();
    return id == QMetaType::ULongLong || (id == QMetaType::ULong && sizeof(unsigned long) == 8);
}

[[noreturn]] void notConvertible(const PublishedProperty& property, const QString& text)
{
    throw EPropertyTextError(QStringLiteral("\"%1\" is not a valid value of %2.").arg(text, property.name));
}

// The integer a decimal text names, within the property's range.
QVariant decimalValue(const PublishedProperty& property, const QString& text)
{
    const QString digits = text.trimmed();
    const IntegerRange range = integerRange(property);
    bool ok = false;
    if (isUnsigned64(property) && !digits.startsWith(QLatin1Char('-'))) {
        const quint64 value = digits.toULongLong(&ok, 10);
        if (ok && value <= range.highest)
            return QVariant(value);
    } else {
        const qint64 value = digits.toLongLong(&ok, 10);
        if (ok && value >= range.lowest && (value < 0 || quint64(value) <= range.highest))
            return QVariant(value);
    }
    notConvertible(property, text);
}

// The ordinal of an enumeration, flag or Boolean value.
qint64 ordinalOf(const QVariant& value)
{
    QVariant copy = value;
    if (copy.convert(QMetaType::fromType<qint64>()))
        return copy.toLongLong();
    return 0;
}

QString integerToText(const PublishedProperty& property, const QVariant& value)
{
    if (value.metaType() == QMetaType::fromType<TColor>()) {
        const TColor color = value.value<TColor>();
        const QString identifier = identifierOfColor(color);
        return identifier.isEmpty() ? QString::number(color.value) : identifier;
    }
    if (value.metaType() == QMetaType::fromType<TCursor>()) {
        const TCursor cursor = value.value<TCursor>();
        const QString identifier = identifierOfCursor(cursor);
        return identifier.isEmpty() ? QString::number(cursor.value) : identifier;
    }
    if (isUnsigned64(property))
        return QString::number(value.toULongLong());
    return QString::number(value.toLongLong());
}

std::optional<QVariant> integerFromText(const PublishedProperty& property, const QString& text)
{
    if (text.isEmpty())
        return std::nullopt;
    if (property.typeName == QLatin1String("TColor")) {
        TColor color;
        if (!colorFromIdentifier(text, color))
            color.value = qint32(decimalValue(property, text).toLongLong());
        return QVariant::fromValue(color);
    }
    if (property.typeName == QLatin1String("TCursor")) {
        TCursor cursor;
        if (!cursorFromIdentifier(text, cursor))
            cursor.value = qint32(decimalValue(property, text).toLongLong());
        return QVariant::fromValue(cursor);
    }
    return decimalValue(property, text);
}

QString enumerationToText(const PublishedProperty& property, const QVariant& value)
{
    const qint64 ordinal = ordinalOf(value);
    if (property.typeName == QLatin1String("Boolean"))
        return ordinal != 0 ? QStringLiteral("1") : QStringLiteral("0");
    const qsizetype index = property.memberValues.indexOf(ordinal);
    if (index >= 0)
        return property.memberNames.at(index);
    return property.memberNames.value(0);
}

std::optional<QVariant> enumerationFromText(const PublishedProperty& property,
                                            const QVariant& current, const QString& text)
{
    if (property.typeName == QLatin1String("Boolean")) {
        if (text.isEmpty())
            return std::nullopt;
        return QVariant(QStringLiteral("1TYty").contains(text.front()));
    }
    for (qsizetype i = 0; i < property.memberNames.size(); ++i) {
        if (property.memberNames.at(i).compare(text, Qt::CaseInsensitive) == 0)
            return QVariant(property.memberValues.at(i));
    }
    if (property.memberValues.isEmpty() || property.memberValues.contains(ordinalOf(current)))
        return std::nullopt;
    return QVariant(property.memberValues.front());
}

QString setToText(const PublishedProperty& property, const QVariant& value)
{
    const qint64 mask = ordinalOf(value);
    QStringList present;
    for (qsizetype i = 0; i < property.memberNames.size(); ++i) {
        const qint64 member = property.memberValues.at(i);
        if ((mask & member) == member)
            present.append(property.memberNames.at(i));
    }
    return QLatin1Char('[') + present.join(QLatin1Char(',')) + QLatin1Char(']');
}

// Members are named by whole identifiers: "[fsBold]" does not also name a
// member called "fsBo".
QVariant setFromText(const PublishedProperty& property, const QString& text)
{
    static const QRegularExpression separators(QStringLiteral("[^A-Za-z0-9_]+"));
    const QStringList words = text.split(separators, Qt::SkipEmptyParts);
    qint64 mask = 0;
    for (qsizetype i = 0; i < property.memberNames.size(); ++i) {
        if (words.contains(property.memberNames.at(i), Qt::CaseSensitive))
            mask |= property.memberValues.at(i);
    }
    return QVariant(mask);
}

QString floatToText(const QVariant& value)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value.toDouble(), 'g', 15);
}

// A number in the platform's form, or failing that in the C form, so that a
// file written under another language setting still reads.
QVariant floatFromText(const PublishedProperty& property, const QString& text)
{
    const QString number = text.trimmed();
    QLocale locale;
    locale.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    double value = locale.toDouble(number, &ok);
    if (!ok)
        value = QLocale::c().toDouble(number, &ok);
    if (!ok)
        notConvertible(property, text);
    return QVariant(value);
}

} // namespace

QString valueToText(const PublishedProperty& property, const QVariant& value)
{
    switch (property.kind) {
    case PropertyKind::Integer: return integerToText(property, value);
    case PropertyKind::Character: return value.toString().left(1);
    case PropertyKind::Enumeration: return enumerationToText(property, value);
    case PropertyKind::Float: return floatToText(value);
    case PropertyKind::Text: return value.toString();
    case PropertyKind::Set: return setToText(property, value);
    default: return {};
    }
}

std::optional<QVariant> valueFromText(const PublishedProperty& property, const QVariant& current,
                                      const QString& text)
{
    switch (property.kind) {
    case PropertyKind::Integer: return integerFromText(property, text);
    case PropertyKind::Character:
        if (text.isEmpty())
            return std::nullopt;
        return QVariant(text.front());
    case PropertyKind::Enumeration: return enumerationFromText(property, current, text);
    case PropertyKind::Float: return floatFromText(property, text);
    case PropertyKind::Text: return QVariant(text);
    case PropertyKind::Set: return setFromText(property, text);
    default: return std::nullopt;
    }
}

} // namespace harmonet
