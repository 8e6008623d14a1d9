// The links of a page: the link annotations stored in the page and the web links the engine recognises in its
// text, each collected in one pass; TPdf's links of its current page, kept with it (see TPageState).
#include "pdf/Pdf.h"

#include "pdf/binding/EngineText.h"
#include "pdf/engine/FPdfDoc.h"
#include "pdf/engine/FPdfText.h"
#include "pdf/text/PageState.h"
#include "pdf/text/PdfTextRoutines.h"

#include <QStringDecoder>
#include <algorithm>
#include <memory>

namespace PDFium {

int DestinationPageNumber(FPDF_DOCUMENT Document, FPDF_DEST Destination) {
    return Destination ? FPDFDest_GetDestPageIndex(Document, Destination) + 1 : 0;
}

namespace {

QString ActionPath(FPDF_DOCUMENT document, FPDF_ACTION action, TPdfAction kind) {
    switch (kind) {
    case acUri:
        return DecodeActionPath(FetchBytes([&](void* buffer, unsigned long size) {
            return FPDFAction_GetURIPath(document, action, buffer, size);
        }));
    case acGotoRemote:
    case acLaunch:
    case acEmbeddedGoto:
        return DecodeActionPath(FetchBytes(
            [&](void* buffer, unsigned long size) { return FPDFAction_GetFilePath(action, buffer, size); }));
    default:
        return {};
    }
}

QList<TQuadrilateralPoint> QuadrilateralPoints(FPDF_LINK link) {
    QList<TQuadrilateralPoint> points(std::max(FPDFLink_CountQuadPoints(link), 0));
    for (int j = 0; j < points.size(); ++j) {
        FS_QUADPOINTSF quad{};
        if (FPDFLink_GetQuadPoints(link, j, &quad))
            points[j] = {{{quad.x1, quad.y1}, {quad.x2, quad.y2}, {quad.x3, quad.y3}, {quad.x4, quad.y4}}};
    }
    return points;
}

TLinkAnnotation ReadLinkAnnotation(FPDF_DOCUMENT document, FPDF_LINK link) {
    TLinkAnnotation result;
    result.Handle = link;
    FS_RECTF rect{};
    if (FPDFLink_GetAnnotRect(link, &rect))
        result.Rectangle = {rect.left, rect.top, rect.right, rect.bottom};
    result.PageNumber = DestinationPageNumber(document, FPDFLink_GetDest(document, link));
    if (FPDF_ACTION action = FPDFLink_GetAction(link)) {
        result.Action = static_cast<TPdfAction>(FPDFAction_GetType(action));
        result.ActionPageNumber = DestinationPageNumber(document, FPDFAction_GetDest(document, action));
        result.ActionPath = ActionPath(document, action, result.Action);
    }
    result.Points = QuadrilateralPoints(link);
    return result;
}

TWebLink ReadWebLink(FPDF_PAGELINK links, int index) {
    TWebLink result;
    // The engine counts UTF-16 units with the terminator and copies the text alone into a buffer one shorter.
    const int length = FPDFLink_GetURL(links, index, nullptr, 0) - 1;
    if (length > 0) {
        result.Url = QString(length, Qt::Uninitialized);
        FPDFLink_GetURL(links, index, reinterpret_cast<unsigned short*>(result.Url.data()), length);
    }
    const int rectangles = std::max(FPDFLink_CountRects(links, index), 0);
    result.Rectangles.resize(rectangles);
    for (int j = 0; j < rectangles; ++j) {
        TPdfRectangle& r = result.Rectangles[j];
        FPDFLink_GetRect(links, index, j, &r.Left, &r.Top, &r.Right, &r.Bottom);
    }
    return result;
}

struct WebLinksCloser {
    void operator()(fpdf_pagelink_t__* links) const { FPDFLink_CloseWebLinks(links); }
};

} // namespace

QString DecodeActionPath(const QByteArray& Bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(Bytes);
    return utf8.hasError() ? QString::fromLatin1(Bytes) : text;
}

TLinkAnnotations GetLinkAnnotations(FPDF_DOCUMENT Document, FPDF_PAGE Page) {
    TLinkAnnotations result;
    int position = 0;
    FPDF_LINK link = nullptr;
    while (FPDFLink_Enumerate(Page, &position, &link))
        result.append(ReadLinkAnnotation(Document, link));
    return result;
}

TWebLinks GetWebLinks(FPDF_TEXTPAGE TextPage) {
    const std::unique_ptr<fpdf_pagelink_t__, WebLinksCloser> links(FPDFLink_LoadWebLinks(TextPage));
    if (!links)
        return {};
    TWebLinks result;
    const int count = FPDFLink_CountWebLinks(links.get());
    for (int i = 0; i < count; ++i)
        result.append(ReadWebLink(links.get(), i));
    return result;
}

int TPdf::LinkAnnotationCount() {
    CheckActive();
    return int(FPageState->LinkAnnotations().size());
}

TLinkAnnotation TPdf::LinkAnnotation(int Index) {
    CheckActive();
    return FPageState->LinkAnnotation(Index);
}

int TPdf::WebLinkCount() {
    CheckActive();
    return int(FPageState->WebLinks().size());
}

TWebLink TPdf::WebLink(int Index) {
    CheckActive();
    return FPageState->WebLink(Index);
}

} // namespace PDFium
