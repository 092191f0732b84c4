#include "gldesignpainter.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>
#include <cstddef>

namespace loomscope {

namespace {

const void* offset(std::size_t bytes)
{
    return reinterpret_cast<const void*>(bytes);
}

// Tightly packed rows while our pixels are uploaded; other users of the context (Qt's own
// drawing uploads glyphs and pictures) expect the default alignment back.
class TightUnpacking {
public:
    TightUnpacking()
    {
        glGetIntegerv(GL_UNPACK_ALIGNMENT, &previous_);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    }
    ~TightUnpacking() { glPixelStorei(GL_UNPACK_ALIGNMENT, previous_); }
    TightUnpacking(const TightUnpacking&) = delete;
    TightUnpacking& operator=(const TightUnpacking&) = delete;

private:
    GLint previous_ = 4;
};

// A texture repeating in both directions: thread textures linear with mipmaps, the fabric
// tile nearest.
unsigned makeTexture(int width, int height, int components, const void* pixels, bool mipmapped,
                     bool nearest)
{
    const TightUnpacking unpacking;
    GLuint id = 0;
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    const GLenum format = components == 4 ? GL_RGBA : GL_RGB;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, nearest ? GL_NEAREST : GL_LINEAR);
    if (mipmapped) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER,
                        nearest ? GL_NEAREST : GL_LINEAR_MIPMAP_LINEAR);
        gluBuild2DMipmaps(GL_TEXTURE_2D, components, width, height, format, GL_UNSIGNED_BYTE,
                          pixels);
    } else {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, nearest ? GL_NEAREST : GL_LINEAR);
        glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), width, height, 0, format,
                     GL_UNSIGNED_BYTE, pixels);
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    return id;
}

// The driver's smoothing, for what is still drawn as GL lines and points (the dashed links,
// stitch points, sequin outlines of the thread look). Polygons are never smoothed this way:
// the three quadrilaterals of a band meet edge to edge, and coverage smoothing would let the
// background show through the seams.
void setSmoothing(bool on)
{
    on ? glEnable(GL_POINT_SMOOTH) : glDisable(GL_POINT_SMOOTH);
    on ? glEnable(GL_LINE_SMOOTH) : glDisable(GL_LINE_SMOOTH);
    glDisable(GL_POLYGON_SMOOTH);
    const GLenum hint = on ? GL_NICEST : GL_FASTEST;
    glHint(GL_POINT_SMOOTH_HINT, hint);
    glHint(GL_LINE_SMOOTH_HINT, hint);
}

void setLineArrays()
{
    glVertexPointer(2, GL_FLOAT, sizeof(LineVertex), offset(offsetof(LineVertex, x)));
    glColorPointer(4, GL_UNSIGNED_BYTE, sizeof(LineVertex), offset(offsetof(LineVertex, r)));
}

// Strokes: their alpha comes from the profile texture, their colour from the vertices.
void beginStrokes(unsigned texture)
{
    glVertexPointer(2, GL_FLOAT, sizeof(StrokeVertex), offset(offsetof(StrokeVertex, x)));
    glColorPointer(4, GL_UNSIGNED_BYTE, sizeof(StrokeVertex), offset(offsetof(StrokeVertex, r)));
    glTexCoordPointer(1, GL_FLOAT, sizeof(StrokeVertex), offset(offsetof(StrokeVertex, t)));
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnable(GL_TEXTURE_1D);
    glBindTexture(GL_TEXTURE_1D, texture);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
}

void endStrokes()
{
    glBindTexture(GL_TEXTURE_1D, 0);
    glDisable(GL_TEXTURE_1D);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
}

unsigned makeStrokeTexture()
{
    const TightUnpacking unpacking;
    GLuint id = 0;
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_1D, id);
    // Eight steps across two pixels are smooth enough; nearest sampling is the cheaper one.
    glTexParameteri(GL_TEXTURE_1D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_1D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_1D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexImage1D(GL_TEXTURE_1D, 0, GL_ALPHA, 8, 0, GL_ALPHA, GL_UNSIGNED_BYTE, kStrokeProfile);
    glBindTexture(GL_TEXTURE_1D, 0);
    return id;
}

} // namespace

