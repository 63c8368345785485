#pragma once

#include <QObject>

// Enumerations shared by the program's custom controls. They are declared in a
// namespace of their own with Q_ENUM_NS so that the property system (and the
// settings store, which writes enumerations by member identifier) sees their
// identifiers in declaration order.
namespace harmonet::controls {
Q_NAMESPACE

// The look of one frame of a control.
enum TBevelStyle { bvNone, bvLowered, bvRaised, bvSpace };
Q_ENUM_NS(TBevelStyle)

// Whether a control has a single-line border.
enum TBorderStyle { bsNone, bsSingle };
Q_ENUM_NS(TBorderStyle)

// Horizontal placement of a text.
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
Q_ENUM_NS(TAlignment)

// How a control keeps itself placed in its parent's client area.
enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
Q_ENUM_NS(TAlign)

} // namespace harmonet::controls
