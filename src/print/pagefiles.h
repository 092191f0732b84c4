#pragma once

// The files the print system writes: the page as a PDF, the preview as a 24-bit BMP, and the
// company logo. Each is written to a temporary file and renamed, so a failure leaves any old
// file whole; each returns an empty string on success, else a message naming the file.

#include <QString>
#include <string>

class QImage;

namespace loomscope {

class Tembs;
struct PrintPage;
struct PageSources;

// The page as a one-page vector PDF at 600 dots per inch on the locale's paper (A4, or Letter
// where the locale measures in inches), composed as for a printer: 10 points, the scale that
// fits the page units onto the paper.
QString writePagePdf(const std::string& path, Tembs& dst, PrintPage& page,
                     const PageSources& sources, const QString& title);

// A picture as a 24-bit BMP with the resolution given (3780 pixels a metre is 96 per inch).
QString saveBmp24(const QImage& picture, const std::string& path, int pixelsPerMetre = 3780);

// The length of a page unit on the PDF's paper.
double pdfUnitMillimetres();

// Reads a picture the user picked (JPEG, PNG, BMP, whatever Qt reads).
QImage loadPicture(const QString& path, QString* error);

// The 50 x 50 company logo: the picture stretched to fill it (proportions are not kept),
// written as "companylogo.bmp" in the program home.
inline constexpr int kLogoSize = 50;
QImage companyLogoFrom(const QImage& picture);
QString writeCompanyLogo(const QImage& picture, const std::string& programHome);

} // namespace loomscope