void GlDesignPainter::beginFrame(int width, int height, int viewportWidth, int viewportHeight,
                                 TColor back, int top, bool clear)
{
    // Other users of the context (Qt composes the window with it) may have left programs,
    // buffers and arrays behind.
    gl_.UseProgram(0);
    gl_.BindBuffer(GL_ARRAY_BUFFER, 0);
    for (GLuint i = 0; i < 8; ++i)
        gl_.DisableVertexAttribArray(i);
    glDisable(GL_SCISSOR_TEST);
    glDisable(GL_STENCIL_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_TEXTURE_2D);
    glDepthMask(GL_TRUE);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glViewport(0, 0, viewportWidth, viewportHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, width, top + height, top, -10, 10);
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(redOf(back) / 255.0f, greenOf(back) / 255.0f, blueOf(back) / 255.0f, 1);
    glClearDepth(1);
    if (clear)
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void GlDesignPainter::upload(Buffer& buffer, const void* data, std::size_t bytes, int count)
{
    if (buffer.id == 0)
        gl_.GenBuffers(1, &buffer.id);
    gl_.BindBuffer(GL_ARRAY_BUFFER, buffer.id);
    gl_.BufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(bytes), bytes ? data : nullptr,
                   GL_STATIC_DRAW);
    gl_.BindBuffer(GL_ARRAY_BUFFER, 0);
    buffer.count = count;
}

void GlDesignPainter::setLineGeometry(const LineGeometry& g, bool smooth)
{
    upload(lineBuffer_, g.lines.data(), g.lines.size() * sizeof(LineVertex),
           static_cast<int>(g.lines.size()));
    smoothLines_ = smooth;
    const std::vector<StrokeVertex> strokes =
        smooth ? smoothStrokes(g.lines) : std::vector<StrokeVertex>();
    upload(strokeBuffer_, strokes.data(), strokes.size() * sizeof(StrokeVertex),
           static_cast<int>(strokes.size()));
    if (smooth && strokeTexture_ == 0)
        strokeTexture_ = makeStrokeTexture();
    if (smooth) {
        const std::vector<StrokeVertex> marks = smoothStrokes(g.marks);
        upload(markBuffer_, marks.data(), marks.size() * sizeof(StrokeVertex),
               static_cast<int>(marks.size()));
    } else {
        upload(markBuffer_, g.marks.data(), g.marks.size() * sizeof(LineVertex),
               static_cast<int>(g.marks.size()));
    }
    upload(pointBuffer_, g.points.data(), g.points.size() * sizeof(float),
           static_cast<int>(g.points.size() / 2));
    lineCommands_ = g.commands;
}

unsigned GlDesignPainter::threadTexture(TColor colour)
{
    auto found = textureCache_.find(colour);
    if (found != textureCache_.end())
        return found->second;
    const ThreadTexturePixels pixels = makelighttexture(colour);
    const unsigned id =
        makeTexture(kThreadTextureWidth, kThreadTextureHeight, 4, pixels.data(), true, false);
    textureCache_.emplace(colour, id);
    return id;
}

void GlDesignPainter::setThreadGeometry(const ThreadGeometry& g)
{
    upload(threadBuffer_, g.vertices.data(), g.vertices.size() * sizeof(ThreadVertex),
           static_cast<int>(g.vertices.size()));
    threadCommands_ = g.commands;
    threadTextures_.clear();
    for (TColor colour : g.threadColours)
        threadTextures_.push_back(threadTexture(colour));
}

void GlDesignPainter::setFabricTile(const FabricTile& tile)
{
    fabricPixels_ = tile;
    fabricDirty_ = true;
}

