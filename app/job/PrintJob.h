// One print job from start to end: check the link against the trust policy, download the linked PDF, find
// the module's printer, print every page, then delete the file and close the window, whatever happened; an
// error is raised only after that clean-up. A link with print options has them checked against the module's
// printer first: one that is malformed or that the printer does not support ends the job before anything is
// downloaded.
#pragma once

#include "app/download/Download.h"
#include "app/options/PrintOptions.h"

#include <QString>
#include <functional>

class TClientDataSet;
namespace PDFium {
class TPdf;
}

struct TPrintJob {
    QString Link;               // the link as the process was given it, checked against the trust policy
    QString pdfurl;             // the decoded address of the PDF
    QString ModuleAddress;      // the decoded module address
    TOptionValues PrintOptions; // the link's print options
    QString Caption;            // the job title for a document without one
    QString DownloadFolder;
    TClientDataSet* Cds = nullptr; // the assignment table
    PDFium::TPdf* Pdf = nullptr;
    TDownloadProgress OnProgress;
    std::function<void()> Close; // closes the window, which ends the program
};

// Runs the job; FPdfPath receives the saved file's path (empty when nothing was saved).
void RunPrintJob(const TPrintJob& Job, QString& FPdfPath);
