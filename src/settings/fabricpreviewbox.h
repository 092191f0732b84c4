#pragma once

#include <QImage>
#include <QWidget>

namespace loomscope {

// The fabric chooser's preview: the tinted 128 x 128 tile repeated from the top-left corner
// over the whole box, or the window's face colour when the fabric is not shown.
class FabricPreviewBox : public QWidget {
    Q_OBJECT
public:
    explicit FabricPreviewBox(QWidget* parent = nullptr);
    void setTile(const QImage& tile, bool on);
    const QImage& tile() const { return tile_; }
    bool showsFabric() const { return on_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage tile_;
    bool on_ = false;
};

} // namespace loomscope
