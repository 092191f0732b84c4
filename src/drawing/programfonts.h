#pragma once

#include <QFont>

namespace loomscope {

// Loads the fonts the program draws with: a Tahoma-metric face for labels and numbers, and
// whatever CJK face is installed for design names. Called on the GUI thread before any text
// is drawn (the program's start does it); later calls do nothing.
void loadProgramFonts();

// Labels and numbers of the view's overlay: Tahoma, 16-pixel cells.
QFont overlayLabelFont();
// Design names in any script, same size.
QFont overlayNameFont();
// The decimal separator of the user's locale for numbers the program shows (see
// environmentDecimalSeparator: the same rule as the command-line tools).
char localeDecimalSeparator();

// The information block of exported pictures: Tahoma, 12 points on a 96-dpi picture.
QFont pictureInfoFont();

} // namespace loomscope
