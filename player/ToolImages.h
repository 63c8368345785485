#pragma once

#include <QPixmap>

// The pictures of the main window's tool buttons and of its small mute
// buttons, drawn by the program (the transport's pictures are the widgets').
namespace harmonet::images {

// 18 x 18 pictures of the tool buttons.
enum class Tool { Mixer, Lyrics, CloseFile, Settings, Help };
QPixmap tool(Tool kind);

// A caption drawn as a picture for a button of the given size: the "M" of
// the mute buttons.
QPixmap caption(const QString& text, const QSize& size);

} // namespace harmonet::images
