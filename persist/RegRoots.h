#pragma once

#include <QObject>

// The roots under which settings keys lie. Only the current user's root and the
// read-only system-wide root have a store on this platform; the others exist so
// that a stored root number keeps its meaning, and their keys cannot be opened.
namespace harmonet::registry {
Q_NAMESPACE

enum TRegRoots {
    CLASSES_ROOT,
    CURRENT_USER,
    LOCAL_MACHINE,
    USERS,
    PERFORMANCE_DATA,
    CURRENT_CONFIG,
    DYN_DATA,
};
Q_ENUM_NS(TRegRoots)

} // namespace harmonet::registry

namespace harmonet {
using registry::TRegRoots;
using enum registry::TRegRoots;
} // namespace harmonet
