// TPdfView's page lifecycle, its binding to the component, its page operations and its drawing.
#include "pdf/view/PdfView.h"

#include "pdf/core/Rendering.h"
#include "pdf/engine/FPdfText.h"
#include "pdf/text/PdfTextRoutines.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

namespace PDFium {

namespace {

// Pages of more device pixels than this are drawn in tiles of TileSide pixels square, at most MaximumTiles
// of them kept.
constexpr qint64 LargestBitmap = 4096 * 4096;
constexpr int TileSide = 512;
constexpr size_t MaximumTiles = 48;

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
        pdf->UnbindView(this);
        pdf->ReportCallbackError();
    }
}

QString TPdfView::About() const {
    return QStringLiteral("TPdfView, the PDF page view of Kestrova, version 5.4");
}

bool TPdfView::Active() const {
    return Page() != nullptr;
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

void TPdfView::SetInverted(bool Value) {
    if (Value == FInverted)
        return;
    FInverted = Value;
    update();
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
        previous->UnbindView(this);
    FPdf = Value;
    if (FPdf)
        FPdf->BindView(this);
    if (previous)
        previous->RaiseCallbackError();
}

void TPdfView::ReloadPage() {
    UnloadPage();
    CheckPdfActive();
    if (FPageNumber != 0) {
        FPageState.Load(FPdf->Document(), FPageNumber, FPdf->FormHandle());
        FPdf->RaiseCallbackError();
    }
    if (OnPageChange)
        OnPageChange(this);
    else
        update();
}

void TPdfView::UnloadPage() {
    ClearCache();
    FSelection.clear();
    FSelectionCurrent = -1;
    FPageState.Unload();
}

void TPdfView::ApplyActive() {
    SetActive(FActive);
}

void TPdfView::Deactivate() {
    SetActive(false);
}

void TPdfView::Unbind() {
    FPdf = nullptr;
}

bool TPdfView::InvalidatePage(FPDF_PAGE Page) {
    if (Page != this->Page())
        return false;
    Invalidate();
    return true;
}

void TPdfView::ClearCache() {
    FCachedBitmap = QImage();
    FCachedWidth = 0;
    FCachedHeight = 0;
    FTiles.clear();
    FTiledSize = {};
}

void TPdfView::Invalidate() {
    ClearCache();
    update();
}

void TPdfView::CheckPdfActive() const {
    Check(FPdf != nullptr, QStringLiteral("Pdf property not set"));
    FPdf->CheckActive();
}

void TPdfView::CheckPageActive() const {
    CheckPdfActive();
    FPageState.CheckLoaded();
}

double TPdfView::PageWidth() const {
    CheckPageActive();
    return FPDF_GetPageWidth(Page());
}

double TPdfView::PageHeight() const {
    CheckPageActive();
    return FPDF_GetPageHeight(Page());
}

bool TPdfView::DeviceToPage(int X, int Y, double& PageX, double& PageY) const {
    CheckPageActive();
    return FPDF_DeviceToPage(Page(), 0, 0, width(), height(), FRotation, X, Y, &PageX, &PageY) != 0;
}

bool TPdfView::PageToDevice(double PageX, double PageY, int& X, int& Y) const {
    CheckPageActive();
    return FPDF_PageToDevice(Page(), 0, 0, width(), height(), FRotation, PageX, PageY, &X, &Y) != 0;
}

QImage TPdfView::RenderPage(int Width, int Height) const {
    CheckPageActive();
    return PDFium::RenderPage(FPdf->FormHandle(), nullptr, Page(), 0, 0, Width, Height, FRotation, FOptions,
                              clWhite);
}

FPDF_TEXTPAGE TPdfView::LoadTextPage() {
    CheckPdfActive();
    return FPageState.LoadTextPage();
}

int TPdfView::CharacterCount() {
    return FPDFText_CountChars(LoadTextPage());
}

QString TPdfView::Text(int StartIndex, int Count) {
    return GetText(LoadTextPage(), StartIndex, Count);
}

TPdfRectangles TPdfView::TextRectangles(int StartIndex, int Count) {
    const FPDF_TEXTPAGE textPage = LoadTextPage();
    TPdfRectangles result(std::max(FPDFText_CountRects(textPage, StartIndex, Count), 0));
    for (int i = 0; i < result.size(); ++i) {
        TPdfRectangle& r = result[i];
        FPDFText_GetRect(textPage, i, &r.Left, &r.Top, &r.Right, &r.Bottom);
    }
    return result;
}

int TPdfView::CharacterIndexAtPos(int X, int Y, double Tolerance) {
    double x = 0, y = 0;
    const FPDF_TEXTPAGE textPage = LoadTextPage();
    if (!DeviceToPage(X, Y, x, y))
        return -1;
    return FPDFText_GetCharIndexAtPos(textPage, x, y, Tolerance, Tolerance);
}

int TPdfView::FindFirst(const QString& Text, TSearchOptions Options, int StartIndex, bool DirectionUp) {
    CheckPdfActive();
    return FPageState.FindFirst(Text, Options, StartIndex, DirectionUp);
}

int TPdfView::FindNext() {
    CheckPdfActive();
    return FPageState.FindNext();
}

int TPdfView::FindPrevious() {
    CheckPdfActive();
    return FPageState.FindPrevious();
}

TTextRange TPdfView::FoundRange() const {
    CheckPageActive();
    FPageState.CheckFind();
    return {FPDFText_GetSchResultIndex(Find()), FPageState.FoundCount()};
}

int TPdfView::LinkAnnotationCount() {
    CheckPdfActive();
    return int(FPageState.LinkAnnotations().size());
}

TLinkAnnotation TPdfView::LinkAnnotation(int Index) {
    CheckPdfActive();
    return FPageState.LinkAnnotation(Index);
}

int TPdfView::WebLinkCount() {
    CheckPdfActive();
    return int(FPageState.WebLinks().size());
}

TWebLink TPdfView::WebLink(int Index) {
    CheckPdfActive();
    return FPageState.WebLink(Index);
}

int TPdfView::LinkAnnotationAtPos(int X, int Y) {
    double x = 0, y = 0;
    if (!DeviceToPage(X, Y, x, y))
        return -1;
    const TLinkAnnotations& links = FPageState.LinkAnnotations();
    for (int i = 0; i < links.size(); ++i)
        if (Contains(links[i].Rectangle, x, y))
            return i;
    return -1;
}

int TPdfView::WebLinkAtPos(int X, int Y) {
    double x = 0, y = 0;
    if (!DeviceToPage(X, Y, x, y))
        return -1;
    const TWebLinks& links = FPageState.WebLinks();
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
    PDFium::RenderPage(FPdf->FormHandle(), &target, Page(), 0, 0, width, height, FRotation, FOptions,
                       clWhite);
    target.setDevicePixelRatio(ratio);
    if (FCache) {
        FCachedWidth = width;
        FCachedHeight = height;
    }
    return target;
}

QList<QRect> TPdfView::TextArea(int StartIndex, int Count) {
    QList<QRect> area;
    for (const TPdfRectangle& r : TextRectangles(StartIndex, Count)) {
        int left = 0, top = 0, right = 0, bottom = 0;
        PageToDevice(r.Left, r.Top, left, top);
        PageToDevice(r.Right, r.Bottom, right, bottom);
        area.append(QRect(QPoint(left, top), QPoint(right, bottom)).normalized());
    }
    return area;
}

void TPdfView::PaintSelection(QPainter& Painter) {
    QColor color = palette().color(QPalette::Highlight);
    for (int i = 0; i < FSelection.size(); ++i) {
        color.setAlpha(i == FSelectionCurrent ? 150 : 70);
        for (const QRect& r : TextArea(FSelection[i].StartIndex, FSelection[i].Count))
            Painter.fillRect(r, color);
    }
}

// Draws the tiles that the exposed part of the view shows, rendering those not kept. PageSize is the page's
// size in device pixels.
void TPdfView::PaintTiles(QPainter& Painter, const QRect& Exposed, QSize PageSize) {
    const qreal ratio = devicePixelRatioF();
    if (PageSize != FTiledSize) {
        FTiles.clear();
        FTiledSize = PageSize;
    }
    const QRect device = QRectF(QPointF(Exposed.topLeft()) * ratio, QSizeF(Exposed.size()) * ratio)
                             .toAlignedRect()
                             .intersected(QRect(QPoint(0, 0), PageSize));
    for (int top = device.top() / TileSide * TileSide; top <= device.bottom(); top += TileSide)
        for (int left = device.left() / TileSide * TileSide; left <= device.right(); left += TileSide) {
            const QRect area =
                QRect(left, top, TileSide, TileSide).intersected(QRect(QPoint(0, 0), PageSize));
            Painter.drawImage(QPointF(area.topLeft()) / ratio, Tile(area, PageSize));
        }
}

// A tile of the page at PageSize device pixels, rendered unless it is kept; the tile used longest ago goes
// when too many are kept.
const QImage& TPdfView::Tile(const QRect& Area, QSize PageSize) {
    ++FTileClock;
    for (TTile& tile : FTiles)
        if (tile.Area == Area) {
            tile.Used = FTileClock;
            return tile.Image;
        }
    if (FTiles.size() >= MaximumTiles)
        FTiles.erase(std::min_element(FTiles.begin(), FTiles.end(),
                                      [](const TTile& a, const TTile& b) { return a.Used < b.Used; }));
    TTile tile{Area, {}, FTileClock};
    PDFium::RenderPageArea(FPdf->FormHandle(), &tile.Image, Page(), Area, PageSize, FRotation, FOptions,
                           clWhite);
    tile.Image.setDevicePixelRatio(devicePixelRatioF());
    FTiles.push_back(std::move(tile));
    return FTiles.back().Image;
}

void TPdfView::paintEvent(QPaintEvent* Event) {
    {
        QPainter painter(this);
        painter.fillRect(rect(), palette().color(QPalette::Window));
        if (Page() && FPdf && FPdf->Active() && width() > 0 && height() > 0) {
            try {
                const qreal ratio = devicePixelRatioF();
                const QSize device(qRound(width() * ratio), qRound(height() * ratio));
                if (qint64(device.width()) * device.height() > LargestBitmap) {
                    PaintTiles(painter, Event->rect(), device);
                } else {
                    QImage scratch;
                    painter.drawImage(0, 0, PageImage(scratch));
                }
                // The rendered page, kept as the engine drew it, is inverted as it goes to the screen.
                if (FInverted) {
                    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
                    painter.fillRect(rect(), Qt::white);
                    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
                }
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
