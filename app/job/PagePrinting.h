// Printing a PDF file page by page: each page rendered by the PDF component as wide as the printable area and
// drawn at its top-left corner, in one print job on the named printer; with print options, the pages, copies,
// sides, paper, tray, colour and placement they ask for.
#pragma once

#include "app/options/PrintOptions.h"

#include <QString>

#include <functional>

class TPrinter;
namespace PDFium {
class TPdf;
}

// Opens FileName in Pdf and prints every page on the printer whose name equals PrinterName without regard to
// case, else on the default printer. The job is titled with the document's title, or Caption when it has
// none. LinkOptions go over the printer's own options; one the printer does not support raises before the
// job begins. Pdf is closed again on every exit; pages drawn before a failure are still printed, and when
// the document fails before its first page is drawn, the print job is cancelled: nothing reaches the
// printer.
void printPDf(PDFium::TPdf& Pdf, TPrinter& Printer, const QString& PrinterName, const QString& FileName,
              const QString& Caption, const TOptionValues& LinkOptions = {});

// Told after each page handed to the printer: the pages handed so far and those of the whole job.
using TPageProgress = std::function<void(int Printed, int Count)>;

// Prints the document open in Pdf as printPDf does, and leaves it open, its current page the last one
// printed. An error that OnPage raises ends the job as any other.
void PrintDocument(PDFium::TPdf& Pdf, TPrinter& Printer, const QString& PrinterName, const QString& Caption,
                   const TOptionValues& Options = {}, const TPageProgress& OnPage = {});
