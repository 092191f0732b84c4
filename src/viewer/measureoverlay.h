#pragma once

#include <QWidget>

namespace loomscope {

class DesignView;

// The measuring figure, drawn on a transparent widget laid over the view: repainting it draws
// or removes the figure exactly, without drawing the design again.
class MeasureOverlay : public QWidget {
    Q_OBJECT
public:
    MeasureOverlay(const DesignView& view, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const DesignView& view_;
};

} // namespace loomscope
