// Building a board by dropping palette figures onto cells.

#include "game/morvane1.h"
#include "game/cell_text.h"

namespace morvane {

void Morvane1::Square_DragDrop(int index, int figure) {
    if (index < 1 || index > kCells || figure < 0 || figure >= kBoxes) return;
    PaletteFigure& dragged = palette[figure];
    Frame1.caption = "Drag objects to create playing board.";
    Square[index].picture = dragged.picture;
    dragged.shown = false;
    // The figure is known by its picture: the box of every palette figure
    // with that picture gets the cell.
    for (int box = 0; box < kBoxes; ++box)
        if (palette[box].picture == dragged.picture) CODE[box].text = plain_decimal(index);
    tell({.kind = EventKind::FigurePut, .cell = index, .figure = figure});
    Square[index].caption.clear();
    for (auto& box : CODE) box.locked = true;
}

}  // namespace morvane
