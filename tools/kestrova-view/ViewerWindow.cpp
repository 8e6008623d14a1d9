#include "ViewerWindow.h"

#include "DocumentPrinting.h"
#include "OutlineTree.h"
#include "TargetPage.h"
#include "ThumbnailPane.h"

#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QScrollArea>
#include <QShortcut>
#include <QSpinBox>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QWheelEvent>
#include <map>
#include <optional>

using namespace PDFium;

namespace {

const QString Caption = QStringLiteral("kestrova-view");

// An error message ends with a full stop unless it ends in one already, or in a character that sorts below
// it.
QString Sentence(const QString& message) {
    return !message.isEmpty() && message.back() > QLatin1Char('.') ? message + QLatin1Char('.') : message;
}

// Where a link goes: a page of the document, or else an address; neither where there is no link.
struct TLinkTarget {
    int Page = 0;
    QUrl Address;
};

// The target of the link under a point of a page view: a link annotation's, or else a web link's in the
// page's text.
TLinkTarget linkTargetAt(TPdfView& View, const QPoint& Position) {
    if (!View.Active())
        return {};
    if (const int link = View.LinkAnnotationAtPos(Position.x(), Position.y()); link >= 0) {
        const TLinkAnnotation annotation = View.LinkAnnotation(link);
        if (const int page = TargetPage(annotation))
            return {page, {}};
        return {0, annotation.Action == acUri ? QUrl(annotation.ActionPath) : QUrl()};
    }
    const int webLink = View.WebLinkAtPos(Position.x(), Position.y());
    return {0, webLink >= 0 ? QUrl::fromUserInput(View.WebLink(webLink).Url) : QUrl()};
}

} // namespace

TViewerWindow::TViewerWindow(QWidget* Parent)
    : QMainWindow(Parent), FPdf(new TPdf(this)), FSearch(*FPdf), FCount(new TSearchCount(FSearch, this)),
      FTypingPause(new QTimer(this)), FTextSelection(new TTextSelection(this)) {
    setWindowTitle(Caption);
    FPdf->setObjectName(QStringLiteral("Pdf"));

    saPage = new QScrollArea;
    saPage->setObjectName(QStringLiteral("saPage"));
    saPage->setAlignment(Qt::AlignCenter);
    saPage->setBackgroundRole(QPalette::Dark);
    saPage->installEventFilter(this);
    saPage->viewport()->installEventFilter(this);
    FColumn = new TPageColumn(*FPdf, *saPage);
    FColumn->OnPageViewCreated = [this](TPdfView& view) {
        view.installEventFilter(this);
        FTextSelection->Attach(view);
    };
    FColumn->OnPageShown = [this](TPdfView& view) {
        Guarded([&] { FSearch.Paint(view); });
    };
    FColumn->OnChange = [this] {
        PageChanged();
    };
    FColumn->OnError = [this](const QString& message) {
        ShowError(message);
    };

    tvOutline = new TOutlineTree;
    tvOutline->setObjectName(QStringLiteral("tvOutline"));
    tvOutline->OnBookmarkChosen = [this](const TBookmark& bookmark) {
        Guarded([&] { ChooseBookmark(bookmark); });
    };

    lwThumbnails = new TThumbnailPane;
    lwThumbnails->setObjectName(QStringLiteral("lwThumbnails"));
    lwThumbnails->OnPageChosen = [this](int page) {
        Guarded([&] { JumpToPage(page); });
    };
    auto* side = new QTabWidget;
    side->setObjectName(QStringLiteral("tcSide"));
    side->addTab(tvOutline, QStringLiteral("Outline"));
    side->addTab(lwThumbnails, QStringLiteral("Thumbnails"));

    auto* splitter = new QSplitter;
    splitter->addWidget(side);
    splitter->addWidget(saPage);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({200, 700});
    setCentralWidget(splitter);

    BuildMenu();
    BuildToolBar();
    statusBar()->setObjectName(QStringLiteral("sbStatus"));
    BuildShortcuts();

    ShowError = [this](const QString& message) {
        QMessageBox::critical(this, Caption, Sentence(message));
    };
    AskSaveFileName = [this] {
        return QFileDialog::getSaveFileName(this, QStringLiteral("Save As"), FPdf->FileName(),
                                            QStringLiteral("PDF documents (*.pdf)"));
    };
    OpenUrl = [](const QUrl& url) {
        return QDesktopServices::openUrl(url);
    };
    AskOpenFileName = [this] {
        return QFileDialog::getOpenFileName(this, QStringLiteral("Open"), FPdf->FileName(),
                                            QStringLiteral("PDF documents (*.pdf)"));
    };
    AskPassword = [this](const QString& name, bool again) -> std::optional<QString> {
        bool given = false;
        const QString password = QInputDialog::getText(
            this, Caption,
            again ? QStringLiteral("The password is not right. Password for %1:").arg(name)
                  : QStringLiteral("%1 is protected. Password:").arg(name),
            QLineEdit::Password, {}, &given);
        return given ? std::optional<QString>(password) : std::nullopt;
    };
    AskPrint = [this](int pageCount) -> std::optional<TPrintRequest> {
        TPrintDialog dialog(ReadPrinterList(), pageCount, this);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.Request();
    };
    resize(FSettings.WindowSize({1000, 800}));
    FColumn->SetZoom(FSettings.Zoom());
    ShowRecentFiles();
    PageChanged();
}

