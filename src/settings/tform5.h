#pragma once

#include <QDialog>

namespace loomscope {

// The about box: what the program is, its version and date, who made it, and where its manual
// is (`manualPath`, shown as the user reads paths; empty when none is installed).
class TForm5 : public QDialog {
    Q_OBJECT
public:
    explicit TForm5(const QString& manualPath = QString(), QWidget* parent = nullptr);
};

} // namespace loomscope
