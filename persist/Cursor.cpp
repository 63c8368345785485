#include "persist/Cursor.h"

#include <array>

namespace harmonet {

namespace {

constexpr std::array<CursorIdentifier, 22> kIdentifiers{{
    {"crDefault", 0},      {"crNone", -1},       {"crArrow", -2},      {"crCross", -3},
    {"crIBeam", -4},       {"crSizeNESW", -6},   {"crSizeNS", -7},     {"crSizeNWSE", -8},
    {"crSizeWE", -9},      {"crUpArrow", -10},   {"crHourGlass", -11}, {"crDrag", -12},
    {"crNoDrop", -13},     {"crHSplit", -14},    {"crVSplit", -15},    {"crMultiDrag", -16},
    {"crSQLWait", -17},    {"crNo", -18},        {"crAppStart", -19},  {"crHelp", -20},
    {"crHandPoint", -21},  {"crSizeAll", -22},
}};

} // namespace

std::span<const CursorIdentifier> cursorIdentifiers() { return kIdentifiers; }

bool cursorFromIdentifier(const QString& identifier, TCursor& cursor)
{
    for (const CursorIdentifier& entry : kIdentifiers) {
        if (identifier.compare(QLatin1String(entry.name), Qt::CaseInsensitive) == 0) {
            cursor.value = entry.value;
            return true;
        }
    }
    return false;
}

QString identifierOfCursor(TCursor cursor)
{
    for (const CursorIdentifier& entry : kIdentifiers) {
        if (entry.value == cursor.value)
            return QLatin1String(entry.name);
    }
    return {};
}

} // namespace harmonet
