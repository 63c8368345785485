#pragma once

#include <QByteArray>
#include <QList>
#include <QMetaProperty>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

// The published properties of the program's objects, as the settings reach
// them by name.
//
// How a class publishes a property: declare it with Q_PROPERTY under the exact
// name the settings items use (Top, Left, Height, Width, InitialDir, Down,
// Caption, Checked, Color, Font, ...), readable, and writable when it is to be
// restored. Its type decides its kind:
//   - integers (int, qint64, ...): integer; harmonet::TColor and
//     harmonet::TCursor are integers written by identifier;
//   - QChar: character;
//   - bool: the enumeration "Boolean" (members False, True);
//   - an enumeration made known with Q_ENUM or Q_ENUM_NS: enumeration, its
//     members in declaration order;
//   - a flag type made known with Q_FLAG or Q_FLAG_NS: set, its members the
//     flag enumeration's non-zero members in declaration order;
//   - float and double: floating point; QString: text;
//   - object: a pointer to a QObject class (a component), QStringList (a list
//     of text lines), a Q_GADGET value type such as harmonet::TFont (a nested
//     object), and QFont (read and written as a harmonet::TFont, colour aside);
//   - harmonet::TMethod: method (a handler bound to the window);
//   - anything else has no text form.
//
// Which properties are published: those declared by the program's own classes.
// Walking from an object's class towards QObject, the first class whose name
// begins with "Q" and has no namespace (QObject, QWidget, QMainWindow,
// QSlider, ...) is Qt's own; its properties and those of its bases are not
// published (so QWidget's "font" never shadows a published "Font"). A gadget
// publishes all its properties. The same rule decides which slots and
// Q_INVOKABLE methods of a window are its handlers.
//
// Published properties are listed in ascending order of name, compared without
// regard to case, and looked up by name without regard to case.
namespace harmonet {

enum class PropertyKind { Integer, Character, Enumeration, Float, Text, Set, Object, Method, Other };

// One published property: its name, kind, type name ("TColor", "TCursor",
// "Boolean", otherwise the C++ type's name) and, for enumerations and sets,
// the members' identifiers and values in member order.
struct PublishedProperty {
    QMetaProperty meta;
    PropertyKind kind = PropertyKind::Other;
    QString name;
    QString typeName;
    QStringList memberNames;
    QList<qint64> memberValues;
};

// A persistable object: a QObject, or a gadget value (a font) held in a
// QVariant owned by the caller, which must outlive this handle.
class PublishedObject {
public:
    PublishedObject(QObject* object); // NOLINT: a QObject is a persistable object
    static PublishedObject gadget(QVariant& value);

    bool isNull() const { return m_meta == nullptr; }
    QObject* object() const { return m_object; }
    const QMetaObject* metaObject() const { return m_meta; }

    // The published properties in name order.
    QList<PublishedProperty> properties() const;
    // The published property of that name (without regard to case).
    std::optional<PublishedProperty> property(const QString& name) const;

    QVariant read(const PublishedProperty& property) const;
    // Assigns a value; false when the property refuses it.
    bool write(const PublishedProperty& property, const QVariant& value) const;

private:
    PublishedObject(const QMetaObject* meta, void* gadget) : m_meta(meta), m_gadget(gadget) {}

    const QMetaObject* m_meta = nullptr;
    QObject* m_object = nullptr;
    void* m_gadget = nullptr;
};

// The published properties of a class, in name order.
QList<PublishedProperty> publishedProperties(const QMetaObject* meta);

// The component the window owns under that name (without regard to case): the
// nearest of its descendants so named, or null. An empty name names none.
QObject* findOwnedComponent(QObject* window, const QString& name);

// The name of the window's handler of that name (a slot or Q_INVOKABLE method
// of the window's own classes, matched without regard to case), or empty.
QByteArray findHandler(QObject* window, const QString& name);

} // namespace harmonet
