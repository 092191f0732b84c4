#include "config/companyinfo.h"
#include "config/configstore.h"
#include "drawing/programfonts.h"
#include "model/fileio.h"
#include "model/outputguard.h"
#include "pagefiles.h"
#include "pagetexts.h"
#include "session/pathstrings.h"
#include "session/usermessages.h"
#include "tform3.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

// The print window's three outputs: the page on a printer, as a BMP picture and as a PDF, each
// refusing to write over what the page is made from.

namespace loomscope {

bool TForm3::printTo(QPrinter& printer)
{
    if (!page_.candraw)
        return false;
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setFullPage(false);
    const QRectF area = printer.pageRect(QPrinter::DevicePixel);
    sc = pageScale(static_cast<int>(area.width()), static_cast<int>(area.height()));
    QPainter painter;
    if (!painter.begin(&printer)) {
        messages_.error(this,
                        tr("The printer \"%1\" could not be started.").arg(printer.printerName()));
        return false;
    }
    const PageSources sources = takeControls();
    const std::string problem = composepage(painter, 10, sc, dst, page_, sources);
    const bool ended = painter.end();
    if (!problem.empty())
        messages_.error(this, QString::fromStdString(problem));
    if (!ended)
        messages_.error(
            this,
            tr("The page could not be sent to the printer \"%1\".").arg(printer.printerName()));
    return ended;
}

void TForm3::printCommand()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setDocName(QString::fromStdString(pathDisplayText(dst.dstfilename())));
    QPrintDialog dialog(&printer, this);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    if (dialog.exec() != QDialog::Accepted)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    printTo(printer);
    QApplication::restoreOverrideCursor();
}

QString TForm3::proposedName(const char* extension) const
{
    const QString folder = QFile::decodeName(QByteArray::fromStdString(folderPart(designPath_)));
    return folder + QString::fromStdString(pathDisplayText(dst.dstfilename())) +
           QLatin1String(extension);
}

bool TForm3::refusedAsInput(const std::string& path)
{
    // The page is made from these: saving over one of them would destroy it.
    const ToolInputs inputs =
        designInputs(designPath_, {config_.path(), companyLogoPath(pathBytes(programHome_))});
    const auto input = overwrittenInput(path, inputs);
    if (input)
        messages_.error(this, QString::fromStdString(overwriteRefusal(path, *input)));
    return input.has_value();
}

QString TForm3::chooseSaveName(const QString& caption, const char* extension, const QString& filter)
{
    QFileDialog dialog(this, caption);
    dialog.setObjectName(QStringLiteral("SavePageDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(filter);
    // Told its extension, the dialog asks "replace?" for the name that will really be written
    // ("rose" typed over an existing rose.bmp), not for the name as typed.
    dialog.setDefaultSuffix(QLatin1String(extension + 1));
    dialog.selectFile(proposedName(extension));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

void TForm3::saveCommand()
{
    const QString chosen = chooseSaveName(tr("保存"), ".bmp", tr("BMP (*.bmp)"));
    if (!chosen.isEmpty())
        savePreviewAs(chosen);
}

QString TForm3::savePreviewAs(const QString& chosenName)
{
    if (bit111.width() != kPageWidth)
        return {};
    const std::string path = withExtension(pathBytes(chosenName), ".bmp");
    if (refusedAsInput(path))
        return {};
    // One pixel per page unit: printed at its resolution, the picture is the page at its size.
    const int pixelsPerMetre = static_cast<int>(std::lround(1000 / page_.unitMillimetres));
    if (const QString failed = saveBmp24(bit111, path, pixelsPerMetre); !failed.isEmpty()) {
        messages_.error(this, failed);
        return {};
    }
    messages_.information(this, tr("保存成功"));
    return QFile::decodeName(QByteArray::fromStdString(path));
}

void TForm3::pdfCommand()
{
    const QString chosen = chooseSaveName(QStringLiteral("PDF"), ".pdf", tr("PDF (*.pdf)"));
    if (!chosen.isEmpty())
        savePdfAs(chosen);
}

QString TForm3::savePdfAs(const QString& chosenName)
{
    if (!page_.candraw)
        return {};
    const std::string path = withExtension(pathBytes(chosenName), ".pdf");
    if (refusedAsInput(path))
        return {};
    const PageSources sources = takeControls();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QString failed = writePagePdf(path, dst, page_, sources,
                                        QString::fromStdString(pathDisplayText(dst.dstfilename())));
    QApplication::restoreOverrideCursor();
    if (!failed.isEmpty()) {
        messages_.error(this, failed);
        return {};
    }
    messages_.information(this, tr("保存成功"));
    return QFile::decodeName(QByteArray::fromStdString(path));
}

} // namespace loomscope
