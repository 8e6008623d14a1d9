// TPdfView, the PDF component's visual control: a widget bound to a TPdf that keeps its own engine page of
// that component's document, so that it can show another page than the component's current one. It draws the
// page at its own size and device pixel ratio, hands mouse and keyboard to the document's form-fill
// environment and paints chosen runs of text as a selection. A page too large for one bitmap, a huge page at
// a high zoom, is drawn in tiles: only those in sight are rendered, and a few of them kept. Its page, with
// the text page, search and links on it, is a TPageState of its own, entered into the form-fill environment;
// it closes before the component closes the document.
#pragma once

#include "pdf/Pdf.h"
#include "pdf/text/PageState.h"

#include <QWidget>
#include <vector>

namespace PDFium {

// A run of Count characters from StartIndex on a text page.
struct TTextRange {
    int StartIndex = 0;
    int Count = 0;
    bool operator==(const TTextRange&) const = default;
};
using TTextRanges = QList<TTextRange>;

class TPdfView : public QWidget, private TPdfBoundView {
    Q_OBJECT

public:
    explicit TPdfView(QWidget* AOwner = nullptr);
    ~TPdfView() override;

    QString Name() const { return objectName(); }
    QString About() const;
    void SetAbout(const QString&) {}

    // True exactly when the view has a page loaded. Writing true opens the bound component's document if
    // needed and loads the page; writing false releases the page.
    bool Active() const;
    void SetActive(bool Value);
    // Whether the rendered page is kept, so that a repaint of an unchanged page does not render again.
    bool Cache() const { return FCache; }
    void SetCache(bool Value);
    TRenderOptions Options() const { return FOptions; }
    void SetOptions(TRenderOptions Value);
    int PageNumber() const { return FPageNumber; }
    void SetPageNumber(int Value);
    // The bound component. Binding enters the view into that component's view list and leaves the list of
    // the one before, whose page it releases first.
    TPdf* Pdf() const { return FPdf; }
    void SetPdf(TPdf* Value);
    TRotation Rotation() const { return FRotation; }
    void SetRotation(TRotation Value);
    // Night colours: the page drawn with its colours inverted, light text on a dark page.
    bool Inverted() const { return FInverted; }
    void SetInverted(bool Value);

    FPDF_PAGE Page() const { return FPageState.Page(); }
    FPDF_TEXTPAGE TextPage() const { return FPageState.TextPage(); }
    FPDF_SCHHANDLE Find() const { return FPageState.Find(); }

    void ReloadPage();
    // Drops the rendered page and repaints the whole view.
    void Invalidate();

    // The page's size in points and its conversions to and from the view's pixels, with the view's rotation.
    double PageWidth() const;
    double PageHeight() const;
    bool DeviceToPage(int X, int Y, double& PageX, double& PageY) const;
    bool PageToDevice(double PageX, double PageY, int& X, int& Y) const;
    // The page with its form fields at Width by Height pixels, with the view's options and rotation.
    QImage RenderPage(int Width, int Height) const;

    // Text of the view's page; the text page is built on first use and kept with the page.
    int CharacterCount();
    QString Text(int StartIndex, int Count);
    // The rectangles, in page space, that cover a run of characters.
    TPdfRectangles TextRectangles(int StartIndex, int Count);
    // The rectangles of a run of characters, as TextRectangles gives them, in the view's pixels.
    QList<QRect> TextArea(int StartIndex, int Count);
    // The index of the character at a point of the view, or near it (within Tolerance points); -1 where
    // there is none.
    int CharacterIndexAtPos(int X, int Y, double Tolerance = 4);

    // Search on the view's page: the index at which the match begins, or -1; FoundRange is the latest match.
    int FindFirst(const QString& Text, TSearchOptions Options, int StartIndex, bool DirectionUp);
    int FindNext();
    int FindPrevious();
    TTextRange FoundRange() const;

    // Links of the view's page, collected once per page, and the link under a point of the view: its index,
    // or -1 where there is none.
    int LinkAnnotationCount();
    TLinkAnnotation LinkAnnotation(int Index);
    int WebLinkCount();
    TWebLink WebLink(int Index);
    int LinkAnnotationAtPos(int X, int Y);
    int WebLinkAtPos(int X, int Y);

    // Runs of text painted as a selection, the one at Current stronger than the others (none when -1). A page
    // change clears them.
    TTextRanges Selection() const { return FSelection; }
    int SelectionCurrent() const { return FSelectionCurrent; }
    void SetSelection(const TTextRanges& Ranges, int Current = -1);

    TNotifyEvent OnPageChange;
    // Raised after every paint of the view, when the page has been drawn.
    TNotifyEvent OnPaint;

protected:
    bool event(QEvent* Event) override;
    void paintEvent(QPaintEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void mouseDoubleClickEvent(QMouseEvent* Event) override;
    void keyPressEvent(QKeyEvent* Event) override;
    void keyReleaseEvent(QKeyEvent* Event) override;

private:
    // The component's side of the binding.
    void ApplyActive() override;
    void Deactivate() override;
    void Unbind() override;
    bool InvalidatePage(FPDF_PAGE Page) override;

    void UnloadPage();
    void ClearCache();
    void CheckPdfActive() const;
    void CheckPageActive() const;
    FPDF_TEXTPAGE LoadTextPage();
    const QImage& PageImage(QImage& Scratch);
    void PaintTiles(QPainter& Painter, const QRect& Exposed, QSize PageSize);
    const QImage& Tile(const QRect& Area, QSize PageSize);
    void PaintSelection(QPainter& Painter);
    bool FormReady() const;
    bool PassMouse(FPDF_BOOL (*Handler)(FPDF_FORMHANDLE, FPDF_PAGE, int, double, double), QMouseEvent* Event);
    bool PassKey(QKeyEvent* Event, bool Pressed);
    bool PasteIntoField();
    void ShowCursorFor(const QPoint& Position);

    bool FActive = false;
    bool FCache = true;
    QImage FCachedBitmap;
    int FCachedWidth = 0;
    int FCachedHeight = 0;
    struct TTile {
        QRect Area; // in device pixels of the page drawn at FTiledSize
        QImage Image;
        quint64 Used;
    };
    std::vector<TTile> FTiles;
    QSize FTiledSize;
    quint64 FTileClock = 0;
    TRenderOptions FOptions{reAnnotations};
    TPageState FPageState;
    int FPageNumber = 1;
    TPdf* FPdf = nullptr;
    TRotation FRotation = ro0;
    bool FInverted = false;
    TTextRanges FSelection;
    int FSelectionCurrent = -1;
};

} // namespace PDFium
