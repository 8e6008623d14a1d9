// TPdf, the PDF document component: one open engine document and its current page, with rendering, document
// information, text, search, links, destinations, bookmarks, the form-fill environment, the page's objects
// and their editing, annotations and form fields, and saving. Every failure raises EPdfError. It lives on
// the user-interface thread; engine callbacks reach it there, and an error raised by an event handler inside
// such a callback is kept and raised again once the engine call has returned.
#pragma once

#include "pdf/PdfAnnotationTypes.h"
#include "pdf/PdfBoundView.h"
#include "pdf/PdfEditTypes.h"
#include "pdf/PdfError.h"
#include "pdf/PdfLinkTypes.h"
#include "pdf/PdfSearchOptions.h"
#include "pdf/PdfTypes.h"
#include "pdf/engine/FPdfFormFill.h"

#include <QByteArray>
#include <QImage>
#include <QObject>
#include <QSet>
#include <QSizeF>
#include <exception>
#include <functional>
#include <memory>

class QBuffer;
class QIODevice;
class QPainter;
class QTimer;

namespace PDFium {

class TPdf;
class TPageState;

// The engine's form-fill record followed by the component that hosts it, so that every form-fill callback,
// which receives the address of Info, finds its component right behind it.
struct TPdfFormFillInfo {
    FPDF_FORMFILLINFO Info;
    TPdf* Pdf;
};

// The drawing surface of the device-context rendering: a painter here, a device context handle on Windows.
using TDeviceContext = QPainter*;

class TPdf : public QObject {
    Q_OBJECT

public:
    explicit TPdf(QObject* AOwner = nullptr);
    ~TPdf() override;

    QString Name() const { return objectName(); }

    // Lifecycle
    bool Active() const;
    void SetActive(bool Value);
    QString FileName() const { return FFileName; }
    void SetFileName(const QString& Value);
    QString Password() const { return FPassword; }
    void SetPassword(const QString& Value);
    bool FormFill() const { return FFormFill; }
    void SetFormFill(bool Value);
    int PageNumber() const { return FPageNumber; }
    void SetPageNumber(int Value);
    // Run once by the owner after it has set the properties: applies the stored Active, then each bound
    // view's own Active, from the last view to the first.
    void Loaded();

    // Opens a document from memory. The engine reads the block for as long as the document stays open: from
    // a pointer, the caller keeps it alive and unchanged until then; a byte array or buffer is kept by the
    // component as a shared copy of its data (a change by the caller copies it first), so a temporary
    // may be passed. Data larger than the engine's int range is refused.
    void LoadDocument(const void* Data, int Size);
    void LoadDocument(const QByteArray& Data);
    void LoadDocument(const QBuffer& Data);
    void CreateDocument();

    FPDF_DOCUMENT Document() const { return FDocument; }
    FPDF_FORMHANDLE FormHandle() const { return FFormHandle; }
    FPDF_PAGE Page() const;
    FPDF_TEXTPAGE TextPage() const;
    FPDF_SCHHANDLE Find() const;

    // Pages and geometry
    void ReloadPage();
    int PageCount() const;
    double PageWidth() const;
    double PageHeight() const;
    // The size in points of page PageNumber (from 1), read without loading the page; invalid where the
    // engine cannot read it.
    QSizeF PageSize(int PageNumber) const;
    TPdfRectangle PageBounds() const;
    TRotation PageRotation() const;
    void SetPageRotation(TRotation Value);
    bool DeviceToPage(int X, int Y, int Left, int Top, int Width, int Height, TRotation Rotation,
                      double& PageX, double& PageY) const;
    bool PageToDevice(double PageX, double PageY, int Left, int Top, int Width, int Height,
                      TRotation Rotation, int& X, int& Y) const;
    // AddPage takes a number from 1 to PageCount + 1, DeletePage one from 1 to PageCount; any other raises.
    void AddPage(int PageNumber, double Width, double Height);
    void DeletePage(int PageNumber);
    // Regenerates the current page's content, as every addition below does. In a document with a page the
    // engine cannot find, these raise EPdfError before changing anything.
    void UpdatePage();
    bool ImportPages(TPdf& Pdf, const QString& Range, int PageNumber);
    // Makes each of Pages (numbers from 1, each once) a sheet with the page drawn on it as a printer draws
    // it: the annotations that print become content, placed as Place says, called with the page current.
    // The page current before is current again afterwards, loaded anew.
    void PlacePagesOnSheets(const QList<int>& Pages, const std::function<TSheetPlacement()>& Place);
    bool ImportPreferences(TPdf& Pdf);
    QString PageLabel(int PageNumber) const;

