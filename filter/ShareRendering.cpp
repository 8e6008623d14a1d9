#include "ShareRendering.h"

#include "PageRecords.h"
#include "app/job/PageRendering.h"
#include "app/printing/FilterJob.h"
#include "app/printing/PwgPageWriter.h"
#include "pdf/Pdf.h"

#include <exception>

int RenderShare(const QString& PdfPath, const TFilterJob& Job, int Worker, int Count, int Pipe) {
    try {
        PDFium::TPdf pdf;
        pdf.SetFileName(PdfPath);
        pdf.SetActive(true);
        const TPwgPageSetup& setup = Job.Setup;
        const TPageRendering rendering = RenderingOn(setup, Job.Scaling, Job.Orientation, Job.Color);
        TPageBitmap bitmap;
        for (int index = Worker; index < Job.SentCount(); index += Count) {
            const int page = Job.SentPage(index);
            if (page > 0)
                RenderPlacedPage(pdf, page, rendering, bitmap);
            if (!WriteRecord(Pipe, TRecordKind::Page,
                             EncodePwgPage(setup, page > 0 ? bitmap.Image : QImage(), index)))
                return 1;
        }
        return 0;
    } catch (const std::exception& error) {
        WriteRecord(Pipe, TRecordKind::Error, QByteArray(error.what()));
        return 1;
    }
}