void TViewerWindow::BuildToolBar() {
    QToolBar* bar = addToolBar(QStringLiteral("Navigation"));
    bar->setMovable(false);
    // A command with its caption, or an icon of the style with the caption as its tip.
    auto command = [&](const QString& name, const QString& text, std::function<void()> action,
                       std::optional<QStyle::StandardPixmap> icon = {}) {
        QAction* item = bar->addAction(text, this, [this, action] { Guarded(action); });
        item->setObjectName(name);
        if (icon)
            item->setIcon(style()->standardIcon(*icon));
        return item;
    };
    command(
        QStringLiteral("acFirst"), QStringLiteral("First"), [this] { JumpToPage(1); },
        QStyle::SP_MediaSkipBackward);
    command(
        QStringLiteral("acPrevious"), QStringLiteral("Previous"),
        [this] { GoToPage(FColumn->CurrentPage() - 1); }, QStyle::SP_ArrowBack);
    sePage = new TPageLabelBox;
    sePage->setObjectName(QStringLiteral("sePage"));
    sePage->setMinimumWidth(sePage->fontMetrics().horizontalAdvance(QStringLiteral("xxviii (1000 / 1000)")));
    sePage->LabelOf = [this](int page) {
        return FPdf->Active() && page <= FPdf->PageCount() ? FPdf->PageLabel(page) : QString();
    };
    connect(sePage, &QSpinBox::valueChanged, this, [this](int page) {
        if (page != FColumn->CurrentPage())
            Guarded([&] { JumpToPage(page); });
    });
    bar->addWidget(sePage);
    lPageCount = new QLabel;
    lPageCount->setObjectName(QStringLiteral("lPageCount"));
    bar->addWidget(lPageCount);
    command(
        QStringLiteral("acNext"), QStringLiteral("Next"), [this] { GoToPage(FColumn->CurrentPage() + 1); },
        QStyle::SP_ArrowForward);
    command(
        QStringLiteral("acLast"), QStringLiteral("Last"), [this] { JumpToPage(FPdf->PageCount()); },
        QStyle::SP_MediaSkipForward);
    bar->addSeparator();
    command(QStringLiteral("acFitWidth"), QStringLiteral("Fit width"),
            [this] { SetZoom({TZoomMode::FitWidth}); });
    command(QStringLiteral("acFitPage"), QStringLiteral("Fit page"),
            [this] { SetZoom({TZoomMode::FitPage}); });
    command(QStringLiteral("acZoomOut"), QStringLiteral("−"), [this] {
        ZoomBy(-1);
    })->setShortcut(QKeySequence::ZoomOut);
    lZoom = new QLabel;
    lZoom->setObjectName(QStringLiteral("lZoom"));
    bar->addWidget(lZoom);
    command(QStringLiteral("acZoomIn"), QStringLiteral("+"), [this] {
        ZoomBy(1);
    })->setShortcut(QKeySequence::ZoomIn);
    bar->addSeparator();
    command(QStringLiteral("acRotateLeft"), QStringLiteral("⟲"), [this] { Rotate(-1); });
    command(QStringLiteral("acRotateRight"), QStringLiteral("⟳"), [this] { Rotate(1); });
    QAction* continuous = command(QStringLiteral("acContinuous"), QStringLiteral("Continuous"),
                                  [this] { FColumn->SetContinuous(!FColumn->Continuous()); });
    continuous->setCheckable(true);
    continuous->setChecked(FColumn->Continuous());
    bar->addSeparator();
    command(QStringLiteral("acSaveAs"), QStringLiteral("Save As"), [this] {
        const QString name = AskSaveFileName();
        if (!name.isEmpty())
            SaveAs(name);
    })->setShortcut(QKeySequence::Save);
    bar->addSeparator();
    edSearch = new QLineEdit;
    edSearch->setObjectName(QStringLiteral("edSearch"));
    edSearch->setPlaceholderText(QStringLiteral("Find"));
    edSearch->setClearButtonEnabled(true);
    edSearch->setMaximumWidth(220);
    connect(edSearch, &QLineEdit::returnPressed, this, [this] {
        Guarded([this] { edSearch->text() == FSearch.Text() ? FindNext() : Find(edSearch->text()); });
    });
    // The search starts as a person types, once the typing pauses.
    FTypingPause->setSingleShot(true);
    FTypingPause->setInterval(300);
    connect(edSearch, &QLineEdit::textEdited, FTypingPause, qOverload<>(&QTimer::start));
    connect(FTypingPause, &QTimer::timeout, this, [this] {
        if (edSearch->text() != FSearch.Text())
            Guarded([this] { Find(edSearch->text()); });
    });
    bar->addWidget(edSearch);
    command(
        QStringLiteral("acFindPrevious"), QStringLiteral("Find previous"), [this] { FindPrevious(); },
        QStyle::SP_ArrowUp)
        ->setShortcut(QKeySequence::FindPrevious);
    command(
        QStringLiteral("acFindNext"), QStringLiteral("Find next"), [this] { FindNext(); },
        QStyle::SP_ArrowDown)
        ->setShortcut(QKeySequence::FindNext);
    lSearch = new QLabel;
    lSearch->setObjectName(QStringLiteral("lSearch"));
    bar->addWidget(lSearch);
    lSearchCount = new QLabel;
    lSearchCount->setObjectName(QStringLiteral("lSearchCount"));
    bar->addWidget(lSearchCount);
    pbSearch = new QProgressBar;
    pbSearch->setObjectName(QStringLiteral("pbSearch"));
    pbSearch->setMaximumWidth(100);
    FCountProgress = bar->addWidget(pbSearch);
    FCancelCount = command(
        QStringLiteral("acCancelCount"), QStringLiteral("Stop counting"),
        [this] {
            FCount->Cancel();
            ShowCountState();
        },
        QStyle::SP_DialogCancelButton);
    FCount->OnProgress = [this] {
        ShowCountState();
    };
    ShowCountState();
}

