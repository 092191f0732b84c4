#pragma once

#include "keyboardmap.h"

class QKeyEvent;

namespace loomscope {

// The key of the main window's key table that a key press stands for, on any keyboard layout.
// Every key counts by its place on the keyboard, so Shift+1 ("!"), AZERTY's unshifted top row
// and a Cyrillic layout's letter keys reach their commands. A key labelled with one of the
// table's Latin letters counts by its label too, so on a German keyboard both the key labelled
// Z and the key in Z's place zoom out with Shift.
MainKey mainKey(const QKeyEvent* event);

} // namespace loomscope
