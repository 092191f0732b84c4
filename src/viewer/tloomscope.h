#pragma once

#include "designview.h"
#include "drawing/designlook.h"
#include "drawing/gldesignpainter.h"

#include <QFont>
#include <QOpenGLWidget>
#include <QString>
#include <string>

class QImage;

namespace loomscope {

class MeasureOverlay;

// The design view: shows one design with OpenGL as stitch lines or in the thread look, on a
// plain background or a tinted fabric, with an information overlay, and carries a one-shot
// measuring tool. Its state lives in a DesignView; every operation and setter ends with a new
// frame. The host reacts to the press, release, double-click and wheel signals (pan, zoom).
class Tloomscope : public QOpenGLWidget {
    Q_OBJECT
public:
    explicit Tloomscope(QWidget* parent = nullptr);
    ~Tloomscope() override;

    // Loads and shows a design (its path as the bytes the file system holds); `chuang` fits
    // it to the control. Returns what happened, so the host can report a design that could
    // not be read or a damaged side file.
    DesignView::LoadResult loaddstfile(const std::string& filename, bool chuang);
    void offsetpos(float x, float y);
    void Setscale(float factor);
    void yibiyi();                        // one to one: scale 1, centred
    void chuangkou(float wid, float hei); // fit to wid x hei, centred
    void firstcolor();
    void nextcolor();
    void priorcolor();
    void endcolor();
    void setcolorlist(int coindex, TColor colour);
    TColor readcolorlist(int coindex) const;
    // The blocks of colour index `coindex` take `colour` and lose their thread names.
    void recolourBlocks(int coindex, TColor colour);
    // The fabric: on or off, its tint and a picture of at least 128 x 128 pixels.
    void setbackground(bool on, TColor tint, const QImage& picture);
    // Makes the control's context current again after another context was used.
    void setopengl();
    // The file the shown design came from (a picture of it is made from this and look()).
    const std::string& designPath() const { return view_.filename(); }
    char decimalSeparator() const { return view_.decimalSeparator(); }

    bool Antialiasing() const { return antialiasing_; }
    void SetAntialiasing(bool value);
    tdstshow dstshowtype() const { return view_.dstshowtype(); }
    void Setdstshowtype(tdstshow value);
    bool showpoint() const { return view_.showpoint(); }
    void Setshowpoint(bool value);
    bool showjiqima() const { return view_.showjiqima(); }
    void Setshowjiqima(bool value);
    bool showfont() const { return view_.showfont(); }
    void Setshowfont(bool value);
    bool showbeginend() const { return view_.showbeginend(); }
    void Setshowbeginend(bool value);
    float sequinsizeD() const { return view_.sequinsizeD(); }
    void SetsequinsizeD(float mm);
    float sequinsizeX() const { return view_.sequinsizeX(); }
    void SetsequinsizeX(float mm);
    TColor backcolor() const { return view_.backcolor(); }
    void Setbackcolor(TColor value);
    TColor sequincolor() const { return view_.sequincolor(); }
    void Setsequincolor(TColor value);
    TColor fontcolor() const { return view_.fontcolor(); }
    void Setfontcolor(TColor value);
    void Setcl(bool armed) { view_.setCl(armed); }

    const DesignView& view() const { return view_; }
    const DesignLook& look() const { return view_.look(); }
    const Tembs& dstfile() const { return view_.dstfile(); }
    const Tdstinfo& dstinfo() const { return view_.dstinfo(); }
    bool isbackground() const { return view_.isbackground(); }
    int colorindex() const { return view_.colorindex(); }
    TRectF dstrect() const { return view_.dstrect(); }

    // How many frames have been asked for; tests use it to see that nothing was redrawn.
    quint64 redrawRequests() const { return redrawRequests_; }

signals:
    // A design was loaded, or a file could not be read and the view is empty.
    void designLoaded();
    // An entry of the colour table changed.
    void colourChanged(int index);
    // What the view shows moved or changed kind: scale, position, show type.
    void viewChanged();
    void pressed(QPoint position, Qt::MouseButton button);
    void released(QPoint position, Qt::MouseButton button);
    void doubleClicked(QPoint position);
    // The host sets *handled when it used the turn; otherwise the event goes on to the parent.
    void wheelTurned(QPoint position, int delta, bool* handled);

protected:
    void initializeGL() override;
    void paintGL() override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    // Builds and uploads the vertex arrays when scale, colours, cursor or switches changed
    // (the context must be current); paintGL does it before drawing.
    void buildGeometryIfNeeded();

private:
    // Every plain property setter: the view state takes the value, then a new frame.
    template <typename T, typename U> void setAndRedraw(void (DesignView::*set)(T), U value)
    {
        (view_.*set)(value);
        redraw();
    }
    void redraw();
    void freegl();
    void drawinfo();
    void updateOverlayImages();
    void press(QMouseEvent* event);

    DesignView view_;
    GlDesignPainter painter_;
    bool functionsReady_ = false;
    QMetaObject::Connection contextGone_;
    MeasureOverlay* overlay_ = nullptr;
    bool antialiasing_ = true;
    bool contextReady_ = false;
    std::uint64_t lineRevision_ = 0;
    bool lineSmooth_ = false;
    std::uint64_t threadRevision_ = 0;
    bool fabricPending_ = false;
    quint64 redrawRequests_ = 0;
    QFont labelFont_;
    QFont nameFont_;
    // The overlay's text, drawn once into pictures that the frame lays over the design; they
    // are drawn again only when their text or colour changes.
    QString overlayKey_;
    int markAscent_ = 0;
};

} // namespace loomscope
