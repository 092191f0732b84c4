#pragma once

#include "model/colour.h"

#include <QDialog>
#include <QImage>
#include <optional>

class QFrame;
class QLabel;

namespace loomscope {

// The screen-pick overlay (Form1): a borderless window above all others that covers the screen
// with a frozen picture of it (Image1). A 15 × 15 sample square (Shape1) follows the pointer
// 16 pixels below and to the right of it, filled with the colour of the pixel under the
// pointer; a click on the picture takes that colour. A click beside the picture or Escape
// closes the overlay without a colour.
class TForm1 : public QDialog {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);

    // Shows `capture` over `screenGeometry` and waits for the user; the colour clicked, or
    // nothing when the overlay was closed without one. The picture is let go afterwards.
    std::optional<TColor> pick(const QImage& capture, const QRect& screenGeometry);

    // The steps of pick() before and after the wait, for callers that show the overlay
    // themselves.
    void setCapture(const QImage& capture);
    void releaseCapture();
    std::optional<TColor> pickedColour() const { return picked_; }
    // The colour shown in the sample square.
    TColor sampleColour() const { return sample_; }

    QLabel* Image1 = nullptr;
    QFrame* Shape1 = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void sampleAt(QPoint position);

    QImage capture_;
    TColor sample_ = 0xFFFFFF;
    std::optional<TColor> picked_;
};

} // namespace loomscope
