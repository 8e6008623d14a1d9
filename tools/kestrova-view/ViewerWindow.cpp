#include "ViewerWindow.h"

#include "DocumentPrinting.h"
#include "FileWatch.h"
#include "OutlineTree.h"
#include "Presentation.h"
#include "TargetPage.h"
#include "ThumbnailPane.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QBuffer>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QProcess>
#include <QProgressBar>
#include <QSaveFile>
#include <QScrollBar>
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

QString NativeName(const QString& FileName) {
    return QDir::toNativeSeparators(FileName);
}

// The whole of a file, so that the document shown never depends on what later becomes of the file.
QByteArray ReadDocumentFile(const QString& FileName) {
    QFile file(FileName);
    const bool opened = file.open(QIODevice::ReadOnly);
    Check(opened, file.errorString());
    const QByteArray data = file.readAll();
    Check(file.error() == QFileDevice::NoError, file.errorString());
    return data;
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
      FSeek(new TTimeSlices(this)), FTypingPause(new QTimer(this)), FTextSelection(new TTextSelection(this)),
      FWatch(new TFileWatch(this)) {
    setWindowTitle(Caption);
    FPdf->setObjectName(QStringLiteral("Pdf"));
    // Whatever fills a field in (typing, a paste, a tick, a choice) counts once the form has taken it.
    FPdf->OnFormChange = [this](QObject*) {
        FEdited = true;
    };

    saPage = new QAbstractScrollArea;
    saPage->setObjectName(QStringLiteral("saPage"));
    saPage->viewport()->setBackgroundRole(QPalette::Dark);
    saPage->installEventFilter(this);
    saPage->viewport()->installEventFilter(this);
    FColumn = new TPageColumn(*FPdf, *saPage);
    FColumn->OnPageViewCreated = [this](TPdfView& view) {
        view.installEventFilter(this);
        FTextSelection->Attach(view);
        view.SetInverted(FSettings.NightMode());
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
    lwResults = new TSearchResults;
    lwResults->setObjectName(QStringLiteral("lwResults"));
    lwResults->OnResultChosen = [this](int page, int index) {
        Guarded([&] { ShowResult(page, index); });
    };
    auto* side = new QTabWidget;
    side->setObjectName(QStringLiteral("tcSide"));
    // Every tab in sight, its caption shortened where the pane is narrow.
    side->setUsesScrollButtons(false);
    side->setElideMode(Qt::ElideRight);
    side->addTab(tvOutline, QStringLiteral("Outline"));
    side->addTab(lwThumbnails, QStringLiteral("Thumbnails"));
    side->addTab(lwResults, QStringLiteral("Results"));

    auto* splitter = new QSplitter;
    splitter->addWidget(side);
    splitter->addWidget(saPage);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({270, 730});
    setCentralWidget(splitter);

    BuildMenu();
    BuildToolBar();
    statusBar()->setObjectName(QStringLiteral("sbStatus"));
    lFileState = new QLabel;
    lFileState->setObjectName(QStringLiteral("lFileState"));
    statusBar()->addWidget(lFileState);
    BuildSearchStatus();
    FPresentation = std::make_unique<TPresentation>(
        *this, *saPage, *FColumn, QList<QWidget*>{menuBar(), findChild<QToolBar*>(), statusBar(), side});
    FPresentation->OnChange = [this] {
        findChild<QAction*>(QStringLiteral("acPresentation"))->setChecked(FPresentation->Active());
        PageChanged();
    };
    setAcceptDrops(true);
    FWatch->OnChange = [this] {
        Guarded([this] { ReloadChangedFile(); });
    };
    BuildShortcuts();

    ShowError = [this](const QString& message) {
        QMessageBox::critical(this, Caption, Sentence(message));
    };
    AskSaveFileName = [this] {
        return QFileDialog::getSaveFileName(this, QStringLiteral("Save As"), FPdf->FileName(),
                                            QStringLiteral("PDF documents (*.pdf)"));
    };
    OpenUrl = [this](const QUrl& url) {
        return OpenWithDesktop(url);
    };
    AskSaveChanges = [this](const QString& name) {
        return QMessageBox::question(
            this, Caption, QStringLiteral("Form fields of %1 have been filled in. Save them?").arg(name),
            QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
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
    FCount->OnProgress = [this] {
        ShowCountState();
    };
    FCount->OnPageCounted = [this](int page, const TTextRanges& matches) {
        lwResults->AddPage(*FPdf, page, matches);
    };
}

// The search's state sits in the status bar, in sight whatever the tool bar's overflow holds: where the
// search is, the whole document's count with its progress, and Stop while either goes on.
void TViewerWindow::BuildSearchStatus() {
    lSearch = new QLabel;
    lSearch->setObjectName(QStringLiteral("lSearch"));
    statusBar()->addPermanentWidget(lSearch);
    lSearchCount = new QLabel;
    lSearchCount->setObjectName(QStringLiteral("lSearchCount"));
    statusBar()->addPermanentWidget(lSearchCount);
    pbSearch = new QProgressBar;
    pbSearch->setObjectName(QStringLiteral("pbSearch"));
    pbSearch->setMaximumWidth(100);
    pbSearch->setMaximumHeight(statusBar()->fontMetrics().height());
    statusBar()->addPermanentWidget(pbSearch);
    FStopSearch =
        new QAction(style()->standardIcon(QStyle::SP_DialogCancelButton), QStringLiteral("Stop"), this);
    FStopSearch->setObjectName(QStringLiteral("acStopSearch"));
    FStopSearch->setToolTip(QStringLiteral("Stop searching"));
    connect(FStopSearch, &QAction::triggered, this, [this] { StopSearch(); });
    btStopSearch = new QToolButton;
    btStopSearch->setObjectName(QStringLiteral("btStopSearch"));
    btStopSearch->setDefaultAction(FStopSearch);
    btStopSearch->setAutoRaise(true);
    statusBar()->addPermanentWidget(btStopSearch);
    FSeek->OnSlice = [this] {
        if (FSeek->Running())
            ShowCountState();
        else
            ShowHitFound(FSeekState == TDocumentSearch::TSeek::Found);
    };
    FSeek->OnError = [this](const QString& message) {
        ShowError(message);
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
    command(QStringLiteral("acClose"), QStringLiteral("&Close"), QKeySequence::Close, [this] {
        if (LetDocumentGo())
            CloseDocument();
    });
    command(QStringLiteral("acPrint"), QStringLiteral("&Print..."), QKeySequence::Print, [this] { Print(); });
    menu->addSeparator();
    command(QStringLiteral("acQuit"), QStringLiteral("&Quit"), QKeySequence::Quit, [this] { close(); });

    // The view's commands work in full screen and in the presentation too, where the menu bar is hidden.
    menu = menuBar()->addMenu(QStringLiteral("&View"));
    QAction* fullScreen =
        command(QStringLiteral("acFullScreen"), QStringLiteral("&Full Screen"), QKeySequence(Qt::Key_F11),
                [this] { setWindowState(windowState() ^ Qt::WindowFullScreen); });
    QAction* presentation =
        command(QStringLiteral("acPresentation"), QStringLiteral("&Presentation"), QKeySequence(Qt::Key_F5),
                [this] { FPresentation->Active() ? FPresentation->Leave() : FPresentation->Enter(); });
    QAction* night = command(QStringLiteral("acNightMode"), QStringLiteral("&Night Colours"), {}, [this] {
        const bool inverted = findChild<QAction*>(QStringLiteral("acNightMode"))->isChecked();
        FSettings.SaveNightMode(inverted);
        for (TPdfView* view : FColumn->findChildren<TPdfView*>())
            view->SetInverted(inverted);
    });
    for (QAction* item : {fullScreen, presentation, night}) {
        item->setCheckable(true);
        addAction(item);
    }
    night->setChecked(FSettings.NightMode());

    menu = menuBar()->addMenu(QStringLiteral("&Go"));
    command(QStringLiteral("acBack"), QStringLiteral("&Back"), QKeySequence::Back, [this] { GoBack(); });
    command(QStringLiteral("acForward"), QStringLiteral("&Forward"), QKeySequence::Forward,
            [this] { GoForward(); });

    menu = menuBar()->addMenu(QStringLiteral("&Edit"));
    command(QStringLiteral("acCopy"), QStringLiteral("&Copy"), QKeySequence::Copy,
            [this] { FTextSelection->Copy(); });
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
    if (!LetDocumentGo())
        return false;
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
            ShowError(QStringLiteral("Cannot open %1: %2").arg(NativeName(FileName), error.Message()));
        }
        break;
    }
    View().setFocus();
    return opened;
}

void TViewerWindow::openDocument(const QString& FileName, const QString& Password) {
    CloseDocument();
    const QByteArray data = ReadDocumentFile(FileName);
    // Each file comes back where it was left; a file new to the viewer at the width of the window.
    const std::optional<TDocumentPlace> place = FSettings.Place(FileName);
    FColumn->SetZoom(place ? place->Zoom : TPageZoom{});
    ShowDocument(FileName, Password, data);
    if (place)
        FColumn->ShowPage(place->Page);
    FSettings.AddRecentFile(FileName);
    ShowRecentFiles();
    PageChanged();
}

void TViewerWindow::ShowDocument(const QString& FileName, const QString& Password, const QByteArray& Data) {
    FPdf->SetFileName(FileName);
    FPdf->SetPassword(Password);
    // The views load their own pages; the component's current page serves the search alone.
    FPdf->SetPageNumber(0);
    try {
        FPdf->LoadDocument(Data);
        FColumn->Reload();
    } catch (...) {
        CloseDocument();
        throw;
    }
    FData = Data;
    FWatch->Watch(FileName);
    const QString title = FPdf->Title();
    setWindowTitle((title.isEmpty() ? QFileInfo(FileName).fileName() : title) + QStringLiteral(" - ") +
                   Caption);
    tvOutline->ShowOutline(*FPdf);
    lwThumbnails->ShowDocument(*FPdf);
}

// Shows the file of the document anew once it has changed on disk, at the page and zoom shown; a file that
// is gone or cannot be read leaves the document as it was last read, and the status bar says so.
void TViewerWindow::ReloadChangedFile() {
    if (!FPdf->Active())
        return;
    const QString fileName = FPdf->FileName();
    if (!QFileInfo::exists(fileName))
        return lFileState->setText(
            QStringLiteral("%1 is gone: shown as it was last read").arg(NativeName(fileName)));
    QByteArray data;
    try {
        data = ReadDocumentFile(fileName);
        TPdf probe;
        probe.SetPassword(FPdf->Password());
        probe.LoadDocument(data);
    } catch (const Exception& error) {
        return lFileState->setText(QStringLiteral("Cannot read %1 (%2): shown as it was last read")
                                       .arg(NativeName(fileName), error.Message()));
    }
    lFileState->clear();
    if (data == FData)
        return;
    if (!LetDocumentGo())
        return lFileState->setText(QStringLiteral("%1 has changed: not read again, to keep what was typed")
                                       .arg(NativeName(fileName)));
    const int page = FColumn->CurrentPage();
    const QPoint intoPage =
        QPoint(saPage->horizontalScrollBar()->value(), saPage->verticalScrollBar()->value()) -
        QPoint(0, FColumn->PageSlot(page).top());
    const QString search = FSearch.Text();
    CloseDocument();
    ShowDocument(fileName, FPdf->Password(), data);
    FColumn->ShowPage(page);
    if (FColumn->CurrentPage() == page) {
        saPage->horizontalScrollBar()->setValue(intoPage.x());
        saPage->verticalScrollBar()->setValue(FColumn->PageSlot(page).top() + intoPage.y());
    }
    if (!search.isEmpty())
        StartSearch(search);
    PageChanged();
    statusBar()->showMessage(QStringLiteral("%1 has changed: read again").arg(NativeName(fileName)), 5000);
}

bool TViewerWindow::LetDocumentGo() {
    if (!FPdf->Active())
        return true;
    // What is being typed into a field counts too: the field takes it now.
    Guarded([this] { FPdf->CommitFormInput(); });
    if (!FEdited)
        return true;
    switch (AskSaveChanges(QFileInfo(FPdf->FileName()).fileName())) {
    case QMessageBox::Save:
        return SaveInPlace();
    case QMessageBox::Discard:
        FEdited = false;
        return true;
    default:
        return false;
    }
}

// Writes the document, with what was typed into it, over its own file, whole or not at all.
bool TViewerWindow::SaveInPlace() {
    const QString fileName = FPdf->FileName();
    Guarded([&] {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        Check(FPdf->SaveAs(buffer, saNoIncremental, pvUnknown),
              QStringLiteral("Cannot save %1").arg(NativeName(fileName)));
        QSaveFile file(fileName);
        const bool written =
            file.open(QIODevice::WriteOnly) && file.write(buffer.data()) == buffer.size() && file.commit();
        Check(written, QStringLiteral("Cannot save %1: %2").arg(NativeName(fileName), file.errorString()));
        FData = buffer.data();
        FWatch->Accept();
        FEdited = false;
    });
    return !FEdited;
}

void TViewerWindow::RememberPlace() {
    if (FPdf->Active())
        FSettings.SavePlace(FPdf->FileName(), {FColumn->CurrentPage(), FColumn->Zoom()});
}

void TViewerWindow::ShowRecentFiles() {
    mnRecent->clear();
    for (const QString& file : FSettings.RecentFiles())
        mnRecent->addAction(QDir::toNativeSeparators(file), this, [this, file] { OpenFile(file); });
    mnRecent->setEnabled(!mnRecent->isEmpty());
}

void TViewerWindow::closeEvent(QCloseEvent* Event) {
    if (!LetDocumentGo())
        return Event->ignore();
    FSettings.SaveWindowSize(size());
    RememberPlace();
    QMainWindow::closeEvent(Event);
}

void TViewerWindow::CloseDocument() {
    FPresentation->Leave();
    RememberPlace();
    FPdf->SetActive(false);
    FData.clear();
    FEdited = false;
    FWatch->Watch({});
    lFileState->clear();
    statusBar()->clearMessage();
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
          "acFindPrevious", "acFindNext", "acClose", "acCopy", "acSelectAll", "acPrint", "acPresentation"})
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
    FSeek->Stop();
    if (edSearch->text() != Text)
        edSearch->setText(Text);
    FSearch.SetText(Text);
    lwResults->clear();
    FCount->Start();
    ShowCountState();
}

void TViewerWindow::StopSearch() {
    const bool seeking = FSeek->Running();
    FSeek->Stop();
    FCount->Cancel();
    ShowCountState();
    if (seeking)
        lSearch->setText(QStringLiteral(" Stopped at page %1 ").arg(FSearch.SeekPage()));
}

void TViewerWindow::Find(const QString& Text) {
    StartSearch(Text);
    if (Text.isEmpty())
        return ShowHitFound(true);
    Seek(1);
}

void TViewerWindow::FindNext() {
    if (FSearch.Text() != edSearch->text())
        return Find(edSearch->text());
    Seek(1);
}

void TViewerWindow::FindPrevious() {
    if (FSearch.Text() != edSearch->text())
        StartSearch(edSearch->text());
    Seek(-1);
}

// Moves to the next or previous match: at once where the current page holds it, otherwise reading the pages
// after it in slices, with the window live between them, and the first slice now.
void TViewerWindow::Seek(int Direction) {
    FSeek->Stop();
    FSeekState = FSearch.Begin(FColumn->CurrentPage(), Direction);
    if (FSeekState != TDocumentSearch::TSeek::Pending)
        return ShowHitFound(FSeekState == TDocumentSearch::TSeek::Found);
    FSeek->Start([this] {
        FSeekState = FSearch.Step();
        return FSeekState == TDocumentSearch::TSeek::Pending;
    });
    FSeek->RunSlice();
}

void TViewerWindow::ShowHitFound(bool Found) {
    ShowHit();
    ShowSearchState(Found);
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
    const bool busy = FCount->Running() || FSeek->Running();
    pbSearch->setVisible(FCount->Running());
    btStopSearch->setVisible(busy);
    FStopSearch->setEnabled(busy);
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
    if (FSeek->Running())
        lSearch->setText(
            QStringLiteral(" Searching page %1 of %2 ").arg(FSearch.SeekPage()).arg(FSearch.PageCount()));
}

void TViewerWindow::ShowSearchState(bool Found) {
    const TPdfView& view = View();
    if (FSearch.Text().isEmpty())
        lSearch->clear();
    else if (FSeek->Running())
        return ShowCountState();
    else if (!Found)
        lSearch->setText(QStringLiteral(" No match "));
    else if (view.SelectionCurrent() < 0)
        lSearch->setText(QStringLiteral(" %1 on this page ").arg(view.Selection().size()));
    else
        lSearch->setText(QStringLiteral(" %1 of %2 on this page ")
                             .arg(view.SelectionCurrent() + 1)
                             .arg(view.Selection().size()));
}

// Goes to a match chosen in the results, as a jump that Back returns from.
void TViewerWindow::ShowResult(int PageNumber, int Index) {
    FSeek->Stop();
    const int from = FColumn->CurrentPage();
    FSearch.SetHit(PageNumber, Index);
    ShowHitFound(true);
    if (FColumn->CurrentPage() != from)
        FHistory.Leave(from);
    PageChanged();
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

bool TViewerWindow::OpenWithDesktop(const QUrl& Url) {
#ifdef Q_OS_LINUX
    // The desktop's opener says only by its exit whether anything could open the address.
    auto* opener = new QProcess(this);
    connect(opener, &QProcess::finished, this, [this, opener, Url](int code, QProcess::ExitStatus status) {
        opener->deleteLater();
        if (status != QProcess::NormalExit || code != 0)
            ShowError(QStringLiteral("Cannot open %1").arg(Url.toDisplayString()));
    });
    connect(opener, &QProcess::errorOccurred, this, [this, opener, Url](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        opener->deleteLater();
        ShowError(QStringLiteral("Cannot open %1").arg(Url.toDisplayString()));
    });
    opener->start(QStringLiteral("xdg-open"), {Url.toString(QUrl::FullyEncoded)});
    return true;
#else
    return QDesktopServices::openUrl(Url);
#endif
}

void TViewerWindow::OpenAddress(const QUrl& Url) {
    Check(OpenUrl(Url), QStringLiteral("Cannot open %1").arg(Url.toDisplayString()));
}

QString TViewerWindow::LinkTargetAt(TPdfView& View, const QPoint& Position) {
    const TLinkTarget target = linkTargetAt(View, Position);
    if (target.Page == 0)
        return target.Address.toDisplayString();
    // The page as the document names it, where it names it.
    const QString label = FPdf->PageLabel(target.Page);
    return QStringLiteral("Page %1").arg(label.isEmpty() ? QString::number(target.Page) : label);
}

bool TViewerWindow::SaveAs(const QString& FileName) {
    bool saved = false;
    Guarded([&] {
        Check(FPdf->Active(), QStringLiteral("There is no document to save"));
        saved = FPdf->SaveAs(FileName, saNoIncremental, pvUnknown);
        Check(saved, QStringLiteral("Cannot save the document as ") + QDir::toNativeSeparators(FileName));
        // What was typed is kept in that file.
        FEdited = false;
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
        // A link under the mouse shows where it goes; a click, not a drag, on it follows it, and elsewhere in
        // the presentation moves on, as a right click moves back; the view hands the click to the form as
        // well.
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
            const bool click = (position - FPressPosition).manhattanLength() < 4;
            if (click && mouse->button() == Qt::LeftButton)
                Guarded([&] {
                    if (!FollowLinkAt(*view, position))
                        FPresentation->Step(1);
                });
            else if (click && mouse->button() == Qt::RightButton)
                Guarded([&] { FPresentation->Step(-1); });
        }
    } else if (Watched == saPage && Event->type() == QEvent::KeyPress) {
        // Keys that reach the page area unused by the form scroll through the pages, Space and Shift+Space
        // as Page Down and Page Up; the presentation takes its own first.
        const auto* key = static_cast<QKeyEvent*>(Event);
        if (FPresentation->TakeKey(key->key(), key->modifiers()))
            return true;
        const int back = key->modifiers() & Qt::ShiftModifier ? -1 : 1;
        const std::map<int, std::function<void()>> commands{{Qt::Key_Space,
                                                             [this, back] {
                                                                 FColumn->ScrollPage(back);
                                                             }},
                                                            {Qt::Key_PageUp,
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
        if (const auto command = commands.find(key->key()); command != commands.end()) {
            Guarded(command->second);
            return true;
        }
    }
    return QMainWindow::eventFilter(Watched, Event);
}

void TViewerWindow::dragEnterEvent(QDragEnterEvent* Event) {
    const QList<QUrl> urls = Event->mimeData()->urls();
    if (!urls.isEmpty() && urls.first().isLocalFile())
        Event->acceptProposedAction();
}

// A file dropped on the window opens in it.
void TViewerWindow::dropEvent(QDropEvent* Event) {
    const QList<QUrl> urls = Event->mimeData()->urls();
    if (urls.isEmpty() || !urls.first().isLocalFile())
        return;
    Event->acceptProposedAction();
    OpenFile(urls.first().toLocalFile());
}
