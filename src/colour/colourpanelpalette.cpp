#include "colourpanel.h"
#include "coloursequence.h"
#include "screencolourpick.h"
#include "swatchgrid.h"
#include "viewer/tloomscope.h"
#include "widgets/colourswatch.h"

#include <QCheckBox>

// The colour panel's palette and sequence: a palette colour given to a colour step, a colour
// chosen for a swatch, and the screen pick.

namespace loomscope {

void ColourPanel::paletteDoubleClicked()
{
    const int step = StringGrid2->currentGridRow();
    const int entry = StringGrid1->currentGridRow();
    if (step < 1 || entry < 1)
        return;
    const auto colour = StringGrid1->swatchColour(entry);
    if (!colour)
        return;
    setSequenceRow(step, *colour, StringGrid1->cell(1, entry));
    viewer_->setcolorlist(step - 1, *colour);
}

void ColourPanel::paletteRightReleased()
{
    const int entry = StringGrid1->currentGridRow();
    if (entry < 1)
        return;
    const auto chosen =
        dialogs_.chooseColour(this, StringGrid1->swatchColour(entry).value_or(kBlankSwatchColour));
    if (chosen)
        StringGrid1->setCell(0, entry, QString::number(*chosen));
}

void ColourPanel::pickedColourToPalette()
{
    const int entry = StringGrid1->currentGridRow();
    if (entry >= 1)
        StringGrid1->setCell(0, entry, QString::number(Panel10->colour()));
}

void ColourPanel::chooseBackground()
{
    const auto chosen = dialogs_.chooseColour(this, Panel7->colour());
    if (!chosen)
        return;
    Panel7->setColour(*chosen);
    viewer_->Setbackcolor(*chosen);
}

void ColourPanel::pickFromScreen()
{
    pick_->start(CheckBox1->isChecked());
}

} // namespace loomscope
