#pragma once

#include <QDialog>

namespace loomscope {

// The about box: what the program is, its version and date, where to report problems.
class TForm5 : public QDialog {
    Q_OBJECT
public:
    explicit TForm5(QWidget* parent = nullptr);
};

} // namespace loomscope
