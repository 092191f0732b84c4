#include "keyboardmap.h"

#include <array>

namespace loomscope {

namespace {
struct Row {
    MainKey key;
    bool needsShift;
    MainAction action;
};
constexpr std::array<Row, 18> kTable = {{
    {MainKey::T, false, MainAction::ToggleShowType},
    {MainKey::Left, false, MainAction::PreviousFile},
    {MainKey::Right, false, MainAction::NextFile},
    {MainKey::KeypadPlus, false, MainAction::Enlarge},
    {MainKey::KeypadMinus, false, MainAction::Reduce},
    {MainKey::Digit0, false, MainAction::Fit},
    {MainKey::Digit1, false, MainAction::ActualSize},
    {MainKey::Digit2, false, MainAction::ToggleBeginEnd},
    {MainKey::Period, false, MainAction::TogglePoints},
    {MainKey::Home, false, MainAction::FirstColour},
    {MainKey::End, false, MainAction::EndColour},
    {MainKey::PageUp, false, MainAction::PriorColour},
    {MainKey::PageDown, false, MainAction::NextColour},
    {MainKey::M, false, MainAction::Measure},
    {MainKey::R, true, MainAction::SlowDisplay},
    {MainKey::Z, true, MainAction::Reduce},
    {MainKey::B, false, MainAction::Enlarge},
    {MainKey::P, false, MainAction::Print},
}};
// Key codes of the places on a keyboard (Linux input event codes + 8).
struct Place {
    unsigned keycode;
    MainKey key;
};
constexpr std::array<Place, 11> kPlaces = {{
    {10, MainKey::Digit1},
    {11, MainKey::Digit2},
    {19, MainKey::Digit0},
    {60, MainKey::Period},
    {28, MainKey::T},
    {58, MainKey::M},
    {27, MainKey::R},
    {52, MainKey::Z},
    {56, MainKey::B},
    {33, MainKey::P},
    {86, MainKey::KeypadPlus},
}};
} // namespace

MainKey mainKeyAtKeycode(unsigned keycode)
{
    for (const Place& place : kPlaces)
        if (place.keycode == keycode)
            return place.key;
    if (keycode == 82)
        return MainKey::KeypadMinus;
    return MainKey::Other;
}

std::vector<MainAction> keyActions(MainKey key, bool shift)
{
    std::vector<MainAction> actions;
    for (const Row& row : kTable)
        if (row.key == key && (!row.needsShift || shift))
            actions.push_back(row.action);
    return actions;
}

} // namespace loomscope