    // Rendering
    void RenderPage(TDeviceContext DeviceContext, int Left, int Top, int Width, int Height,
                    TRotation Rotation, TRenderOptions Options) const;
    QImage RenderPage(int Left, int Top, int Width, int Height, TRotation Rotation, TRenderOptions Options,
                      TColor Color) const;
    void RenderPage(QImage* Bitmap, int Left, int Top, int Width, int Height, TRotation Rotation,
                    TRenderOptions Options, TColor Color) const;

    // Document information
    QString MetaText(const QString& Tag) const;
    QString Author() const { return MetaText(QStringLiteral("Author")); }
    QString Title() const { return MetaText(QStringLiteral("Title")); }
    QString Subject() const { return MetaText(QStringLiteral("Subject")); }
    QString Keywords() const { return MetaText(QStringLiteral("Keywords")); }
    QString Creator() const { return MetaText(QStringLiteral("Creator")); }
    QString Producer() const { return MetaText(QStringLiteral("Producer")); }
    QString CreationDate() const { return MetaText(QStringLiteral("CreationDate")); }
    QString ModifiedDate() const { return MetaText(QStringLiteral("ModDate")); }
    TPdfVersion PdfVersion() const;
    quint32 Permissions() const;
    bool PrintScaling() const;
    int PrintCopies() const;
    TPrintPaperHandling PrintPaperHandling() const;
    QString ViewerPreference(const QString& Key) const;
    TPageMode PageMode() const;
    bool IsTagged() const;
    QString About() const;
    void SetAbout(const QString&) {}

    // Text of the current page. The text page is built on first use and kept until the page is released.
    int CharacterCount();
    QChar Character(int Index);
    QChar Charcode(int Index);
    double FontSize(int Index);
    TPdfPoint CharacterOrigin(int Index);
    TPdfRectangle CharacterRectangle(int Index);
    int CharacterIndexAtPos(double X, double Y, double ToleranceX, double ToleranceY);
    QString Text(int StartIndex, int Count);
    // Rectangle reads the rectangles that the latest RectangleCount computed.
    int RectangleCount(int StartIndex, int Count);
    TPdfRectangle Rectangle(int Index);
    QString TextInRectangle(double Left, double Top, double Right, double Bottom);
    QString TextInRectangle(const TPdfRectangle& Rectangle);

    // Search on the current page; one search at a time, ended with its text page.
    int FindFirst(const QString& Text, TSearchOptions Options, int StartIndex, bool DirectionUp);
    int FindNext();
    int FindPrevious();
    // The number of characters of the latest match.
    int FoundCount() const;

    // Links of the current page, collected once per page.
    int LinkAnnotationCount();
    TLinkAnnotation LinkAnnotation(int Index);
    int WebLinkCount();
    TWebLink WebLink(int Index);

    // Named destinations and the outline of the document, read on every request.
    int DestinationCount() const;
    TDestination Destination(int Index) const;
    TDestination DestinationByName(const QString& Name) const;
    TBookmarks Bookmarks() const;
    TBookmark Bookmark(const QString& Title) const;
    TBookmarks BookmarkChildren(const TBookmark& Bookmark) const;
    bool HasBookmarkChildren(const TBookmark& Bookmark) const;

    // Objects of the current page, fetched again by index on every access. An image index counts the image
    // objects alone, in object order. ObjectBitmap is a null image where the engine has no bitmap.
    int ObjectCount() const;
    FPDF_PAGEOBJECT ObjectHandle(int Index) const;
    TObjectType ObjectType(int Index) const;
    TPdfRectangle ObjectBounds(int Index) const;
    bool ObjectTransparent(int Index) const;
    QImage ObjectBitmap(int Index) const;
    int ImageCount() const;
    int BitmapCount() const { return ImageCount(); }
    TPdfImage Image(int Index) const;
    QImage Bitmap(int Index) const;
    // The image as the page draws it, for an image whose own bitmap the engine cannot hand over; raises
    // EPdfError where it cannot be drawn either.
    QImage RenderedBitmap(int Index) const;
    bool Transparent() const;

