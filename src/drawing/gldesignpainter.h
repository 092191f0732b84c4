#pragma once

// Draws a design's vertex arrays with OpenGL 1.x/2.1 fixed-function calls: the stitch-line
// pass, the thread-look pass and the fabric tile. The geometry is uploaded once into buffer
// objects and drawn from there, so a frame that only pans or repaints sends nothing new.
// Every call needs a current OpenGL 2.1 compatibility context; the same painter serves the
// window's context and the off-screen one of the picture export.

#include "designgeometry.h"
#include "fabrictile.h"
#include "glprocs.h"

#include <cstdint>
#include <map>
#include <vector>

namespace loomscope {

class GlDesignPainter {
public:
    GlDesignPainter() = default;
    GlDesignPainter(const GlDesignPainter&) = delete;
    GlDesignPainter& operator=(const GlDesignPainter&) = delete;

    // The newer functions of the context this painter draws in; set before the first frame.
    void setFunctions(const GlProcs& functions) { gl_ = functions; }

    // Viewport and a projection of `width` x `height` units with y down, from `top` on, cleared
    // to `back`. `viewportWidth` and `viewportHeight` are the surface's pixels (more on a
    // high-density screen). A picture drawn in strips draws each strip with its own `top`.
    void beginFrame(int width, int height, int viewportWidth, int viewportHeight, TColor back,
                    int top = 0, bool clear = true);

    // `smooth`: draw the lines smoothed (as fading strokes), else as whole pixels.
    void setLineGeometry(const LineGeometry& geometry, bool smooth);
    void setThreadGeometry(const ThreadGeometry& geometry);
    void setFabricTile(const FabricTile& tile);

    // The stitch-line pass at `origin`: clears again (no fabric in line mode) and draws.
    void drawLines(float originX, float originY, TColor back);
    // The thread-look pass at `origin`, over whatever the frame holds.
    void drawThreads(float originX, float originY, bool smooth);
    // The fabric tile over width x height units, one texel per unit from the top-left.
    void drawFabric(int width, int height, bool mipmapped);

    // A picture of premultiplied RGBA pixels (rows top first) kept in texture `slot` until it
    // is set again, and drawn blended with its top-left corner at (x, y).
    void setImage(int slot, const std::uint8_t* rgba, int width, int height);
    void drawImage(int slot, float x, float y);
    // One-pixel lines in one colour, (x1, y1, x2, y2) for each, in frame units.
    void drawPlainLines(const std::vector<float>& ends, TColor colour);

    // Has the driver draw what it was given so far (a software rasteriser then frees the
    // memory it keeps for a frame's primitives).
    void flush();

    // Frees every GL object; the context that made them must be current.
    void release();

private:
    GlProcs gl_;
    struct Buffer {
        unsigned id = 0;
        int count = 0;
    };
    void upload(Buffer& buffer, const void* data, std::size_t bytes, int count);
    unsigned threadTexture(TColor colour);

    Buffer lineBuffer_, strokeBuffer_, pointBuffer_, markBuffer_, threadBuffer_;
    bool smoothLines_ = false;
    std::vector<LineCommand> lineCommands_;
    std::vector<ThreadCommand> threadCommands_;
    std::vector<unsigned> threadTextures_; // per ThreadGeometry::threadColours entry
    std::map<TColor, unsigned> textureCache_;
    unsigned strokeTexture_ = 0;
    struct Image {
        unsigned texture = 0;
        int width = 0;
        int height = 0;
    };
    std::map<int, Image> images_;
    unsigned fabricTexture_ = 0;
    bool fabricMipmapped_ = false;
    FabricTile fabricPixels_{};
    bool fabricDirty_ = false;
};

} // namespace loomscope
