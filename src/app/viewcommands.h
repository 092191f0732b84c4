#pragma once

#include <functional>

namespace loomscope {

class MainActions;
class Tloomscope;

// Connects the commands that act on the view alone: zoom, actual size, fit, measure, the show
// types, stitch points, machine codes, start and end marks, and the colour steps. After a
// colour step `colourStepShown` is told the row of the colour sequence that now stands for the
// view's colour cursor (the colour panel selects it when it is shown).
void connectViewCommands(const MainActions& actions, Tloomscope& view,
                         std::function<void(int row)> colourStepShown);

} // namespace loomscope