void GlDesignPainter::drawLines(float originX, float originY, TColor back)
{
    // Lines need no depth: only the colours are cleared (the thread look clears its depth in
    // beginFrame).
    glClearColor(redOf(back) / 255.0f, greenOf(back) / 255.0f, blueOf(back) / 255.0f, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(originX, originY, 0);
    setSmoothing(smoothLines_);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glLineWidth(1);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);

    // Runs of stitches: 4 stroke vertices stand for every 2 line vertices.
    glLineStipple(1, 0x00FF);
    for (const LineCommand& c : lineCommands_) {
        if (c.dashed) {
            gl_.BindBuffer(GL_ARRAY_BUFFER, lineBuffer_.id);
            setLineArrays();
            glEnable(GL_LINE_STIPPLE);
            glDrawArrays(GL_LINES, c.first, c.count);
            glDisable(GL_LINE_STIPPLE);
        } else if (smoothLines_) {
            gl_.BindBuffer(GL_ARRAY_BUFFER, strokeBuffer_.id);
            beginStrokes(strokeTexture_);
            glDrawArrays(GL_QUADS, 2 * c.first, 2 * c.count);
            endStrokes();
        } else {
            gl_.BindBuffer(GL_ARRAY_BUFFER, lineBuffer_.id);
            setLineArrays();
            glDrawArrays(GL_LINES, c.first, c.count);
        }
    }

    if (pointBuffer_.count > 0) {
        glDisableClientState(GL_COLOR_ARRAY);
        glColor3ub(255, 255, 255);
        glPointSize(2);
        gl_.BindBuffer(GL_ARRAY_BUFFER, pointBuffer_.id);
        glVertexPointer(2, GL_FLOAT, 0, offset(0));
        glDrawArrays(GL_POINTS, 0, pointBuffer_.count);
        glPointSize(1);
        glEnableClientState(GL_COLOR_ARRAY);
    }
    if (markBuffer_.count > 0) {
        gl_.BindBuffer(GL_ARRAY_BUFFER, markBuffer_.id);
        if (smoothLines_) {
            beginStrokes(strokeTexture_);
            glDrawArrays(GL_QUADS, 0, markBuffer_.count);
            endStrokes();
        } else {
            setLineArrays();
            glDrawArrays(GL_LINES, 0, markBuffer_.count);
        }
    }
    gl_.BindBuffer(GL_ARRAY_BUFFER, 0);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

void GlDesignPainter::drawThreads(float originX, float originY, bool smooth)
{
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(originX, originY, 0);
    glShadeModel(GL_SMOOTH);
    glClearDepth(1);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.01f);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    setSmoothing(smooth);
    // The three quadrilaterals of a band meet edge to edge: where a driver smooths polygon
    // edges by their coverage, the background would show through the seams.
    glDisable(GL_POLYGON_SMOOTH);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);

    gl_.BindBuffer(GL_ARRAY_BUFFER, threadBuffer_.id);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(2, GL_FLOAT, sizeof(ThreadVertex), offset(offsetof(ThreadVertex, x)));
    glTexCoordPointer(2, GL_FLOAT, sizeof(ThreadVertex), offset(offsetof(ThreadVertex, s)));
    glColorPointer(4, GL_UNSIGNED_BYTE, sizeof(ThreadVertex), offset(offsetof(ThreadVertex, r)));
    for (const ThreadCommand& c : threadCommands_) {
        if (c.kind == ThreadDraw::Bands) {
            glEnable(GL_TEXTURE_2D);
            glBindTexture(GL_TEXTURE_2D, threadTextures_.at(static_cast<std::size_t>(c.texture)));
            glDrawArrays(GL_QUADS, c.first, c.count);
        } else {
            glDisable(GL_TEXTURE_2D);
            glDrawArrays(c.kind == ThreadDraw::SequinFill ? GL_QUADS : GL_LINES, c.first, c.count);
        }
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    gl_.BindBuffer(GL_ARRAY_BUFFER, 0);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
}

