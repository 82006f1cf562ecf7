// Printing the image: one page, each image pixel on 3 x 3 printer dots, at
// the top-left of the printable area, nothing scaled to the page. With
// QUORVANE_PRINT_TO_PDF naming a file the page goes to that PDF instead of
// the default printer (at 96 dots per inch and without margins, so the page
// shows the dots one to one when rendered at 96 dpi).
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <cstdlib>
#include <memory>

#include "app/main_form.h"
#include "platform/error.h"
#include "platform/qt/image_conversion.h"
#include "platform/services.h"

namespace quorvane {

namespace {

constexpr int PdfDotsPerInch = 96;

std::unique_ptr<QPrinter> TargetPrinter() {
    const char* pdfFile = std::getenv("QUORVANE_PRINT_TO_PDF");
    if (pdfFile != nullptr && *pdfFile != '\0') {
        auto printer = std::make_unique<QPrinter>(QPrinter::ScreenResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(QString::fromLocal8Bit(pdfFile));
        printer->setResolution(PdfDotsPerInch);
        printer->setPageMargins(QMarginsF(0, 0, 0, 0));
        return printer;
    }
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) throw Error("There is no default printer");
    return std::make_unique<QPrinter>(info, QPrinter::HighResolution);
}

}  // namespace

void TMainForm::Print(std::int32_t orientation) {
    const std::unique_ptr<QPrinter> printer = TargetPrinter();
    printer->setPageOrientation(orientation == 0 ? QPageLayout::Portrait : QPageLayout::Landscape);
    printer->setDocName(ApplicationTitle);
    const QRect target(0, 0, 3 * ImageBitmap.Width(), 3 * ImageBitmap.Height());
    const QString name = printer->outputFormat() == QPrinter::PdfFormat ? printer->outputFileName() : printer->printerName();
    QPainter painter;
    if (!painter.begin(printer.get())) throw Error("The print job for " + name.toStdString() + " could not be started");
    const QImage image = WrapBitmap(ImageBitmap);
    if (!image.isNull()) painter.drawImage(target, image);
    if (!painter.end() || printer->printerState() == QPrinter::Error)
        throw Error("Printing to " + name.toStdString() + " failed");
}

}  // namespace quorvane
