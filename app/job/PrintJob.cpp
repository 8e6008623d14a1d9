#include "app/job/PrintJob.h"

#include "app/job/PagePrinting.h"
#include "app/printing/Printer.h"
#include "app/table/AssignmentTable.h"

#include <QFile>
#include <exception>

void RunPrintJob(const TPrintJob& Job, QString& FPdfPath) {
    std::exception_ptr error;
    try {
        FPdfPath = DownPDF(Job.pdfurl, Job.DownloadFolder, Job.OnProgress);
        if (!FPdfPath.isEmpty()) {
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
    if (!FPdfPath.isEmpty() && QFile::exists(FPdfPath))
        QFile::remove(FPdfPath); // a file that cannot be deleted stays; nobody is told
    Job.Close();
    if (error)
        std::rethrow_exception(error);
}
