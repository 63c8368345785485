#pragma once

#include "persist/Reflection.h"

#include <QString>
#include <QVariant>
#include <optional>

// Text forms of the values of the plain kinds: integer (colours and cursors by
// identifier), character, enumeration (Boolean as "1"/"0"), floating point,
// text and set.
namespace harmonet {

// The text of a value of the property's kind. A kind without a plain text form
// (object, method, other) gives an empty text.
QString valueToText(const PublishedProperty& property, const QVariant& value);

// The value that the text gives the property, whose value is now current;
// nullopt when the text leaves the property as it is (an empty text for the
// kinds that ignore it). Throws EPropertyTextError when the text does not
// convert (a number that is not one, or out of the type's range).
//
// An enumeration text that names no member leaves a property that holds a
// member as it is, and gives any other the first member.
std::optional<QVariant> valueFromText(const PublishedProperty& property, const QVariant& current,
                                      const QString& text);

} // namespace harmonet
