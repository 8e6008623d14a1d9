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
        TPrinter printer;
        const auto printerName = [&] {
            return AssignmentTable::GetPrintName(*Job.Cds, Job.ModuleAddress, [&printer] {
                return printer.Printers().value(printer.PrinterIndex());
            });
        };
        // Every option, the link's and the printer's own, is read and checked before anything is fetched.
        printer.SetPrinterIndex(FindJobPrinter(printer.Printers(), printerName()));
        printer.SetOptions(Job.PrintOptions);
        printer.Options();
        download = DownPDF(Job.pdfurl, Job.DownloadFolder, Job.OnProgress, SourceFilter(trust));
        if (download) {
            FPdfPath = download->Path();
            printPDf(*Job.Pdf, printer, printerName(), FPdfPath, Job.Caption, Job.PrintOptions);
        }
    } catch (...) {
        error = std::current_exception();
    }
    download.reset(); // deletes the file; one that cannot be deleted stays, and nobody is told
    Job.Close();
    if (error)
        std::rethrow_exception(error);
}