void TViewerWindow::BuildMenu() {
    QMenu* menu = menuBar()->addMenu(QStringLiteral("&File"));
    auto command = [&](const QString& name, const QString& text, QKeySequence keys,
                       std::function<void()> action) {
        QAction* item = menu->addAction(text, this, [this, action] { Guarded(action); });
        item->setObjectName(name);
        item->setShortcut(keys);
        return item;
    };
    command(QStringLiteral("acOpen"), QStringLiteral("&Open..."), QKeySequence::Open, [this] {
        const QString name = AskOpenFileName();
        if (!name.isEmpty())
            OpenFile(name);
    });
    mnRecent = menu->addMenu(QStringLiteral("Open &Recent"));
    mnRecent->setObjectName(QStringLiteral("mnRecent"));
    command(QStringLiteral("acClose"), QStringLiteral("&Close"), QKeySequence::Close,
            [this] { CloseDocument(); });
    command(QStringLiteral("acPrint"), QStringLiteral("&Print..."), QKeySequence::Print, [this] { Print(); });
    menu->addSeparator();
    command(QStringLiteral("acQuit"), QStringLiteral("&Quit"), QKeySequence::Quit, [this] { close(); });

    menu = menuBar()->addMenu(QStringLiteral("&Go"));
    command(QStringLiteral("acBack"), QStringLiteral("&Back"), QKeySequence::Back, [this] { GoBack(); });
    command(QStringLiteral("acForward"), QStringLiteral("&Forward"), QKeySequence::Forward,
            [this] { GoForward(); });

    menu = menuBar()->addMenu(QStringLiteral("&Edit"));
    command(QStringLiteral("acCopy"), QStringLiteral("&Copy"), QKeySequence::Copy,
            [this] { FTextSelection->Copy(View()); });
    command(QStringLiteral("acSelectAll"), QStringLiteral("Select &All"), QKeySequence::SelectAll,
            [this] { FTextSelection->SelectAll(View()); });
}

