#include "usermessages.h"

#include <QApplication>
#include <QMessageBox>

namespace loomscope {

void MessageBoxes::error(QWidget* parent, const QString& text)
{
    QMessageBox::critical(parent, QApplication::applicationDisplayName(), text);
}

void MessageBoxes::information(QWidget* parent, const QString& text)
{
    QMessageBox::information(parent, QApplication::applicationDisplayName(), text);
}

} // namespace loomscope
