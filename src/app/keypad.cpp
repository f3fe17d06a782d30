#include "app/keypad.h"

#include <QKeyEvent>

namespace morvane {

namespace {

// The keypad's keysyms: KP_Space (0xff80) to KP_9 (0xffb9) and KP_Equal
// (0xffbd), the directions of Num Lock off among them.
constexpr quint32 kFirstKeypadSym = 0xff80, kLastKeypadSym = 0xffbd;

}  // namespace

bool from_keypad(const QKeyEvent* event) {
    if (event->modifiers() & Qt::KeypadModifier) return true;
    const quint32 sym = event->nativeVirtualKey();
    return sym >= kFirstKeypadSym && sym <= kLastKeypadSym;
}

bool keypad_step(const QKeyEvent* event, int& rows, int& columns) {
    if (!from_keypad(event)) return false;
    // Num Lock on gives the digits, off the directions.
    struct Step {
        int digit, other, rows, columns;
    };
    static constexpr Step kSteps[] = {{Qt::Key_7, Qt::Key_Home, -1, -1},  {Qt::Key_8, Qt::Key_Up, -1, 0},
                                      {Qt::Key_9, Qt::Key_PageUp, -1, 1}, {Qt::Key_4, Qt::Key_Left, 0, -1},
                                      {Qt::Key_6, Qt::Key_Right, 0, 1},   {Qt::Key_1, Qt::Key_End, 1, -1},
                                      {Qt::Key_2, Qt::Key_Down, 1, 0},    {Qt::Key_3, Qt::Key_PageDown, 1, 1}};
    for (const Step& step : kSteps)
        if (event->key() == step.digit || event->key() == step.other) {
            rows = step.rows;
            columns = step.columns;
            return true;
        }
    return false;
}

}  // namespace morvane
