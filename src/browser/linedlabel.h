#pragma once

#include <QLabel>

namespace loomscope {

// A label whose lines stand at a fixed pitch, whatever fonts they fall back on: the summary's
// captions (Chinese) and values (digits, or a Chinese design name) sit side by side and must
// stay level line for line.
class LinedLabel : public QLabel {
    Q_OBJECT
public:
    LinedLabel(int linePitch, QWidget* parent = nullptr);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int pitch_;
};

} // namespace loomscope
