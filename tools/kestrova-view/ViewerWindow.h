// kestrova-view's window: one document in a column of pages, with page navigation, zoom, rotation, the
// outline, thumbnails, links, search, form filling by typing and pasting, Save As and printing. Every command
// runs through one guard that shows its error in a message box, and the window stays usable after it.
#pragma once

#include "DocumentSearch.h"
#include "PageColumn.h"
#include "PageLabelBox.h"
#include "PrintDialog.h"
#include "SearchCount.h"
#include "SearchResults.h"
#include "TextSelection.h"
#include "TimeSlices.h"
#include "ViewHistory.h"
#include "ViewerSettings.h"

#include <QMainWindow>
#include <QMessageBox>
#include <functional>
#include <memory>
#include <optional>

class QLabel;
class TPresentation;
class QMenu;
class QLineEdit;
class QProgressBar;
class QToolButton;
class QAbstractScrollArea;
class TFileWatch;
class TOutlineTree;
class TThumbnailPane;

class TViewerWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit TViewerWindow(QWidget* Parent = nullptr);
    ~TViewerWindow() override;

    // Opens a document in place of the one shown; false, with the error shown, when it cannot be opened. A
    // document that wants a password asks for it (AskPassword) until it opens or the user cancels.
    bool OpenFile(const QString& FileName, const QString& Password = {});
    // Closes the document shown, whatever was typed into it; the window stays, empty.
    void CloseDocument();
    void GoToPage(int PageNumber);
    // Goes to a page as a jump that Back returns from (a link, an outline entry, the page box).
    void JumpToPage(int PageNumber);
    // Back to the page a jump left, and forward again (Alt+Left, Alt+Right).
    void GoBack();
    void GoForward();
    TPageZoom Zoom() const { return FColumn->Zoom(); }
    void SetZoom(TPageZoom Zoom);
    // One zoom step larger (Direction 1) or smaller (-1) than the page is shown now, keeping the point at
    // Anchor, in the page area's viewport, in its place; the middle of the page area when Anchor is null.
    void ZoomBy(int Direction, QPoint Anchor = {});
    void Rotate(int QuarterTurns);
    void Find(const QString& Text);
    void FindNext();
    void FindPrevious();
    // Follows the link under a point of a page view; false where there is none.
    bool FollowLinkAt(PDFium::TPdfView& View, const QPoint& Position);
    // Where the link under a point of a page view goes ("Page 3", or its address); empty where there is none.
    QString LinkTargetAt(PDFium::TPdfView& View, const QPoint& Position);
    bool SaveAs(const QString& FileName);
    // Hands a web address to the desktop's opener, and shows "Cannot open ADDRESS" where nothing there can
    // open it; the default for OpenUrl.
    bool OpenWithDesktop(const QUrl& Url);
    // Asks what to print and prints the document through Kestrova's print path.
    void Print();

    PDFium::TPdf& Pdf() { return *FPdf; }
    // The view of the current page.
    PDFium::TPdfView& View() { return FColumn->CurrentView(); }
    TPageColumn& Column() { return *FColumn; }

    // The seams to the desktop, replaced by tests: the error box, the open and save dialogs, the password
    // prompt (no value when cancelled; Again after a wrong one), the web browser.
    std::function<void(const QString& Message)> ShowError;
    std::function<QString()> AskOpenFileName;
    std::function<QString()> AskSaveFileName;
    std::function<std::optional<QString>(const QString& DocumentName, bool Again)> AskPassword;
    std::function<bool(const QUrl& Url)> OpenUrl;
    // Asked before a document with filled-in form fields goes: Save, Discard or Cancel.
    std::function<QMessageBox::StandardButton(const QString& DocumentName)> AskSaveChanges;
    // The print dialog for a document of PageCount pages: what to print, or nothing when it was cancelled.
    std::function<std::optional<TPrintRequest>(int PageCount)> AskPrint;

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;
    void dragEnterEvent(QDragEnterEvent* Event) override;
    void dropEvent(QDropEvent* Event) override;
    // Asks what becomes of typed form data first; remembers the window's size, and where the document was
    // left, for the next run.
    void closeEvent(QCloseEvent* Event) override;

private:
    void BuildMenu();
    void BuildToolBar();
    void BuildShortcuts();
    void BuildSearchStatus();
    void Guarded(const std::function<void()>& Command);
    void PageChanged();
    void StartSearch(const QString& Text);
    void StopSearch();
    void Seek(int Direction);
    void ShowHitFound(bool Found);
    void ShowSearchState(bool Found);
    void ShowCountState();
    void FocusSearch();
    void ShowHit();
    void ShowResult(int PageNumber, int Index);
    void ChooseBookmark(const PDFium::TBookmark& Bookmark);
    void openDocument(const QString& FileName, const QString& Password);
    void ShowDocument(const QString& FileName, const QString& Password, const QByteArray& Data);
    void ReloadChangedFile();
    // Asks what becomes of form data typed into the document shown before it goes: true where it may go.
    bool LetDocumentGo();
    bool SaveInPlace();
    void RememberPlace();
    void ShowRecentFiles();
    // Hands a web address to the desktop; raises where the desktop cannot open it.
    void OpenAddress(const QUrl& Url);
    bool HasPage() const;

    PDFium::TPdf* FPdf;
    TDocumentSearch FSearch;
    TSearchCount* FCount;
    // Reads the pages between the current match and the next, in slices.
    TTimeSlices* FSeek;
    TDocumentSearch::TSeek FSeekState = TDocumentSearch::TSeek::NotFound;
    QTimer* FTypingPause;
    TTextSelection* FTextSelection;
    TFileWatch* FWatch;
    // The bytes of the document shown, as read or last saved, and whether fields were filled in since.
    QByteArray FData;
    bool FEdited = false;
    TViewHistory FHistory;
    TViewerSettings FSettings;
    QAbstractScrollArea* saPage;
    TPageColumn* FColumn;
    TOutlineTree* tvOutline;
    TThumbnailPane* lwThumbnails;
    TSearchResults* lwResults;
    std::unique_ptr<TPresentation> FPresentation;
    TPageLabelBox* sePage;
    QLabel* lPageCount;
    QLabel* lZoom;
    QLabel* lFileState;
    QLineEdit* edSearch;
    QLabel* lSearch;
    QMenu* mnRecent = nullptr;
    QProgressBar* pbSearch;
    QAction* FStopSearch;
    QToolButton* btStopSearch;
    QLabel* lSearchCount;
    QPoint FPressPosition;
};
