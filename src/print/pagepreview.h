#pragma once

#include <QImage>
#include <QPoint>
#include <QWidget>
#include <optional>

namespace loomscope {

// The surface inside the print window's scroll box: the preview picture copied one to one at
// an offset, and the rectangle of an area being dragged out. Mouse positions are handed on in
// preview pixels (page units), whatever the offset.
class PagePreview : public QWidget {
    Q_OBJECT
public:
    explicit PagePreview(QWidget* parent = nullptr);

    void setPicture(const QImage* picture); // not owned; repainted by the window
    void setPictureOrigin(QPoint origin);
    QPoint pictureOrigin() const { return origin_; }
    // The rectangle shown while an area is dragged out (preview pixels), or none.
    void setBand(std::optional<QRect> band);

signals:
    void pressed(QPoint at);
    void moved(QPoint at);
    void released(QPoint at);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QPoint toPicture(QPoint widgetPoint) const { return widgetPoint - origin_; }

    const QImage* picture_ = nullptr;
    QPoint origin_;
    std::optional<QRect> band_;
};

} // namespace loomscope
