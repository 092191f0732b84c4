#include "enterinert.h"

#include <QDialog>
#include <QPushButton>

namespace loomscope {

void makeEnterInert(QDialog& dialog)
{
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
}

} // namespace loomscope
