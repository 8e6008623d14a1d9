#include "app/job/PrintJob.h"

#include "app/job/PagePrinting.h"
#include "app/printing/Printer.h"
#include "app/table/AssignmentTable.h"
#include "app/trust/LinkCheck.h"
#include "app/trust/UsedSignatures.h"

#include <QDateTime>

#include <exception>

void RunPrintJob(const TPrintJob& Job, QString& FPdfPath) {
    std::exception_ptr error;
    std::unique_ptr<TDownloadFile> download;
    try {
        const TTrustPolicy trust = CurrentTrustPolicy();
        CheckLink(trust, Job.Link, QDateTime::currentSecsSinceEpoch(), UsedSignatures::RecordPath());
        download = DownPDF(Job.pdfurl, Job.DownloadFolder, Job.OnProgress, SourceFilter(trust));
        if (download) {
            FPdfPath = download->Path();
            TPrinter printer;
            const QString printerName =
                AssignmentTable::GetPrintName(*Job.Cds, Job.ModuleAddress, [&printer] {
                    return printer.Printers().value(printer.PrinterIndex());
                });
            printPDf(*Job.Pdf, printer, printerName, FPdfPath, Job.Caption);
        }
    } catch (...) {
        error = std::current_exception();
    }
    download.reset(); // deletes the file; one that cannot be deleted stays, and nobody is told
    Job.Close();
    if (error)
        std::rethrow_exception(error);
}
