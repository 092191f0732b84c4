#pragma once

#include "model/colour.h"

#include <QFrame>
#include <QString>

namespace loomscope {

// A raised panel filled with one colour and a short caption, double-clickable: the picked
// colour, the chart colour and the background swatch of the colour panel.
class ColourSwatch : public QFrame {
    Q_OBJECT
public:
    enum class Caption {
        Black,      // drawn in black
        Complement, // drawn in the complement of the colour, readable on any colour
    };

    ColourSwatch(const QString& caption, TColor colour, Caption captionColour,
                 QWidget* parent = nullptr);

    TColor colour() const { return colour_; }
    void setColour(TColor colour);
    QString caption() const { return caption_; }
    // The colour the caption is drawn in now.
    TColor captionColour() const;

signals:
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QString caption_;
    TColor colour_;
    Caption captionColour_;
};

} // namespace loomscope