    // Images placed on the current page, lower-left corner at (X, Y), at one point a pixel or Width by Height
    // points. AddJpegImage is false when the engine rejects the data.
    void AddPicture(const TPicture& Picture, double X, double Y);
    void AddPicture(const TPicture& Picture, double X, double Y, double Width, double Height);
    bool AddJpegImage(QIODevice& JpegImage, double X, double Y, double Width, double Height);

    // A path is built in FPath, one at a time, and placed with AddPath; every page unload destroys a path
    // still in progress.
    void CreatePath(float X, float Y, TPdfFillMode FillMode, TColor FillColor, quint8 FillAlpha, bool Stroke,
                    TColor StrokeColor, quint8 StrokeAlpha, float StrokeWidth, TPdfLineCap LineCap,
                    TPdfLineJoin LineJoin, TPdfBlendMode BlendMode);
    void CreatePath(float X, float Y, float Width, float Height, TPdfFillMode FillMode, TColor FillColor,
                    quint8 FillAlpha, bool Stroke, TColor StrokeColor, quint8 StrokeAlpha, float StrokeWidth,
                    TPdfLineCap LineCap, TPdfLineJoin LineJoin, TPdfBlendMode BlendMode);
    void MoveTo(float X, float Y);
    void LineTo(float X, float Y);
    void BezierTo(float X1, float Y1, float X2, float Y2, float X3, float Y3);
    void ClosePath();
    void AddPath();
    // Text starting at (X, Y) in Font: one of the engine's standard fonts by its name, or a TrueType or
    // OpenType font file by its path, which the document embeds. A standard font that does not draw a
    // character of the text raises EPdfError, as it would write another character in its place.
    void AddText(const QString& Text, const QString& Font, float FontSize, double X, double Y, TColor Color,
                 quint8 Alpha);
    void SetText(int ObjectIndex, const QString& Text);

    // Saving. To a stream: the document starts at the stream's position; a write the stream refuses raises
    // its error once the engine has returned. An incremental save is made in memory first, where the
    // cross-reference stream that the engine appends to a document ending in one is completed for readers. To
    // a file: written beside it and put in its place only after a complete save; any earlier file stays whole
    // when the save fails, which answers false where the engine gave up and raises "Cannot write file
    // \"path\". reason" with the system's reason where the file could not be written. A character device or
    // a FIFO under the name is written through in place, never replaced; a folder, a socket or a block
    // device raises "Cannot create file \"path\". reason" (FileSave.h).
    bool SaveAs(QIODevice& Stream, TSaveOption Option, TPdfVersion PdfVersion);
    bool SaveAs(const QString& FileName, TSaveOption Option, TPdfVersion PdfVersion);

    // Annotations of the current page, addressed by index; each access opens the engine's annotation anew.
    int AnnotationCount() const;
    TPdfAnnotation Annotation(int Index) const;
    void SetAnnotation(int Index, const TPdfAnnotation& Value);
    void CreateAnnotation(const TPdfAnnotation& Annotation);
    void DeleteAnnotation(int Index);

    // Form fields of the current page: field n is annotation n. Values need no form-fill environment.
    int FormFieldCount() const;
    QString FormField(int Index) const;
    void SetFormField(int Index, const QString& Value);
    TPdfFormFieldFlags FormFieldFlags(int Index) const;

    // Form filling
    TPdfFormType FormType() const;
    bool XFA() const;
    // Has the field being edited in a page view take what was typed or pasted into it, as it does when it
    // loses the focus, so that the value is the field's own: reported by OnFormChange and saved.
    void CommitFormInput();

    // Events
    TPdfFormFieldEnterEvent OnFormFieldEnter;
    TNotifyEvent OnFormFieldExit;
    // The form-fill environment has taken a new value into a field: text typed or pasted, once the field lets
    // go of it, a box ticked, a choice made.
    TNotifyEvent OnFormChange;
    TNotifyEvent OnPageChange;
    TPdfUnsupportedFeatureEvent OnUnsupportedFeature;

