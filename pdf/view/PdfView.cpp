// TPdfView's page lifecycle, its binding to the component, its page operations and its drawing.
#include "pdf/view/PdfView.h"

#include "pdf/core/Rendering.h"
#include "pdf/engine/FPdfFormFill.h"
#include "pdf/engine/FPdfText.h"
#include "pdf/text/PdfTextRoutines.h"

#include <QPainter>
#include <algorithm>

namespace PDFium {

namespace {

bool Contains(const TPdfRectangle& Rectangle, double X, double Y) {
    return X >= std::min(Rectangle.Left, Rectangle.Right) && X <= std::max(Rectangle.Left, Rectangle.Right) &&
           Y >= std::min(Rectangle.Top, Rectangle.Bottom) && Y <= std::max(Rectangle.Top, Rectangle.Bottom);
}

} // namespace

TPdfView::TPdfView(QWidget* AOwner) : QWidget(AOwner) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

TPdfView::~TPdfView() {
    TPdf* pdf = FPdf;
    UnloadPage();
    if (pdf) {
        pdf->FPdfViews.removeOne(this);
        pdf->ReportCallbackError();
    }
}

QString TPdfView::About() const {
    return QStringLiteral("TPdfView, the PDF page view of Kestrova, version 5.4");
}

bool TPdfView::Active() const {
    return FPage != nullptr;
}

void TPdfView::SetActive(bool Value) {
    if (Value != Active()) {
        if (Value) {
            if (FPdf) {
                FPdf->SetActive(true);
                Check(FPageNumber != 0, QStringLiteral("Incorrect page number"));
                ReloadPage();
            }
        } else {
            UnloadPage();
            if (FPdf)
                FPdf->RaiseCallbackError();
        }
    }
    FActive = Value;
}

void TPdfView::SetCache(bool Value) {
    FCache = Value;
    if (!FCache)
        ClearCache();
}

void TPdfView::SetOptions(TRenderOptions Value) {
    if (Value == FOptions)
        return;
    FOptions = Value;
    Invalidate();
}

void TPdfView::SetRotation(TRotation Value) {
    if (Value == FRotation)
        return;
    FRotation = Value;
    Invalidate();
}

void TPdfView::SetPageNumber(int Value) {
    if (Value == FPageNumber)
        return;
    FPageNumber = Value;
    if (FActive && FPdf && FPdf->Active())
        ReloadPage();
}

void TPdfView::SetPdf(TPdf* Value) {
    if (Value == FPdf)
        return;
    TPdf* previous = FPdf;
    UnloadPage();
    if (previous)
        previous->FPdfViews.removeOne(this);
    FPdf = Value;
    if (FPdf)
        FPdf->FPdfViews.append(this);
    if (previous)
        previous->RaiseCallbackError();
}

void TPdfView::ReloadPage() {
    UnloadPage();
    Check(FPdf != nullptr, QStringLiteral("Pdf property not set"));
    FPdf->CheckActive();
    if (FPageNumber != 0) {
        FPage = FPDF_LoadPage(FPdf->Document(), FPageNumber - 1);
        Check(FPage != nullptr, QStringLiteral("Cannot open page ") + QString::number(FPageNumber));
        if (FPDF_FORMHANDLE form = FPdf->FormHandle()) {
            FORM_OnAfterLoadPage(FPage, form);
            FORM_DoPageAAction(FPage, form, FPDFPAGE_AACTION_OPEN);
        }
        FPdf->RaiseCallbackError();
    }
    if (OnPageChange)
        OnPageChange(this);
    else
        update();
}

void TPdfView::UnloadPage() {
    ClearCache();
    UnloadTextPage();
    FSelection.clear();
    FSelectionCurrent = -1;
    if (FPage) {
        if (FPdf && FPdf->FormHandle()) {
            FORM_DoPageAAction(FPage, FPdf->FormHandle(), FPDFPAGE_AACTION_CLOSE);
            FORM_OnBeforeClosePage(FPage, FPdf->FormHandle());
        }
        FPDF_ClosePage(FPage);
        FPage = nullptr;
        FLinkAnnotations.clear();
    }
}

void TPdfView::UnloadTextPage() {
    UnloadFind();
    if (FTextPage) {
        FPDFText_ClosePage(FTextPage);
        FTextPage = nullptr;
        FWebLinks.clear();
    }
}

void TPdfView::UnloadFind() {
    if (FFind) {
        FPDFText_FindClose(FFind);
        FFind = nullptr;
    }
}

void TPdfView::ClearCache() {
    FCachedBitmap = QImage();
    FCachedWidth = 0;
    FCachedHeight = 0;
}

void TPdfView::Invalidate() {
    ClearCache();
    update();
}

void TPdfView::CheckPageActive() const {
    Check(FPdf != nullptr, QStringLiteral("Pdf property not set"));
    FPdf->CheckActive();
    Check(FPage != nullptr, QStringLiteral("Cannot perform this operation on an inactive page"));
}

double TPdfView::PageWidth() const {
    CheckPageActive();
    return FPDF_GetPageWidth(FPage);
}

double TPdfView::PageHeight() const {
    CheckPageActive();
    return FPDF_GetPageHeight(FPage);
}

bool TPdfView::DeviceToPage(int X, int Y, double& PageX, double& PageY) const {
    CheckPageActive();
    return FPDF_DeviceToPage(FPage, 0, 0, width(), height(), FRotation, X, Y, &PageX, &PageY) != 0;
}

bool TPdfView::PageToDevice(double PageX, double PageY, int& X, int& Y) const {
    CheckPageActive();
    return FPDF_PageToDevice(FPage, 0, 0, width(), height(), FRotation, PageX, PageY, &X, &Y) != 0;
}

QImage TPdfView::RenderPage(int Width, int Height) const {
    CheckPageActive();
    return PDFium::RenderPage(FPdf->FormHandle(), nullptr, FPage, 0, 0, Width, Height, FRotation, FOptions,
                              clWhite);
}

void TPdfView::LoadTextPage() {
    CheckPageActive();
    if (!FTextPage)
        FTextPage = OpenTextPage(FPage);
}

int TPdfView::CharacterCount() {
    LoadTextPage();
    return FPDFText_CountChars(FTextPage);
}

QString TPdfView::Text(int StartIndex, int Count) {
    LoadTextPage();
    return GetText(FTextPage, StartIndex, Count);
}

TPdfRectangles TPdfView::TextRectangles(int StartIndex, int Count) {
    LoadTextPage();
    TPdfRectangles result(std::max(FPDFText_CountRects(FTextPage, StartIndex, Count), 0));
    for (int i = 0; i < result.size(); ++i) {
        TPdfRectangle& r = result[i];
        FPDFText_GetRect(FTextPage, i, &r.Left, &r.Top, &r.Right, &r.Bottom);
    }
    return result;
}

int TPdfView::FindFirst(const QString& Text, TSearchOptions Options, int StartIndex, bool DirectionUp) {
    UnloadFind();
    LoadTextPage();
    FFind = FPDFText_FindStart(FTextPage, reinterpret_cast<FPDF_WIDESTRING>(Text.utf16()),
                               EncodeSearchOptions(Options), StartIndex);
    Check(FFind != nullptr, QStringLiteral("Cannot start find"));
    return DirectionUp ? FindNext() : FindPrevious();
}

int TPdfView::FindNext() {
    CheckPageActive();
    Check(FFind != nullptr, QStringLiteral("Uninitialized search"));
    return FPDFText_FindNext(FFind) ? FPDFText_GetSchResultIndex(FFind) : -1;
}

int TPdfView::FindPrevious() {
    CheckPageActive();
    Check(FFind != nullptr, QStringLiteral("Uninitialized search"));
    return FPDFText_FindPrev(FFind) ? FPDFText_GetSchResultIndex(FFind) : -1;
}

TTextRange TPdfView::FoundRange() const {
    CheckPageActive();
    Check(FFind != nullptr, QStringLiteral("Uninitialized search"));
    return {FPDFText_GetSchResultIndex(FFind), FPDFText_GetSchCount(FFind)};
}

const TLinkAnnotations& TPdfView::GetLinkAnnotations() {
    if (FLinkAnnotations.isEmpty()) {
        CheckPageActive();
        FLinkAnnotations = PDFium::GetLinkAnnotations(FPdf->Document(), FPage);
    }
    return FLinkAnnotations;
}

const TWebLinks& TPdfView::GetWebLinks() {
    if (FWebLinks.isEmpty()) {
        LoadTextPage();
        FWebLinks = PDFium::GetWebLinks(FTextPage);
    }
    return FWebLinks;
}

int TPdfView::LinkAnnotationCount() {
    return int(GetLinkAnnotations().size());
}

TLinkAnnotation TPdfView::LinkAnnotation(int Index) {
    Check(Index >= 0 && Index < LinkAnnotationCount(), QStringLiteral("Incorrect index"));
    return FLinkAnnotations[Index];
}

int TPdfView::WebLinkCount() {
    return int(GetWebLinks().size());
}

TWebLink TPdfView::WebLink(int Index) {
    Check(Index >= 0 && Index < WebLinkCount(), QStringLiteral("Incorrect index"));
    return FWebLinks[Index];
}

int TPdfView::LinkAnnotationAtPos(int X, int Y) {
    double x = 0, y = 0;
    if (!DeviceToPage(X, Y, x, y))
        return -1;
    const TLinkAnnotations& links = GetLinkAnnotations();
    for (int i = 0; i < links.size(); ++i)
        if (Contains(links[i].Rectangle, x, y))
            return i;
    return -1;
}

int TPdfView::WebLinkAtPos(int X, int Y) {
    double x = 0, y = 0;
    if (!DeviceToPage(X, Y, x, y))
        return -1;
    const TWebLinks& links = GetWebLinks();
    for (int i = 0; i < links.size(); ++i)
        for (const TPdfRectangle& rectangle : links[i].Rectangles)
            if (Contains(rectangle, x, y))
                return i;
    return -1;
}

void TPdfView::SetSelection(const TTextRanges& Ranges, int Current) {
    FSelection = Ranges;
    FSelectionCurrent = Current >= 0 && Current < Ranges.size() ? Current : -1;
    update();
}

const QImage& TPdfView::PageImage(QImage& Scratch) {
    const qreal ratio = devicePixelRatioF();
    const int width = qRound(this->width() * ratio);
    const int height = qRound(this->height() * ratio);
    if (FCache && !FCachedBitmap.isNull() && FCachedWidth == width && FCachedHeight == height)
        return FCachedBitmap;
    QImage& target = FCache ? FCachedBitmap : Scratch;
    PDFium::RenderPage(FPdf->FormHandle(), &target, FPage, 0, 0, width, height, FRotation, FOptions, clWhite);
    target.setDevicePixelRatio(ratio);
    if (FCache) {
        FCachedWidth = width;
        FCachedHeight = height;
    }
    return target;
}

void TPdfView::PaintSelection(QPainter& Painter) {
    QColor color = palette().color(QPalette::Highlight);
    for (int i = 0; i < FSelection.size(); ++i) {
        color.setAlpha(i == FSelectionCurrent ? 150 : 70);
        for (const TPdfRectangle& r : TextRectangles(FSelection[i].StartIndex, FSelection[i].Count)) {
            int left = 0, top = 0, right = 0, bottom = 0;
            PageToDevice(r.Left, r.Top, left, top);
            PageToDevice(r.Right, r.Bottom, right, bottom);
            Painter.fillRect(QRect(QPoint(left, top), QPoint(right, bottom)).normalized(), color);
        }
    }
}

void TPdfView::paintEvent(QPaintEvent*) {
    {
        QPainter painter(this);
        painter.fillRect(rect(), palette().color(QPalette::Window));
        if (FPage && FPdf && FPdf->Active() && width() > 0 && height() > 0) {
            try {
                QImage scratch;
                painter.drawImage(0, 0, PageImage(scratch));
                PaintSelection(painter);
            } catch (const Exception& error) {
                qWarning("Cannot draw page %d: %s", FPageNumber, error.what());
            }
        }
    }
    if (OnPaint) {
        try {
            OnPaint(this);
        } catch (const Exception& error) {
            qWarning("Page view paint handler failed: %s", error.what());
        } catch (...) {
            qWarning("Page view paint handler failed");
        }
    }
}

} // namespace PDFium
