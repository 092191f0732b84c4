#pragma once

#include "replaysink.h"

#include <QImage>
#include <QRegion>
#include <functional>

namespace loomscope {

// The stitch-out replay's off-screen picture. It keeps everything drawn on it from tick to
// tick, so a tick only adds its few records, and it tells which part each tick changed so the
// window repaints only that. Drawing is antialiased.
class ReplaySurface {
public:
    // A black picture for a window's client area (its size: replaySurfaceSize).
    void create(int clientWidth, int clientHeight);
    void free();
    void clear(); // black again
    bool isNull() const { return image_.isNull(); }
    const QImage& image() const { return image_; }

    // Runs `draw` with a sink that paints into the picture; returns where the picture changed.
    QRegion draw(const std::function<void(ReplaySink&)>& draw);

private:
    QImage image_;
};

} // namespace loomscope