void GlDesignPainter::drawFabric(int width, int height, bool mipmapped)
{
    if (fabricDirty_ || fabricTexture_ == 0 || mipmapped != fabricMipmapped_) {
        if (fabricTexture_ != 0)
            glDeleteTextures(1, &fabricTexture_);
        fabricTexture_ =
            makeTexture(kFabricTileSize, kFabricTileSize, 3, fabricPixels_.data(), mipmapped, true);
        fabricMipmapped_ = mipmapped;
        fabricDirty_ = false;
    }
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_BLEND);
    glDisable(GL_POLYGON_SMOOTH);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glBindTexture(GL_TEXTURE_2D, fabricTexture_);
    glColor3ub(255, 255, 255);
    const float s = static_cast<float>(width) / kFabricTileSize;
    const float t = static_cast<float>(height) / kFabricTileSize;
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2i(0, 0);
    glTexCoord2f(s, 0);
    glVertex2i(width, 0);
    glTexCoord2f(s, t);
    glVertex2i(width, height);
    glTexCoord2f(0, t);
    glVertex2i(0, height);
    glEnd();
    glBindTexture(GL_TEXTURE_2D, 0);
    glDisable(GL_TEXTURE_2D);
}

void GlDesignPainter::flush()
{
    glFlush();
}

void GlDesignPainter::setImage(int slot, const std::uint8_t* rgba, int width, int height)
{
    Image& image = images_[slot];
    if (image.texture == 0)
        glGenTextures(1, &image.texture);
    const TightUnpacking unpacking;
    glBindTexture(GL_TEXTURE_2D, image.texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    glBindTexture(GL_TEXTURE_2D, 0);
    image.width = width;
    image.height = height;
}

void GlDesignPainter::drawImage(int slot, float x, float y)
{
    const auto found = images_.find(slot);
    if (found == images_.end() || found->second.texture == 0)
        return;
    const Image& image = found->second;
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_ALPHA_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA); // the pixels are premultiplied
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glBindTexture(GL_TEXTURE_2D, image.texture);
    const float x1 = x + static_cast<float>(image.width);
    const float y1 = y + static_cast<float>(image.height);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2f(x, y);
    glTexCoord2f(1, 0);
    glVertex2f(x1, y);
    glTexCoord2f(1, 1);
    glVertex2f(x1, y1);
    glTexCoord2f(0, 1);
    glVertex2f(x, y1);
    glEnd();
    glBindTexture(GL_TEXTURE_2D, 0);
    glDisable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

void GlDesignPainter::drawPlainLines(const std::vector<float>& ends, TColor colour)
{
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_LINE_SMOOTH);
    glDisable(GL_TEXTURE_2D);
    glColor3ub(static_cast<GLubyte>(redOf(colour)), static_cast<GLubyte>(greenOf(colour)),
               static_cast<GLubyte>(blueOf(colour)));
    glLineWidth(1);
    glBegin(GL_LINES);
    for (std::size_t i = 0; i + 3 < ends.size(); i += 4) {
        // Through pixel centres, so a line is one pixel wide and sharp.
        glVertex2f(ends[i] + 0.5f, ends[i + 1] + 0.5f);
        glVertex2f(ends[i + 2] + 0.5f, ends[i + 3] + 0.5f);
    }
    glEnd();
}

void GlDesignPainter::release()
{
    for (Buffer* b : {&lineBuffer_, &strokeBuffer_, &pointBuffer_, &markBuffer_, &threadBuffer_}) {
        if (b->id != 0)
            gl_.DeleteBuffers(1, &b->id);
        *b = {};
    }
    for (auto& [colour, id] : textureCache_)
        glDeleteTextures(1, &id);
    textureCache_.clear();
    threadTextures_.clear();
    for (auto& [slot, image] : images_)
        if (image.texture != 0)
            glDeleteTextures(1, &image.texture);
    images_.clear();
    for (unsigned* texture : {&fabricTexture_, &strokeTexture_}) {
        if (*texture != 0)
            glDeleteTextures(1, texture);
        *texture = 0;
    }
    lineCommands_.clear();
    threadCommands_.clear();
}

} // namespace loomscope
