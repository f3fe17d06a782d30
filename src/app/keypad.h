#pragma once
// The keypad's eight direction keys, whichever desktop delivers them.
//
// On X11 the toolkit marks the keypad's keys with the keypad modifier; on
// Wayland (Qt 6.4) it does not, and 8 from the keypad looks like 8 from the
// row of digits, or like the Up arrow with Num Lock off. Both desktops give
// the key's X keysym as its native virtual key, and the keypad's keysyms
// are a block of their own: that tells them apart.

class QKeyEvent;

namespace morvane {

// Whether the key comes from the keypad.
bool from_keypad(const QKeyEvent* event);

// The step a keypad key stands for (7 up and left ... 3 down and right),
// with or without Num Lock; false for any other key, 5 included.
bool keypad_step(const QKeyEvent* event, int& rows, int& columns);

}  // namespace morvane
