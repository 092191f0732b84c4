#pragma once

#include "keyboardmap.h"

class QKeyEvent;

namespace loomscope {

// The key of the main window's key table that a key press stands for, on any keyboard layout.
// Latin letters count by what the layout writes on the key (Shift+Z on a German keyboard is the
// key labelled Z). The digits and the full stop count by their place as well, so Shift+1 ("!"),
// AZERTY's unshifted top row and a Cyrillic layout's letter keys still reach their commands.
MainKey mainKey(const QKeyEvent* event);

} // namespace loomscope
