#pragma once

#include <optional>

class QObject;

namespace harmonet {

// The Tag of a control: a small integer kept on it as the dynamic property
// "Tag". On the main window it says whether a control is usable without a file
// (1) or only with one (0); track panels and their buttons carry the index of
// the bound track, which is how a shared handler finds its track.
void setTag(QObject* object, int tag);

// The control's tag, or nothing for an object that was never given one (the
// inner parts of Qt's own widgets, which are not the window's controls).
std::optional<int> tagOf(const QObject* object);

} // namespace harmonet
