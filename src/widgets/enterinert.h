#pragma once

class QDialog;

namespace loomscope {

// Takes the dialog's buttons out of Qt's "default button" scheme: no button is clicked by
// Enter, whichever widget has the focus. In these dialogs a button writes files or changes the
// desktop (the file association, config.ini), so it must only ever run from a click or from
// Space on the button itself; Enter in a field just leaves the field's value as it is.
void makeEnterInert(QDialog& dialog);

} // namespace loomscope
