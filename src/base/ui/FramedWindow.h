// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMargins>
#include <QRect>
#include <functional>

class QWidget;

// A window manager draws a frame, title bar included, around each top-level
// window; the toolkit's geometry is the inside. These helpers place windows
// as wholes.

// How placing sets a window's size.
enum class TFramedSize
{
    Free,  // the inside takes the size; the user may change it
    Fixed, // the inside takes the size, and the user cannot change it
    Kept   // only the window's place changes
};

// The frame around a top-level window. Until the window manager has framed
// this one, the frame of another framed window of the program stands in, one
// of the same kind if there is one, or none at all.
QMargins FrameMargins(const QWidget& window);

// The whole window, frame included, as far as its frame is known.
QRect FramedGeometry(const QWidget& window);

// Where the whole window is wanted, given its frame.
using TWholeRect = std::function<QRect(const QMargins& frame)>;

// Places a top-level window so that its whole lies where `whole` wants it,
// as far as the available area of its screen allows. The frame is known only
// once the window manager has framed the shown window; should it differ from
// the one assumed, the window is placed again then.
void PlaceFramed(QWidget& window, TWholeRect whole, TFramedSize size);

// The inside where PlaceFramed last put the window; its geometry when it
// was never placed.
QRect PlacedGeometry(const QWidget& window);