    // Called by the engine's callbacks; an exception from an event handler is kept for later.
    void NotifyUnsupportedFeature(TPdfFeature Feature);
    void SetTextFieldFocus(const FPDF_WCHAR* value, unsigned long valueLen, int is_focus);
    void FormChanged();
    int StartFormTimer(int Elapse, void (*TimerFunc)(int));
    void StopFormTimer(int TimerID);
    // The identifier of this component's one form-fill timer: never 0, and different for every component.
    int TimerIdentity() const { return FTimerIdentity; }
    // Repaints the first bound view whose page is Page; the form-fill environment's repaint request.
    void InvalidateView(FPDF_PAGE Page) const;

    // The page views bound to this component, which keep their own pages; the component does not own them.
    // A view enters and leaves the list as it is bound and unbound.
    void BindView(TPdfBoundView* View);
    void UnbindView(TPdfBoundView* View);
    // What a bound view needs of its component: the active-document guard, and the error that an event
    // handler raised inside an engine call, raised once the call has returned or, where the event loop
    // started the call, reported and dropped.
    void CheckActive() const;
    void RaiseCallbackError() const;
    void ReportCallbackError() const noexcept;

protected:
    void UnloadDocument();
    void UnloadPage();

private:
    void CheckInactive() const;
    void CheckPageActive() const;
    // The current page, in a document whose every page the engine can find, so that its content can be
    // regenerated.
    void CheckPageEditable() const;
    // Forgets what was learnt of the pages by number, when pages come, go or move.
    void ForgetPages();
    // The current page made a sheet as Placement says; its parsed content is stale until it is loaded anew.
    void PlaceCurrentPage(const TSheetPlacement& Placement);
    // CheckPageEditable, and the current page's own content put inside a saved graphics state unless it
    // already is, so that nothing it leaves set clips or moves what is added after it.
    void PrepareAddition();
    void CheckFormFieldIndex(int Index) const;

    void LoadDocument();
    FPDF_TEXTPAGE LoadTextPage();
    TDestination RetrieveDestination(FPDF_DEST Destination, const QString& Name) const;
    TBookmark SetBookmarkData(FPDF_BOOKMARK Bookmark) const;
    TBookmarks GetNestedBookmarks(FPDF_BOOKMARK Parent) const;
    void OpenDocument(const std::function<FPDF_DOCUMENT()>& openEngineDocument, const QString& errorMessage);
    void InitializeFormFill();
    void ExitFormFill();
    void OnTimer();
    bool IsImageObject(int Index) const;
    int ImageIndexToObjectIndex(int Index) const;
    FPDF_PAGEOBJECT ImageHandle(int Index) const;
    void BeginPath(const std::function<FPDF_PAGEOBJECT()>& createPath);
    void SetPathStyle(const TPathStyle& Style);
    void CheckPathCreated() const;
    struct TSaveOutcome {
        bool Saved = false;
        std::exception_ptr WriteError;
    };
    TSaveOutcome WriteDocument(QIODevice& Stream, TSaveOption Option, TPdfVersion PdfVersion);
    TSaveOutcome SaveThroughEngine(QIODevice& Stream, TSaveOption Option, TPdfVersion PdfVersion);

    // An event handler's error inside an engine callback is kept until the engine call has returned.
    void KeepCallbackError() const noexcept;
    // Runs an engine call that may reach event handlers; a handler's error kept during it is raised from it,
    // ahead of any error of the call's own.
    void CallEngine(const std::function<void()>& Call) const;

    bool FActive = false;
    FPDF_DOCUMENT FDocument = nullptr;
    // The bytes that a document opened from a byte array or buffer is read from, held until it closes.
    QByteArray FMemoryData;
    QString FFileName;
    bool FFormFill = true;
    TPdfFormFillInfo FFormFillInfo{};
    FPDF_FORMHANDLE FFormHandle = nullptr;
    // The current page with its text page, search and links.
    const std::unique_ptr<TPageState> FPageState;
    FPDF_PAGEOBJECT FPath = nullptr;
    // The pages whose own content PrepareAddition has put inside a saved graphics state, by number; forgotten
    // when pages move.
    QSet<int> FIsolatedPages;
    // The page count at which every page's dictionary was last found (0: not checked since pages moved).
    mutable int FReadablePageCount = 0;
    int FPageNumber = 0;
    QString FPassword;
    QList<TPdfBoundView*> FPdfViews;
    QTimer* FTimer = nullptr;
    void (*FTimerCallback)(int) = nullptr;
    const int FTimerIdentity;
    mutable std::exception_ptr FCallbackError;
};

} // namespace PDFium
