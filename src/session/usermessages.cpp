#include "usermessages.h"

#include "config/projectinfo.h"

#include <QMessageBox>

namespace loomscope {

void MessageBoxes::error(QWidget* parent, const QString& text)
{
    QMessageBox::critical(parent, QLatin1String(kApplicationTitle), text);
}

void MessageBoxes::information(QWidget* parent, const QString& text)
{
    QMessageBox::information(parent, QLatin1String(kApplicationTitle), text);
}

} // namespace loomscope