void TViewerWindow::BuildShortcuts() {
    connect(new QShortcut(QKeySequence::Find, this), &QShortcut::activated, this, [this] { FocusSearch(); });
}

void TViewerWindow::Guarded(const std::function<void()>& Command) {
    try {
        Command();
    } catch (const Exception& error) {
        ShowError(error.Message());
    }
}

bool TViewerWindow::HasPage() const {
    return FColumn->CurrentPage() > 0;
}

// A window still shown when it is destroyed is closed by QWidget's destructor, and closing moves the focus,
// on which the page box asks the viewer for page labels: by then nothing of the viewer is left to answer.
// Hidden here, the window does that while all of it is still there.
TViewerWindow::~TViewerWindow() {
    hide();
}

bool TViewerWindow::OpenFile(const QString& FileName, const QString& Password) {
    bool opened = false;
    QString password = Password;
    // A document that wants a password asks for it, again after a wrong one, until it opens or the user
    // gives up; every other failure is shown.
    for (bool again = !Password.isEmpty();; again = true) {
        try {
            openDocument(FileName, password);
            opened = true;
        } catch (const EPdfPasswordError&) {
            if (const std::optional<QString> answer = AskPassword(QFileInfo(FileName).fileName(), again)) {
                password = *answer;
                continue;
            }
        } catch (const Exception& error) {
            ShowError(error.Message());
        }
        break;
    }
    View().setFocus();
    return opened;
}

void TViewerWindow::openDocument(const QString& FileName, const QString& Password) {
    CloseDocument();
    FPdf->SetFileName(FileName);
    FPdf->SetPassword(Password);
    // The views load their own pages; the component's current page serves the search alone.
    FPdf->SetPageNumber(0);
    try {
        FPdf->SetActive(true);
        FColumn->Reload();
    } catch (...) {
        CloseDocument();
        throw;
    }
    const QString title = FPdf->Title();
    setWindowTitle((title.isEmpty() ? QFileInfo(FileName).fileName() : title) + QStringLiteral(" - ") +
                   Caption);
    tvOutline->ShowOutline(*FPdf);
    lwThumbnails->ShowDocument(*FPdf);
    FSettings.AddRecentFile(FileName);
    ShowRecentFiles();
    PageChanged();
}

void TViewerWindow::ShowRecentFiles() {
    mnRecent->clear();
    for (const QString& file : FSettings.RecentFiles())
        mnRecent->addAction(QDir::toNativeSeparators(file), this, [this, file] { OpenFile(file); });
    mnRecent->setEnabled(!mnRecent->isEmpty());
}

void TViewerWindow::closeEvent(QCloseEvent* Event) {
    FSettings.SaveWindow(size(), FColumn->Zoom());
    QMainWindow::closeEvent(Event);
}

