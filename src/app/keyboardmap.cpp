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
} // namespace

std::vector<MainAction> keyActions(MainKey key, bool shift)
{
    std::vector<MainAction> actions;
    for (const Row& row : kTable)
        if (row.key == key && (!row.needsShift || shift))
            actions.push_back(row.action);
    return actions;
}

} // namespace loomscope
