// TPdf's lifecycle: opening a document from a file, from memory or new, and closing it; the state guards.
#include "pdf/Pdf.h"

#include "pdf/binding/Binding.h"
#include "pdf/core/UnsupportedFeature.h"
#include "pdf/engine/FPdfEdit.h"
#include "pdf/text/PageState.h"

#include <QBuffer>
#include <QTimer>
#include <atomic>
#include <limits>

namespace PDFium {

namespace {
// Engine timer identifiers must be non-zero and tell the components apart; an address does not fit the int.
int NextTimerIdentity() {
    static std::atomic<int> last{0};
    return ++last;
}
} // namespace

TPdf::TPdf(QObject* AOwner)
    : QObject(AOwner), FPageState(std::make_unique<TPageState>()), FTimerIdentity(NextTimerIdentity()) {}

TPdf::~TPdf() {
    // The engine may ask to kill the timer while its form-fill environment exits, so the document goes first
    // and the timer (a child of this object) after it.
    try {
        SetActive(false);
    } catch (...) {
        // Closing raises only through an event handler; a destructor has nowhere to report it.
    }
    // The views outlive their component unbound, pointing at nothing.
    for (TPdfBoundView* view : std::exchange(FPdfViews, {}))
        view->Unbind();
    WithdrawUnsupportedFeatureHandler(this);
}

bool TPdf::Active() const {
    return FDocument != nullptr;
}

void TPdf::SetActive(bool Value) {
    if (Value != Active()) {
        if (Value) {
            // The file load ends with a page load of its own; activation loads the page once more.
            LoadDocument();
            ReloadPage();
        } else {
            UnloadDocument();
        }
    }
    FActive = Value;
}

void TPdf::Loaded() {
    SetActive(FActive);
    for (qsizetype i = FPdfViews.size() - 1; i >= 0; --i)
        if (i < FPdfViews.size())
            FPdfViews[i]->ApplyActive();
}

void TPdf::BindView(TPdfBoundView* View) {
    FPdfViews.append(View);
}

void TPdf::UnbindView(TPdfBoundView* View) {
    FPdfViews.removeOne(View);
}

void TPdf::SetFileName(const QString& Value) {
    CheckInactive();
    FFileName = Value;
}

void TPdf::SetPassword(const QString& Value) {
    CheckInactive();
    FPassword = Value;
}

void TPdf::SetFormFill(bool Value) {
    CheckInactive();
    FFormFill = Value;
}

void TPdf::SetPageNumber(int Value) {
    if (Value == FPageNumber)
        return;
    FPageNumber = Value;
    if (Active())
        ReloadPage();
}

void TPdf::OpenDocument(const std::function<FPDF_DOCUMENT()>& openEngineDocument,
                        const QString& errorMessage) {
    CheckInactive();
    LoadLibrary();
    if (OnUnsupportedFeature)
        SetUnsupportedFeatureHandler(this);
    FDocument = openEngineDocument();
    // A handler that raised inside the open refuses the document: it is closed again, the component stays
    // closed, and the handler's error goes to the caller.
    if (FCallbackError && FDocument) {
        FPDF_CloseDocument(FDocument);
        FDocument = nullptr;
    }
    RaiseCallbackError();
    CheckPdf(FDocument != nullptr, errorMessage);
    InitializeFormFill();
}

void TPdf::LoadDocument() {
    const QByteArray fileName = FFileName.toLocal8Bit();
    const QByteArray password = FPassword.toLocal8Bit();
    OpenDocument([&] { return FPDF_LoadDocument(fileName.constData(), password.constData()); },
                 QStringLiteral("Cannot load PDF document ") + FFileName);
    ReloadPage();
}

void TPdf::LoadDocument(const void* Data, int Size) {
    const QByteArray password = FPassword.toLocal8Bit();
    OpenDocument([&] { return FPDF_LoadMemDocument(Data, Size, password.constData()); },
                 QStringLiteral("Cannot load PDF document"));
    ReloadPage();
}

void TPdf::LoadDocument(const QByteArray& Data) {
    CheckInactive();
    Check(Data.size() <= std::numeric_limits<int>::max(), QStringLiteral("Cannot load PDF document"));
    // Shared, not copied: the engine reads these bytes until the document closes, whatever becomes of the
    // caller's array.
    FMemoryData = Data;
    try {
        LoadDocument(FMemoryData.constData(), static_cast<int>(FMemoryData.size()));
    } catch (...) {
        if (!FDocument)
            FMemoryData.clear();
        throw;
    }
}

void TPdf::LoadDocument(const QBuffer& Data) {
    LoadDocument(Data.data());
}

void TPdf::CreateDocument() {
    OpenDocument([] { return FPDF_CreateNewDocument(); }, QStringLiteral("Cannot create PDF document"));
}

void TPdf::UnloadDocument() {
    UnloadPage();
    ForgetPages();
    // The views' pages close, with their form-fill page events, before the document does; an event handler's
    // error on the way waits until the document is closed.
    for (qsizetype i = FPdfViews.size() - 1; i >= 0; --i)
        if (i < FPdfViews.size()) {
            try {
                FPdfViews[i]->Deactivate();
            } catch (...) {
                KeepCallbackError();
            }
        }
    if (!FDocument)
        return;
    if (FFormHandle)
        FORM_DoDocumentAAction(FFormHandle, FPDFDOC_AACTION_WC);
    ExitFormFill();
    FPDF_CloseDocument(FDocument);
    FDocument = nullptr;
    FMemoryData.clear();
    RaiseCallbackError();
}

void TPdf::CheckActive() const {
    Check(Active(), QStringLiteral("Cannot perform this operation on an inactive ") + Name() +
                        QStringLiteral(" component"));
}

void TPdf::CheckInactive() const {
    Check(!Active(), QStringLiteral("Cannot perform this operation on an active ") + Name() +
                         QStringLiteral(" component"));
}

void TPdf::CheckPageActive() const {
    CheckActive();
    FPageState->CheckLoaded();
}

void TPdf::KeepCallbackError() const noexcept {
    if (!FCallbackError)
        FCallbackError = std::current_exception();
}

void TPdf::RaiseCallbackError() const {
    if (FCallbackError)
        std::rethrow_exception(std::exchange(FCallbackError, nullptr));
}

void TPdf::CallEngine(const std::function<void()>& Call) const {
    try {
        Call();
    } catch (...) {
        RaiseCallbackError();
        throw;
    }
    RaiseCallbackError();
}

void TPdf::NotifyUnsupportedFeature(TPdfFeature Feature) {
    if (!OnUnsupportedFeature)
        return;
    try {
        OnUnsupportedFeature(this, Feature);
    } catch (...) {
        KeepCallbackError();
    }
}

} // namespace PDFium
