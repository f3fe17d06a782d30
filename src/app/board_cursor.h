#pragma once
// The board as one keyboard stop: a cursor frame over one cell, moved with
// the arrow keys. It lies over the cursor's cell, takes no mouse events and
// paints only the frame, and only while it has the keyboard focus.

#include <QWidget>
#include <functional>

namespace morvane {

class BoardCursor : public QWidget {
public:
    // `cell_place` gives cell n's place in the parent's coordinates.
    BoardCursor(std::function<QRect(int n)> cell_place, QWidget* parent);

    int cell() const { return cell_; }
    void set_cell(int n);  // 1..28
    // Whether the cursor's cell is a legal move: the frame is whole on one,
    // broken on any other, as the mouse pointer tells a mouse player.
    bool legal() const { return legal_; }
    void set_legal(bool legal);

    // Enter or Space on the cursor's cell.
    std::function<void(int n)> pressed;
    // A figure key (P Y B N G R O) on the cursor's cell: palette index.
    std::function<void(int n, int figure)> figure_key;
    // The cursor moved to another cell.
    std::function<void(int n)> moved;

    // The palette index a figure key stands for, -1 for none.
    static int figure_of_key(int key);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void place();  // follows the cursor's cell and the focus

    std::function<QRect(int)> cell_place_;
    int cell_ = 1;
    bool legal_ = false;
};

}  // namespace morvane
