#pragma once

#include "model/colour.h"

#include <QFrame>
#include <QString>

namespace loomscope {

// A panel filled with one colour and an optional short caption, that reports clicks and
// double-clicks: the swatches of the colour panel and of the settings dialog.
class ColourSwatch : public QFrame {
    Q_OBJECT
public:
    enum class Caption {
        Black,      // drawn in black
        Complement, // drawn in the complement of the colour, readable on any colour
    };

    ColourSwatch(const QString& caption, TColor colour, Caption captionColour,
                 QWidget* parent = nullptr);
    // Without a caption.
    explicit ColourSwatch(TColor colour, QWidget* parent = nullptr)
        : ColourSwatch(QString(), colour, Caption::Black, parent)
    {}

    TColor colour() const { return colour_; }
    void setColour(TColor colour);
    QString caption() const { return caption_; }
    // The colour the caption is drawn in now.
    TColor captionColour() const;

signals:
    void clicked(); // the left button pressed and let go over the swatch
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QString caption_;
    TColor colour_;
    Caption captionColour_;
};

} // namespace loomscope
