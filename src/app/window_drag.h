#pragma once
// Dragging a picture from one place of a window to another without the
// desktop's drag and drop.
//
// The desktop's drag and drop is made for dragging between programs, and
// on Wayland it takes the keyboard away from the window for the drag,
// some compositors (weston) for good: after a drop the keys do nothing
// until the window is clicked. A figure dragged onto a cell of the same
// window needs none of it: the drag stays in the window, which keeps the
// keyboard, and the cell under the pointer gets the same drag-enter,
// drag-move and drop events as from the toolkit's own drag.

#include <QPixmap>
#include <QPoint>
#include <memory>

class QMimeData;
class QWidget;

namespace morvane {

// Drags `data` from `source`, whose mouse button is held down: `picture`
// follows the pointer (its `hot_spot` under it) until the button is let
// go, which drops the data on the widget there that accepts it, or until
// Escape, which drops nothing. Returns once the drag is over, with the
// action the widget accepted, Qt::IgnoreAction for none.
Qt::DropAction drag_in_window(QWidget* source, std::unique_ptr<QMimeData> data, const QPixmap& picture,
                              QPoint hot_spot);

}  // namespace morvane
