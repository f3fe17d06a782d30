#include "app/board_cursor.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <algorithm>
#include <QPainter>

#include "app/keypad.h"
#include "game/controls.h"
#include "game/figures.h"
#include "game/geometry.h"

namespace morvane {

namespace {

// To a screen reader the cursor is the board's cell it stands on.
QAccessibleInterface* cursor_accessible(const QString&, QObject* object) {
    if (auto* cursor = dynamic_cast<BoardCursor*>(object)) return new QAccessibleWidget(cursor, QAccessible::Cell);
    return nullptr;
}

}  // namespace

BoardCursor::BoardCursor(std::function<QRect(int n)> cell_place, QWidget* parent)
    : QWidget(parent), cell_place_(std::move(cell_place)) {
    static const bool factory_installed = (QAccessible::installFactory(cursor_accessible), true);
    (void)factory_installed;
    setObjectName(QStringLiteral("board"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::TabFocus);
    place();
}

// The widget covers the cursor's cell while it has the focus, and nothing
// (an empty place on that cell) otherwise: so it never paints, nor makes
// anything repaint, over cells it does not mark.
void BoardCursor::place() {
    const QRect cell = cell_place_(cell_);
    setGeometry(hasFocus() ? cell : QRect(cell.topLeft(), QSize(0, 0)));
}

int BoardCursor::figure_of_key(int key) {
    // Qt names the letter keys by their upper-case letters.
    return key >= Qt::Key_A && key <= Qt::Key_Z ? morvane::figure_of_key(static_cast<char>(key)) : -1;
}

void BoardCursor::set_cell(int n) {
    if (n < 1 || n > kCells || n == cell_) return;
    cell_ = n;
    place();
    if (moved) moved(n);
}

void BoardCursor::set_legal(bool legal) {
    if (legal == legal_) return;
    legal_ = legal;
    update();
}

void BoardCursor::paintEvent(QPaintEvent*) {
    if (!hasFocus()) return;
    // Two tones, so that the frame shows on grey, on every piece, on the
    // player and on the white of a removed cell: a dark outer ring and a
    // bright inner one.
    QPainter painter(this);
    const QRect place = rect();
    painter.fillRect(place.left(), place.top(), place.width(), 3, Qt::black);
    painter.fillRect(place.left(), place.bottom() - 2, place.width(), 3, Qt::black);
    painter.fillRect(place.left(), place.top(), 3, place.height(), Qt::black);
    painter.fillRect(place.right() - 2, place.top(), 3, place.height(), Qt::black);
    const QRect inner = place.adjusted(3, 3, -3, -3);
    const QColor bright(0xff, 0xff, 0x40);
    if (legal_) {
        painter.fillRect(inner.left(), inner.top(), inner.width(), 2, bright);
        painter.fillRect(inner.left(), inner.bottom() - 1, inner.width(), 2, bright);
        painter.fillRect(inner.left(), inner.top(), 2, inner.height(), bright);
        painter.fillRect(inner.right() - 1, inner.top(), 2, inner.height(), bright);
        return;
    }
    // Not a legal move: the bright ring is broken, its dashes as long as
    // its gaps, starting from the corners; it reads so in grey too.
    const int dash = 4;
    for (int x = inner.left(); x <= inner.right(); x += 2 * dash) {
        const int w = std::min(dash, inner.right() + 1 - x);
        painter.fillRect(x, inner.top(), w, 2, bright);
        painter.fillRect(x, inner.bottom() - 1, w, 2, bright);
    }
    for (int y = inner.top(); y <= inner.bottom(); y += 2 * dash) {
        const int h = std::min(dash, inner.bottom() + 1 - y);
        painter.fillRect(inner.left(), y, 2, h, bright);
        painter.fillRect(inner.right() - 1, y, 2, h, bright);
    }
}

void BoardCursor::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const bool keypad = from_keypad(event);
    // The keypad's keys belong to the player (the window moves it); only
    // the plain arrows move the cursor, stopping at the board's edges.
    if (!keypad && !(modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        int row = row_of(cell_), column = column_of(cell_);
        switch (event->key()) {
            case Qt::Key_Up: --row; break;
            case Qt::Key_Down: ++row; break;
            case Qt::Key_Left: --column; break;
            case Qt::Key_Right: ++column; break;
            default: row = -2;
        }
        if (row != -2) {
            if (const int n = cell_at(row, column)) set_cell(n);
            return;
        }
    }
    const bool plain = (modifiers & ~(Qt::KeypadModifier | Qt::ShiftModifier)) == Qt::NoModifier;
    if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Space)) {
        if (pressed) pressed(cell_);
        return;
    }
    if (plain && !keypad) {
        if (const int figure = figure_of_key(event->key()); figure >= 0) {
            if (figure_key) figure_key(cell_, figure);
            return;
        }
    }
    event->ignore();  // the window's keys (F1, H, the keypad, ...)
}

void BoardCursor::focusInEvent(QFocusEvent* event) {
    place();
    QWidget::focusInEvent(event);
}

void BoardCursor::focusOutEvent(QFocusEvent* event) {
    place();
    QWidget::focusOutEvent(event);
}

}  // namespace morvane