void TViewerWindow::CloseDocument() {
    FPdf->SetActive(false);
    StartSearch({});
    FHistory.Clear();
    FColumn->Reload();
    tvOutline->ShowOutline(*FPdf);
    lwThumbnails->ShowDocument(*FPdf);
    setWindowTitle(Caption);
}

void TViewerWindow::GoToPage(int PageNumber) {
    if (!FPdf->Active())
        return;
    FColumn->ShowPage(PageNumber);
}

void TViewerWindow::JumpToPage(int PageNumber) {
    if (!HasPage())
        return;
    const int from = FColumn->CurrentPage();
    GoToPage(PageNumber);
    if (FColumn->CurrentPage() != from) {
        FHistory.Leave(from);
        PageChanged();
    }
}

void TViewerWindow::GoBack() {
    if (const int page = HasPage() ? FHistory.Back(FColumn->CurrentPage()) : 0)
        GoToPage(page);
    PageChanged();
}

void TViewerWindow::GoForward() {
    if (const int page = HasPage() ? FHistory.Forward(FColumn->CurrentPage()) : 0)
        GoToPage(page);
    PageChanged();
}

void TViewerWindow::PageChanged() {
    const bool open = FPdf->Active();
    const int count = open ? FPdf->PageCount() : 0;
    const int page = FColumn->CurrentPage();
    {
        const QSignalBlocker blocker(sePage);
        sePage->setRange(count > 0 ? 1 : 0, count);
        sePage->setValue(page);
        sePage->setEnabled(count > 0);
    }
    lPageCount->setText(QStringLiteral(" of %1 ").arg(count));
    for (const char* name : {"acFirst", "acPrevious"})
        findChild<QAction*>(QLatin1String(name))->setEnabled(HasPage() && page > 1);
    for (const char* name : {"acNext", "acLast"})
        findChild<QAction*>(QLatin1String(name))->setEnabled(HasPage() && page < count);
    // What needs a document waits for one.
    for (const char* name :
         {"acFitWidth", "acFitPage", "acZoomOut", "acZoomIn", "acRotateLeft", "acRotateRight", "acSaveAs",
          "acFindPrevious", "acFindNext", "acClose", "acCopy", "acSelectAll", "acPrint"})
        findChild<QAction*>(QLatin1String(name))->setEnabled(open);
    edSearch->setEnabled(open);
    findChild<QAction*>(QStringLiteral("acBack"))->setEnabled(open && FHistory.CanGoBack());
    findChild<QAction*>(QStringLiteral("acForward"))->setEnabled(open && FHistory.CanGoForward());
    if (HasPage()) {
        tvOutline->ShowPage(page);
        lwThumbnails->ShowPage(page);
    }
    if (HasPage())
        lZoom->setText(QStringLiteral("%1%").arg(qRound(FColumn->ShownFactor() * 100)));
    else
        lZoom->clear();
    ShowSearchState(true);
}

void TViewerWindow::SetZoom(TPageZoom Zoom) {
    FColumn->SetZoom(Zoom);
}

void TViewerWindow::ZoomBy(int Direction, QPoint Anchor) {
    FColumn->SetZoom({TZoomMode::Factor, ZoomStep(FColumn->ShownFactor(), Direction)}, Anchor);
}

void TViewerWindow::Rotate(int QuarterTurns) {
    FColumn->SetRotation(static_cast<TRotation>(((FColumn->Rotation() + QuarterTurns) % 4 + 4) % 4));
}

