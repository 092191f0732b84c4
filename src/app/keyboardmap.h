#pragma once

#include <vector>

namespace loomscope {

// The main window's keys, as the window sees them before the focused control does.
enum class MainKey {
    T,
    Left,
    Right,
    KeypadPlus,
    KeypadMinus,
    Digit0,
    Digit1,
    Digit2,
    Period,
    Home,
    End,
    PageUp,
    PageDown,
    M,
    R,
    Z,
    B,
    P,
    Other,
};

enum class MainAction {
    ToggleShowType,
    PreviousFile,
    NextFile,
    Enlarge,
    Reduce,
    Fit,
    ActualSize,
    ToggleBeginEnd,
    TogglePoints,
    FirstColour,
    EndColour,
    PriorColour,
    NextColour,
    Measure,
    SlowDisplay,
    Print,
};

// The key at a physical place of the keyboard, from the key code the X server and Wayland
// compositors report (an evdev code plus 8, the same on every layout): the top-row digits,
// the full stop key and the letter keys of the table. Other places give Other.
MainKey mainKeyAtKeycode(unsigned keycode);

// The actions of a key press, in the order of the table. Only R and Z look at Shift; Ctrl and
// Alt are never looked at.
std::vector<MainAction> keyActions(MainKey key, bool shift);

} // namespace loomscope
