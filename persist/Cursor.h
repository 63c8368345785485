#pragma once

#include <QMetaType>
#include <QString>
#include <span>

namespace harmonet {

// A mouse cursor as a control names it: 0 for the control's default cursor,
// negative numbers for the shapes every desktop offers. A distinct type (not a
// plain int) so that the settings text can write it by identifier.
struct TCursor {
    qint32 value = 0;

    friend constexpr bool operator==(TCursor, TCursor) = default;
};

// One named cursor: its identifier (crDefault, crHourGlass, ...) and value.
struct CursorIdentifier {
    const char* name;
    qint32 value;
};

// Every cursor identifier, in the order in which writing looks them up (the
// first one whose value matches names a cursor).
std::span<const CursorIdentifier> cursorIdentifiers();

// The identifier's cursor, matched without regard to case; false when none.
bool cursorFromIdentifier(const QString& identifier, TCursor& cursor);
// The first identifier of a cursor, or an empty string when it has none.
QString identifierOfCursor(TCursor cursor);

inline constexpr TCursor crDefault{0};

} // namespace harmonet

Q_DECLARE_METATYPE(harmonet::TCursor)
