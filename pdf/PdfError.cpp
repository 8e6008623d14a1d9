#include "pdf/PdfError.h"

#include "pdf/engine/FPdfView.h"

namespace PDFium {

void Check(bool Value, const QString& Message) {
    if (!Value)
        throw EPdfError(Message);
}

QString LastPdfError() {
    switch (FPDF_GetLastError()) {
    case FPDF_ERR_SUCCESS:
        return {};
    case FPDF_ERR_FILE:
        return QStringLiteral("File not found or could not be opened");
    case FPDF_ERR_FORMAT:
        return QStringLiteral("File not in PDF format or corrupted");
    case FPDF_ERR_PASSWORD:
        return QStringLiteral("Password required or incorrect password");
    case FPDF_ERR_SECURITY:
        return QStringLiteral("Unsupported security scheme");
    case FPDF_ERR_PAGE:
        return QStringLiteral("Page not found or content error");
    default:
        return QStringLiteral("Unknown error");
    }
}

void CheckPdf(bool Value, const QString& ErrorMessage) {
    if (Value)
        return;
    const QString engineText = LastPdfError();
    if (FPDF_GetLastError() == FPDF_ERR_PASSWORD)
        throw EPdfPasswordError(engineText);
    throw EPdfError(engineText.isEmpty() ? ErrorMessage : engineText);
}

} // namespace PDFium
