// TPdf's document information: metadata texts, version, permissions, the printing preferences of the viewer,
// page mode and tagging. Read from the engine on every access.
#include "pdf/Pdf.h"

#include "pdf/binding/EngineText.h"
#include "pdf/engine/FPdfCatalog.h"
#include "pdf/engine/FPdfDoc.h"
#include "pdf/engine/FPdfExt.h"

namespace PDFium {

QString TPdf::MetaText(const QString& Tag) const {
    CheckActive();
    const QByteArray tag = Tag.toLocal8Bit();
    return FetchUtf16Text([&](void* buffer, unsigned long size) {
        return FPDF_GetMetaText(FDocument, tag.constData(), buffer, size);
    });
}

TPdfVersion TPdf::PdfVersion() const {
    CheckActive();
    int version = 0;
    Check(FPDF_GetFileVersion(FDocument, &version) != 0, QStringLiteral("Cannot retrieve PDF version"));
    return DecodePdfVersion(version);
}

quint32 TPdf::Permissions() const {
    CheckActive();
    return static_cast<quint32>(FPDF_GetDocPermissions(FDocument));
}

bool TPdf::PrintScaling() const {
    CheckActive();
    return FPDF_VIEWERREF_GetPrintScaling(FDocument) != 0;
}

int TPdf::PrintCopies() const {
    CheckActive();
    return FPDF_VIEWERREF_GetNumCopies(FDocument);
}

TPrintPaperHandling TPdf::PrintPaperHandling() const {
    CheckActive();
    return static_cast<TPrintPaperHandling>(FPDF_VIEWERREF_GetDuplex(FDocument));
}

QString TPdf::ViewerPreference(const QString& Key) const {
    CheckActive();
    const QByteArray key = Key.toLocal8Bit();
    return QString::fromLocal8Bit(FetchBytes([&](void* buffer, unsigned long size) {
        return FPDF_VIEWERREF_GetName(FDocument, key.constData(), static_cast<char*>(buffer), size);
    }));
}

TPageMode TPdf::PageMode() const {
    CheckActive();
    return DecodePageMode(FPDFDoc_GetPageMode(FDocument));
}

bool TPdf::IsTagged() const {
    CheckActive();
    return FPDFCatalog_IsTagged(FDocument) != 0;
}

QString TPdf::About() const {
    return QStringLiteral("TPdf, the PDF document component of Kestrova, version 5.4");
}

} // namespace PDFium
