// Opens arbitrary bytes as a PDF through TPdf and walks what the component offers: the outline and named
// destinations, and on the first pages their size, text, a search, links, objects and a render at low
// resolution. Only EPdfError may leave the component; the engine itself is fuzzed where it is made.
#include "pdf/Pdf.h"
#include "pdf/PdfError.h"

#include <QCoreApplication>
#include <QImage>

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace {

constexpr int PagesWalked = 4;
constexpr double RenderDpi = 18;

void walkOutline(const PDFium::TPdf& pdf, const PDFium::TBookmarks& bookmarks, int depth) {
    for (const PDFium::TBookmark& bookmark : bookmarks) {
        if (depth < 8 && pdf.HasBookmarkChildren(bookmark))
            walkOutline(pdf, pdf.BookmarkChildren(bookmark), depth + 1);
    }
}

void walkPage(PDFium::TPdf& pdf, int pageNumber) {
    pdf.SetPageNumber(pageNumber);
    const int width = std::clamp(int(pdf.PageWidth() * RenderDpi / 72), 1, 400);
    const int height = std::clamp(int(pdf.PageHeight() * RenderDpi / 72), 1, 400);
    pdf.RenderPage(0, 0, width, height, PDFium::ro0, PDFium::AllRenderOptions, PDFium::clWhite);
    const int characters = pdf.CharacterCount();
    pdf.Text(0, std::min(characters, 4096));
    if (pdf.FindFirst(QStringLiteral("e"), {}, 0, false) >= 0)
        pdf.FindNext();
    for (int i = 0; i < std::min(pdf.LinkAnnotationCount(), 64); ++i)
        pdf.LinkAnnotation(i);
    for (int i = 0; i < std::min(pdf.WebLinkCount(), 64); ++i)
        pdf.WebLink(i);
    for (int i = 0; i < std::min(pdf.ObjectCount(), 256); ++i)
        pdf.ObjectBounds(i);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QCoreApplication application(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    PDFium::TPdf pdf;
    try {
        pdf.LoadDocument(data, int(size));
        walkOutline(pdf, pdf.Bookmarks(), 0);
        for (int i = 0; i < std::min(pdf.DestinationCount(), 64); ++i)
            pdf.Destination(i);
        for (int page = 1; page <= std::min(pdf.PageCount(), PagesWalked); ++page) {
            try {
                walkPage(pdf, page);
            } catch (const PDFium::EPdfError&) {
            }
        }
    } catch (const PDFium::EPdfError&) {
    }
    return 0;
}
