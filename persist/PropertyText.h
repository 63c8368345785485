#pragma once

#include "persist/Reflection.h"

#include <QString>
#include <optional>

// Text forms of whole properties, objects included.
//
// Object properties are written as the name of the component they hold (a
// QObject with an object name), as the lines of a string list joined by "|",
// or as nested object text: every published property in name order followed
// by "|", the last "|" dropped (a font: "0|clWindowText|-11|MS Sans Serif|
// fpDefault|8|[]"). Methods are written as the handler's name.
namespace harmonet {

// The text of one property of the object; nullopt when it is an object
// property that holds no object (such a property is not stored).
std::optional<QString> PropertyToText(const PublishedObject& object, const PublishedProperty& property);
// The nested text of all of the object's properties.
QString PropertyToText(const PublishedObject& object);

// Assigns one property of the object from its text. The window is the scope in
// which component and handler names are looked up. An object property takes
// the owned component the text names; failing that, an unnamed object it holds
// reads the text as nested object text, and a named one stays as it is.
// Throws EPropertyTextError when the text does not convert or the property
// refuses the value; the property then keeps its value.
void TextToProperty(QObject* window, const PublishedObject& object, const PublishedProperty& property,
                    const QString& text);
// Assigns the object's properties from nested text: property number i in name
// order takes field i of the text. The read ends at the first object or method
// property. A field that does not convert leaves its property as it is and
// the later fields still apply.
void TextToProperty(QObject* window, const PublishedObject& object, const QString& text);

} // namespace harmonet
