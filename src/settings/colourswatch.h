#pragma once

#include "model/colour.h"

#include <QFrame>

namespace loomscope {

// A small framed patch showing one colour; a click opens the colour dialog preset to it, and
// the chosen colour becomes the patch's.
class ColourSwatch : public QFrame {
    Q_OBJECT
public:
    explicit ColourSwatch(TColor colour, QWidget* parent = nullptr);
    TColor colour() const { return colour_; }
    void setColour(TColor colour);

signals:
    void colourChosen(TColor colour);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    TColor colour_;
};

} // namespace loomscope
