#pragma once

#include "drawing/fabrictile.h"
#include "drawing/gldesignpainter.h"
#include "drawing/offscreengl.h"
#include "exportlayout.h"
#include "model/tembs.h"

#include <QImage>
#include <QString>
#include <vector>

namespace loomscope {

// Sizes handed to a renderer: the sequin radii in pixels, and the background colour (which
// the renderer does not use; setbackcolor sets it).
struct rendertobmpinfo {
    float sequinsda = 0;
    float sequinsxiao = 0;
    TColor backcolor = 0xFFFFFF;
};

// Draws a whole design in the thread look into a picture of BM_SIZE_X x BM_SIZE_Y pixels
// (off screen, strip by strip, so memory stays bounded whatever the picture and design), on a
// background colour or a tinted fabric, and saves it as a JPEG of best quality with an information
// block and a resolution that prints it at its stitched size. Made for one picture: create,
// configure, loadfromfile, rendertobmp. Everything happens on the thread that made it.
class Trendertobmp {
public:
    // The picture is x and y grown to the next multiple of 4 (always by 1 to 4 pixels).
    Trendertobmp(const rendertobmpinfo& info, int x, int y);
    ~Trendertobmp();
    Trendertobmp(const Trendertobmp&) = delete;
    Trendertobmp& operator=(const Trendertobmp&) = delete;

    // False when no drawing surface could be made; `error` says why.
    bool isReady() const { return ready_; }
    const QString& error() const { return error_; }
    int width() const { return BM_SIZE_X; }
    int height() const { return BM_SIZE_Y; }

    // Reads the design and fits it, with its margin, into the picture; thread colours from the
    // default palette. False when the file holds no design.
    bool loadfromfile(const std::string& filepath);
    void setbackcolor(TColor value); // the text takes the complement
    void Fsetzhucolor(TColor value); // sequins
    void isture(bool value);         // fabric under the design
    // The fabric's picture and tint. While the fabric is shown the information text takes the
    // complement of the tint, as the view's overlay does: the complement of the background
    // colour can be unreadable on a fabric (grey on grey, black on dark felt).
    void setbackTexture(TColor tint, const RgbPicture& picture);
    void setcolorlist(int index, TColor colour); // ignored outside the design's colours

    // Draws, reads back, brightens, writes the information block and saves a JPEG at `path`
    // with round(bili x 90) dots per inch. The file is replaced only when all went well.
    bool rendertobmp(const std::string& path, float bili, QString* error);
    // The drawn, read-back and brightened picture, without text.
    QImage savetobmp(float bili);
    // The finished picture as rendertobmp writes it: with the information block and the
    // resolution; a null image when it could not be made.
    QImage picture(float bili);

    const Tembs& dstfile() const { return Fdstfile; }
    const std::vector<TColor>& colorlist() const { return Fcolorlist; }
    // The colour of the information text.
    TColor fontcolor() const { return Fbackground ? complementOf(fabricTint_) : ffontcolor; }
    // The three credit lines of the information block.
    void setCredits(std::vector<std::string> lines) { credits_ = std::move(lines); }
    // Where the picture's decimal numbers take their separator from.
    void setDecimalSeparator(char separator) { decimalSeparator_ = separator; }

private:
    QImage render();
    void drawInfo(QImage& picture) const;

    OffscreenGl surface_;
    int stripHeight_ = 0;
    GlDesignPainter painter_;
    bool ready_ = false;
    QString error_;
    Tembs Fdstfile;
    float Fsequinsizez = 0;
    float Fsequinsizelz = 0;
    int BM_SIZE_X = 0;
    int BM_SIZE_Y = 0;
    bool Fbackground = false;
    TColor Fbackcolor = 0xFFFFFF;
    TColor ffontcolor = 0;
    std::vector<TColor> Fcolorlist;
    FabricTile pxs2{};
    TColor fabricTint_ = 0xFFFFFF;
    std::vector<std::string> credits_ = defaultPictureCredits();
    TColorVector Fzhucolorrgb;
    char decimalSeparator_ = '.';
};

} // namespace loomscope
