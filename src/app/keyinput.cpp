#include "keyinput.h"

#include <QKeyEvent>

namespace loomscope {

namespace {

MainKey byLabel(int key, bool keypad)
{
    switch (key) {
    case Qt::Key_T:
        return MainKey::T;
    case Qt::Key_M:
        return MainKey::M;
    case Qt::Key_R:
        return MainKey::R;
    case Qt::Key_Z:
        return MainKey::Z;
    case Qt::Key_B:
        return MainKey::B;
    case Qt::Key_P:
        return MainKey::P;
    case Qt::Key_Left:
        return MainKey::Left;
    case Qt::Key_Right:
        return MainKey::Right;
    case Qt::Key_Home:
        return MainKey::Home;
    case Qt::Key_End:
        return MainKey::End;
    case Qt::Key_PageUp:
        return MainKey::PageUp;
    case Qt::Key_PageDown:
        return MainKey::PageDown;
    case Qt::Key_Plus:
        return keypad ? MainKey::KeypadPlus : MainKey::Other;
    case Qt::Key_Minus:
        return keypad ? MainKey::KeypadMinus : MainKey::Other;
    // The keypad's digits and point are keys of their own.
    case Qt::Key_0:
        return keypad ? MainKey::Other : MainKey::Digit0;
    case Qt::Key_1:
        return keypad ? MainKey::Other : MainKey::Digit1;
    case Qt::Key_2:
        return keypad ? MainKey::Other : MainKey::Digit2;
    case Qt::Key_Period:
        return keypad ? MainKey::Other : MainKey::Period;
    default:
        return MainKey::Other;
    }
}

// What Shift makes of the top row and the full stop on a US keyboard: the fallback when the
// event carries no key code (synthesised events).
MainKey shiftedUsSymbol(int key)
{
    switch (key) {
    case Qt::Key_Exclam:
        return MainKey::Digit1;
    case Qt::Key_At:
        return MainKey::Digit2;
    case Qt::Key_ParenRight:
        return MainKey::Digit0;
    case Qt::Key_Greater:
        return MainKey::Period;
    default:
        return MainKey::Other;
    }
}

bool isLatinLetter(int key)
{
    return key >= Qt::Key_A && key <= Qt::Key_Z;
}

} // namespace

MainKey mainKey(const QKeyEvent* event)
{
    const int key = event->key();
    const bool keypad = event->modifiers() & Qt::KeypadModifier;
    if (const MainKey labelled = byLabel(key, keypad); labelled != MainKey::Other)
        return labelled;
    if (keypad)
        return MainKey::Other;
    const unsigned keycode = event->nativeScanCode();
    if (keycode == 0)
        return shiftedUsSymbol(key);
    const MainKey placed = mainKeyAtKeycode(keycode);
    switch (placed) {
    case MainKey::Digit0:
    case MainKey::Digit1:
    case MainKey::Digit2:
    case MainKey::Period:
        // The top row with Shift or on AZERTY, the full stop key with Shift: a Latin letter
        // written on that place (no layout has one there) would still win.
        return isLatinLetter(key) ? MainKey::Other : placed;
    case MainKey::T:
    case MainKey::M:
    case MainKey::R:
    case MainKey::Z:
    case MainKey::B:
    case MainKey::P:
        // A key labelled with one of the table's letters has decided already; any other key at
        // the place of one acts by its place: Cyrillic Е at T, QWERTZ's Y at Z, AZERTY's comma
        // at M. So both the labelled key and the key at the place work.
        return placed;
    default:
        return MainKey::Other;
    }
}

} // namespace loomscope
