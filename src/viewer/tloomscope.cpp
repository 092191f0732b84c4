#include "tloomscope.h"

#include "drawing/pictureconvert.h"
#include "drawing/programfonts.h"
#include "measureoverlay.h"
#include "overlaytext.h"

#include <QFontMetrics>
#include <QImage>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QPainter>
#include <QWheelEvent>
#include <cmath>

namespace loomscope {

namespace {
QColor toQColor(const TColorVector& c)
{
    return QColor::fromRgbF(c.red, c.green, c.blue, c.alpha);
}
} // namespace

Tloomscope::Tloomscope(QWidget* parent) : QOpenGLWidget(parent)
{
    loadProgramFonts();
    labelFont_ = overlayLabelFont();
    nameFont_ = overlayNameFont();
    view_.setDecimalSeparator(localeDecimalSeparator());
    overlay_ = new MeasureOverlay(view_, this);
    overlay_->setGeometry(rect());
    setMouseTracking(false);
    setFocusPolicy(Qt::ClickFocus);
}

Tloomscope::~Tloomscope()
{
    // The context outlives this object by a little (QOpenGLWidget frees it in its own
    // destructor); its last signal must not reach members that are already gone.
    disconnect(contextGone_);
    if (contextReady_) {
        makeCurrent();
        freegl();
        doneCurrent();
    }
}

void Tloomscope::initializeGL()
{
    contextReady_ = true;
    QOpenGLContext* gl = context();
    const char* missing = nullptr;
    GlProcs functions;
    functionsReady_ = functions.resolve(
        [gl](const char* name) { return reinterpret_cast<void*>(gl->getProcAddress(name)); },
        &missing);
    if (functionsReady_)
        painter_.setFunctions(functions);
    else
        qWarning("loomscope: this OpenGL lacks %s; the view shows only its background", missing);
    // A widget moved to another window gets a new context: the old one's objects go with it.
    disconnect(contextGone_);
    contextGone_ = connect(gl, &QOpenGLContext::aboutToBeDestroyed, this, [this] {
        makeCurrent();
        freegl();
        doneCurrent();
    });
}

void Tloomscope::freegl()
{
    painter_.release();
    overlayKey_.clear();
    lineRevision_ = threadRevision_ = 0;
    fabricPending_ = true;
    contextReady_ = false;
}

void Tloomscope::setopengl()
{
    makeCurrent();
    redraw();
}

void Tloomscope::redraw()
{
    ++redrawRequests_;
    update();
}

DesignView::LoadResult Tloomscope::loaddstfile(const std::string& filename, bool chuang)
{
    auto result = view_.loaddstfile(filename, chuang, width(), height());
    if (result.loaded) {
        redraw();
        emit designLoaded();
        emit viewChanged();
    }
    return result;
}

void Tloomscope::offsetpos(float x, float y)
{
    const TRectF before = view_.dstrect();
    view_.offsetpos(x, y);
    if (!(view_.dstrect() == before)) {
        redraw();
        emit viewChanged();
    }
}

void Tloomscope::Setscale(float factor)
{
    if (view_.measuring())
        return;
    view_.Setscale(factor);
    redraw();
    emit viewChanged();
}

void Tloomscope::yibiyi()
{
    view_.yibiyi(width(), height());
    redraw();
    emit viewChanged();
}

void Tloomscope::chuangkou(float wid, float hei)
{
    view_.chuangkou(wid, hei, width(), height());
    redraw();
    emit viewChanged();
}

void Tloomscope::firstcolor()
{
    view_.firstcolor();
    redraw();
}

void Tloomscope::nextcolor()
{
    view_.nextcolor();
    redraw();
}

void Tloomscope::priorcolor()
{
    view_.priorcolor();
    redraw();
}

void Tloomscope::endcolor()
{
    view_.endcolor();
    redraw();
}

void Tloomscope::setcolorlist(int coindex, TColor colour)
{
    if (view_.setcolorlist(coindex, colour)) {
        redraw();
        emit colourChanged(coindex);
    }
}

void Tloomscope::recolourBlocks(int coindex, TColor colour)
{
    view_.recolourBlocks(coindex, colour);
}

TColor Tloomscope::readcolorlist(int coindex) const
{
    return view_.readcolorlist(coindex);
}

void Tloomscope::setbackground(bool on, TColor tint, const QImage& picture)
{
    view_.setbackground(on, tint, on ? toRgbPicture(picture) : RgbPicture{});
    if (on)
        fabricPending_ = true;
    redraw();
}

void Tloomscope::SetAntialiasing(bool value)
{
    antialiasing_ = value;
}

void Tloomscope::Setdstshowtype(tdstshow value)
{
    view_.setDstshowtype(value);
    redraw();
    emit viewChanged();
}

void Tloomscope::Setshowpoint(bool value)
{
    setAndRedraw(&DesignView::setShowpoint, value);
}

void Tloomscope::Setshowjiqima(bool value)
{
    setAndRedraw(&DesignView::setShowjiqima, value);
}

void Tloomscope::Setshowfont(bool value)
{
    setAndRedraw(&DesignView::setShowfont, value);
}

void Tloomscope::Setshowbeginend(bool value)
{
    setAndRedraw(&DesignView::setShowbeginend, value);
}

void Tloomscope::SetsequinsizeD(float mm)
{
    setAndRedraw(&DesignView::setSequinsizeD, mm);
}

void Tloomscope::SetsequinsizeX(float mm)
{
    setAndRedraw(&DesignView::setSequinsizeX, mm);
}

void Tloomscope::Setbackcolor(TColor value)
{
    setAndRedraw(&DesignView::setBackcolor, value);
}

void Tloomscope::Setsequincolor(TColor value)
{
    setAndRedraw(&DesignView::setSequincolor, value);
}

void Tloomscope::Setfontcolor(TColor value)
{
    setAndRedraw(&DesignView::setFontcolor, value);
}

void Tloomscope::buildGeometryIfNeeded()
{
    const std::uint64_t revision = view_.geometryRevision();
    if (view_.dstshowtype() == tdstshow::dsline) {
        if (lineRevision_ == revision && lineSmooth_ == antialiasing_)
            return;
        LineOptions options;
        options.showPoints = view_.showpoint();
        options.showCodes = view_.showjiqima();
        options.sequinOuter = view_.sequinOuterRadius();
        options.sequinHole = view_.sequinHoleRadius();
        painter_.setLineGeometry(
            buildLineGeometry(view_.dstfile(), view_.colorlist(), view_.colorindex(), options),
            antialiasing_);
        lineRevision_ = revision;
        lineSmooth_ = antialiasing_;
    } else {
        if (threadRevision_ == revision)
            return;
        ThreadOptions options;
        options.halfWidth = viewerBandHalfWidth(view_.dstfile().scale());
        options.sequinOuter = view_.sequinOuterRadius();
        options.sequinHole = view_.sequinHoleRadius();
        options.sequinColour = view_.sequinColourInUse();
        painter_.setThreadGeometry(
            buildThreadGeometry(view_.dstfile(), view_.colorlist(), view_.colorindex(), options));
        threadRevision_ = revision;
    }
}

void Tloomscope::paintGL()
{
    const qreal ratio = devicePixelRatioF();
    // The line pass clears the frame itself (the fabric never shows in line mode), so the
    // frame is cleared once either way.
    const bool lines = view_.isexist() && view_.dstshowtype() == tdstshow::dsline;
    if (!functionsReady_) {
        glClearColor(redOf(view_.backcolor()) / 255.0f, greenOf(view_.backcolor()) / 255.0f,
                     blueOf(view_.backcolor()) / 255.0f, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        return;
    }
    painter_.beginFrame(width(), height(), qRound(width() * ratio), qRound(height() * ratio),
                        view_.backcolor(), 0, !lines);
    if (!view_.isexist())
        return;
    buildGeometryIfNeeded();
    if (fabricPending_) {
        painter_.setFabricTile(view_.fabricTile());
        fabricPending_ = false;
    }
    const TPointF origin = view_.origin();
    if (lines) {
        painter_.drawLines(origin.x, origin.y, view_.backcolor());
    } else {
        if (view_.isbackground())
            painter_.drawFabric(width(), height(), false);
        painter_.drawThreads(origin.x, origin.y, antialiasing_);
    }
    if (view_.showfont())
        drawinfo();
}

namespace {
enum OverlaySlot { kOverlayText = 1, kMarkOne = 2, kMarkTwo = 3 };

// A transparent picture with `draw` painted on it, as premultiplied RGBA rows.
template <typename Draw> QImage overlayPicture(QSize size, Draw draw)
{
    QImage image(size, QImage::Format_RGBA8888_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    draw(painter);
    return image;
}
} // namespace

void Tloomscope::updateOverlayImages()
{
    const auto rows = overlayRows(view_.dstfile(), view_.dstinfo(), view_.decimalSeparator());
    const QColor ink = toQColor(view_.fontColourInUse());
    QString key = ink.name();
    for (const OverlayRow& row : rows)
        key += QLatin1Char('\n') + QString::fromStdString(row.value);
    if (key == overlayKey_)
        return;
    overlayKey_ = key;

    // Labels at x = 10, values at x = 80, each row on its baseline; the name in a font that
    // has every script.
    const QFontMetrics labels(labelFont_);
    const QFontMetrics names(nameFont_);
    int right = 80;
    for (std::size_t i = 0; i < rows.size(); ++i)
        right = std::max(
            right,
            80 +
                (i == 0 ? names : labels).horizontalAdvance(QString::fromStdString(rows[i].value)));
    const QImage text = overlayPicture(
        QSize(right + 4, rows.back().baseline + labels.descent() + 2), [&](QPainter& p) {
            p.setPen(ink);
            p.setFont(labelFont_);
            for (const OverlayRow& row : rows)
                p.drawText(QPointF(10, row.baseline), QString::fromStdString(row.label));
            for (std::size_t i = 1; i < rows.size(); ++i)
                p.drawText(QPointF(80, rows[i].baseline), QString::fromStdString(rows[i].value));
            p.setFont(nameFont_);
            p.drawText(QPointF(80, rows[0].baseline), QString::fromStdString(rows[0].value));
        });
    painter_.setImage(kOverlayText, text.constBits(), text.width(), text.height());

    // The start and end labels, drawn on their baselines wherever the marks are.
    markAscent_ = labels.ascent();
    const QSize markSize(labels.horizontalAdvance(QStringLiteral("2")) + 2, labels.height());
    for (auto [slot, digit] : {std::pair{kMarkOne, "1"}, std::pair{kMarkTwo, "2"}}) {
        const QImage mark = overlayPicture(markSize, [&](QPainter& p) {
            p.setPen(ink);
            p.setFont(labelFont_);
            p.drawText(QPointF(0, markAscent_), QLatin1String(digit));
        });
        painter_.setImage(slot, mark.constBits(), mark.width(), mark.height());
    }
}

void Tloomscope::drawinfo()
{
    updateOverlayImages();
    painter_.drawImage(kOverlayText, 0, 0);
    if (!view_.showbeginend())
        return;
    // Crosshairs through the first record (red) and the last (blue) across the whole view,
    // labelled 1 on the top and left edges and 2 on the bottom and right edges.
    const TPointF o = view_.origin();
    const TPointF first = view_.dstfile().firstpoint();
    const TPointF last = view_.dstfile().lastpoint();
    const float sx = std::floor(o.x + first.x), sy = std::floor(o.y + first.y);
    const float ex = std::floor(o.x + last.x), ey = std::floor(o.y + last.y);
    const auto w = static_cast<float>(width());
    const auto h = static_cast<float>(height());
    painter_.drawPlainLines({sx, 0, sx, h, 0, sy, w, sy}, rgb(255, 0, 0));
    painter_.drawPlainLines({ex, 0, ex, h, 0, ey, w, ey}, rgb(0, 0, 255));
    const auto up = static_cast<float>(markAscent_);
    painter_.drawImage(kMarkOne, sx + 5, 12 - up);
    painter_.drawImage(kMarkOne, 5, sy - 10 - up);
    painter_.drawImage(kMarkTwo, ex + 5, h - 8 - up);
    painter_.drawImage(kMarkTwo, w - 10, ey - 10 - up);
}

void Tloomscope::resizeEvent(QResizeEvent* event)
{
    QOpenGLWidget::resizeEvent(event);
    view_.resize(width(), height());
    overlay_->setGeometry(rect());
}

void Tloomscope::mousePressEvent(QMouseEvent* event)
{
    press(event);
}

void Tloomscope::press(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    view_.measurePress(p.x(), p.y());
    if (view_.measuring())
        overlay_->update();
    emit pressed(p, event->button());
}

void Tloomscope::mouseMoveEvent(QMouseEvent* event)
{
    if (!view_.measuring())
        return;
    const QPoint p = event->position().toPoint();
    view_.measureMove(p.x(), p.y());
    overlay_->update();
}

void Tloomscope::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    if (view_.armed()) {
        view_.measureRelease(p.x(), p.y());
        overlay_->update();
    }
    emit released(p, event->button());
}

void Tloomscope::mouseDoubleClickEvent(QMouseEvent* event)
{
    // Qt delivers the second press of a quick double press as this event only: it is still a
    // press (a drag may start on it, an armed measurement starts on it).
    press(event);
    emit doubleClicked(event->position().toPoint());
}

void Tloomscope::wheelEvent(QWheelEvent* event)
{
    bool handled = false;
    emit wheelTurned(event->position().toPoint(), event->angleDelta().y(), &handled);
    event->setAccepted(handled);
}

} // namespace loomscope
