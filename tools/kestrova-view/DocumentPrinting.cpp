#include "DocumentPrinting.h"

#include "app/job/PagePrinting.h"
#include "app/printing/Printer.h"
#include "pdf/Pdf.h"

#include <QFileInfo>
#include <QProgressDialog>

int PrintShownDocument(PDFium::TPdf& Pdf, const TPrintRequest& Request, QWidget* Parent) {
    QProgressDialog progress(QStringLiteral("Printing on %1").arg(Request.PrinterName), QString(), 0, 0,
                             Parent);
    progress.setObjectName(QStringLiteral("pdPrinting"));
    progress.setWindowTitle(QStringLiteral("Print"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setValue(0);
    int printed = 0;
    const auto onPage = [&](int sent, int count) {
        printed = sent;
        progress.setMaximum(count);
        progress.setValue(sent);
        progress.setLabelText(
            QStringLiteral("Printing on %1: page %2 of %3").arg(Request.PrinterName).arg(sent).arg(count));
    };
    const int pageNumber = Pdf.PageNumber();
    TPrinter printer;
    try {
        PrintDocument(Pdf, printer, Request.PrinterName, QFileInfo(Pdf.FileName()).fileName(),
                      Request.Options, onPage);
    } catch (...) {
        Pdf.SetPageNumber(pageNumber);
        throw;
    }
    Pdf.SetPageNumber(pageNumber);
    return printed;
}