// Puts the keyboard into the search box, opening the tool bar's overflow where the box sits in it.
void TViewerWindow::FocusSearch() {
    if (!edSearch->isVisible())
        if (auto* overflow = findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button")))
            overflow->click();
    edSearch->setFocus(Qt::ShortcutFocusReason);
    edSearch->selectAll();
}

void TViewerWindow::StartSearch(const QString& Text) {
    FTypingPause->stop();
    if (edSearch->text() != Text)
        edSearch->setText(Text);
    FSearch.SetText(Text);
    FCount->Start();
    ShowCountState();
}

void TViewerWindow::Find(const QString& Text) {
    StartSearch(Text);
    const bool found = Text.isEmpty() || FSearch.Next(FColumn->CurrentPage());
    ShowHit();
    ShowSearchState(found);
}

void TViewerWindow::FindNext() {
    if (FSearch.Text() != edSearch->text())
        return Find(edSearch->text());
    const bool found = FSearch.Next(FColumn->CurrentPage());
    ShowHit();
    ShowSearchState(found);
}

void TViewerWindow::FindPrevious() {
    if (FSearch.Text() != edSearch->text())
        StartSearch(edSearch->text());
    const bool found = FSearch.Previous(FColumn->CurrentPage());
    ShowHit();
    ShowSearchState(found);
}

// Scrolls the current match into sight, and paints the matches of every page in sight.
void TViewerWindow::ShowHit() {
    if (FSearch.HitIndex() >= 0) {
        if (!FColumn->ShownView(FSearch.HitPage()))
            FColumn->ShowPage(FSearch.HitPage());
        TPdfView& view = *FColumn->ShownView(FSearch.HitPage());
        QRect area;
        const TTextRange hit = FSearch.Hit();
        for (const QRect& r : view.TextArea(hit.StartIndex, hit.Count))
            area |= r;
        FColumn->ShowArea(FSearch.HitPage(), area);
    }
    for (TPdfView* view : FColumn->ShownViews())
        FSearch.Paint(*view);
    ShowCountState();
}

// The matches of the whole document: counted so far, with the progress, or all of them, with the place of
// the current one among them.
void TViewerWindow::ShowCountState() {
    FCountProgress->setVisible(FCount->Running());
    FCancelCount->setVisible(FCount->Running());
    pbSearch->setRange(0, std::max(FCount->PageCount(), 1));
    pbSearch->setValue(FCount->PagesDone());
    const int before = FSearch.HitIndex() >= 0 ? FCount->MatchesBefore(FSearch.HitPage()) : -1;
    if (FSearch.Text().isEmpty() || FCount->PageCount() == 0)
        lSearchCount->clear();
    else if (FCount->Running())
        lSearchCount->setText(QStringLiteral(" %1 so far ").arg(FCount->Matches()));
    else if (!FCount->Finished())
        lSearchCount->setText(
            QStringLiteral(" %1 in pages 1 to %2 ").arg(FCount->Matches()).arg(FCount->PagesDone()));
    else if (before >= 0)
        lSearchCount->setText(QStringLiteral(" %1 of %2 in the document ")
                                  .arg(before + FSearch.HitIndex() + 1)
                                  .arg(FCount->Matches()));
    else
        lSearchCount->setText(QStringLiteral(" %1 in the document ").arg(FCount->Matches()));
}

void TViewerWindow::ShowSearchState(bool Found) {
    const TPdfView& view = View();
    if (FSearch.Text().isEmpty())
        lSearch->clear();
    else if (!Found)
        lSearch->setText(QStringLiteral(" No match "));
    else if (view.SelectionCurrent() < 0)
        lSearch->setText(QStringLiteral(" %1 on this page ").arg(view.Selection().size()));
    else
        lSearch->setText(QStringLiteral(" %1 of %2 on this page ")
                             .arg(view.SelectionCurrent() + 1)
                             .arg(view.Selection().size()));
}

void TViewerWindow::ChooseBookmark(const TBookmark& Bookmark) {
    if (const int page = TargetPage(Bookmark))
        JumpToPage(page);
}

bool TViewerWindow::FollowLinkAt(TPdfView& View, const QPoint& Position) {
    const TLinkTarget target = linkTargetAt(View, Position);
    if (target.Page > 0)
        JumpToPage(target.Page);
    else if (!target.Address.isEmpty())
        OpenAddress(target.Address);
    else
        return false;
    return true;
}

void TViewerWindow::OpenAddress(const QUrl& Url) {
    Check(OpenUrl(Url), QStringLiteral("Cannot open %1").arg(Url.toDisplayString()));
}

QString TViewerWindow::LinkTargetAt(TPdfView& View, const QPoint& Position) {
    const TLinkTarget target = linkTargetAt(View, Position);
    return target.Page > 0 ? QStringLiteral("Page %1").arg(target.Page) : target.Address.toDisplayString();
}

bool TViewerWindow::SaveAs(const QString& FileName) {
    bool saved = false;
    Guarded([&] {
        Check(FPdf->Active(), QStringLiteral("There is no document to save"));
        saved = FPdf->SaveAs(FileName, saNoIncremental, pvUnknown);
        Check(saved, QStringLiteral("Cannot save the document as ") + QDir::toNativeSeparators(FileName));
    });
    return saved;
}

void TViewerWindow::Print() {
    Guarded([this] {
        Check(FPdf->Active(), QStringLiteral("There is no document to print"));
        if (const std::optional<TPrintRequest> request = AskPrint(FPdf->PageCount())) {
            const int printed = PrintShownDocument(*FPdf, *request, this);
            statusBar()->showMessage(
                printed == 1 ? QStringLiteral("1 page sent to %1").arg(request->PrinterName)
                             : QStringLiteral("%1 pages sent to %2").arg(printed).arg(request->PrinterName));
        }
    });
}

bool TViewerWindow::eventFilter(QObject* Watched, QEvent* Event) {
    auto* view = qobject_cast<TPdfView*>(Watched);
    if ((view || Watched == saPage->viewport()) && Event->type() == QEvent::Wheel) {
        // Control with the wheel zooms round the point under the mouse, over a page or beside it; the wheel
        // alone scrolls.
        auto* wheel = static_cast<QWheelEvent*>(Event);
        if (wheel->modifiers() & Qt::ControlModifier) {
            const QPoint position = wheel->position().toPoint();
            const QPoint anchor = view ? view->mapTo(saPage->viewport(), position) : position;
            if (wheel->angleDelta().y() != 0)
                Guarded([&] { ZoomBy(wheel->angleDelta().y() > 0 ? 1 : -1, anchor); });
            return true;
        }
    } else if (view) {
        // A link under the mouse shows where it goes; a click, not a drag, on it follows it; the view hands
        // the click to the form as well.
        if (Event->type() == QEvent::MouseMove)
            Guarded([&] {
                const QString target =
                    LinkTargetAt(*view, static_cast<QMouseEvent*>(Event)->position().toPoint());
                target.isEmpty() ? statusBar()->clearMessage() : statusBar()->showMessage(target);
            });
        if (Event->type() == QEvent::MouseButtonPress)
            FPressPosition = static_cast<QMouseEvent*>(Event)->position().toPoint();
        if (Event->type() == QEvent::MouseButtonRelease) {
            auto* mouse = static_cast<QMouseEvent*>(Event);
            const QPoint position = mouse->position().toPoint();
            if (mouse->button() == Qt::LeftButton && (position - FPressPosition).manhattanLength() < 4)
                Guarded([&] { FollowLinkAt(*view, position); });
        }
    } else if (Watched == saPage && Event->type() == QEvent::KeyPress) {
        // Keys that reach the page area unused by the form scroll through the pages.
        const std::map<int, std::function<void()>> commands{{Qt::Key_PageUp,
                                                             [this] {
                                                                 FColumn->ScrollPage(-1);
                                                             }},
                                                            {Qt::Key_PageDown,
                                                             [this] {
                                                                 FColumn->ScrollPage(1);
                                                             }},
                                                            {Qt::Key_Home,
                                                             [this] {
                                                                 GoToPage(1);
                                                             }},
                                                            {Qt::Key_End, [this] {
                                                                 GoToPage(FColumn->PageCount());
                                                             }}};
        if (const auto command = commands.find(static_cast<QKeyEvent*>(Event)->key());
            command != commands.end()) {
            Guarded(command->second);
            return true;
        }
    }
    return QMainWindow::eventFilter(Watched, Event);
}
