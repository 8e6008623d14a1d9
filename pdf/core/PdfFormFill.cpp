// TPdf as host of the engine's form-fill environment: set up when a document opens, torn down when it closes,
// with the callbacks for repaint, timers, text-field focus and a field's changed value.
#include "pdf/Pdf.h"

#include "pdf/core/Rendering.h"
#include "pdf/engine/FPdfDoc.h"

#include <QTimer>

namespace PDFium {

namespace {

TPdf* PdfOf(FPDF_FORMFILLINFO* info) {
    return reinterpret_cast<TPdfFormFillInfo*>(info)->Pdf;
}

// The whole view repaints; the engine's rectangle is not used.
void FormFillInvalidate(FPDF_FORMFILLINFO* info, FPDF_PAGE page, double, double, double, double) {
    PdfOf(info)->InvalidateView(page);
}

int FormFillSetTimer(FPDF_FORMFILLINFO* info, int elapse, TimerCallback timerFunc) {
    return PdfOf(info)->StartFormTimer(elapse, timerFunc);
}

void FormFillKillTimer(FPDF_FORMFILLINFO* info, int timerID) {
    PdfOf(info)->StopFormTimer(timerID);
}

void FormFillSetTextFieldFocus(FPDF_FORMFILLINFO* info, FPDF_WIDESTRING value, FPDF_DWORD valueLen,
                               FPDF_BOOL isFocus) {
    PdfOf(info)->SetTextFieldFocus(value, valueLen, isFocus);
}

void FormFillOnChange(FPDF_FORMFILLINFO* info) {
    PdfOf(info)->FormChanged();
}

} // namespace

void TPdf::InitializeFormFill() {
    if (FFormFill) {
        FFormFillInfo = {};
        FFormFillInfo.Pdf = this;
        // With XFA the engine reads the record's second-version members; they stay empty.
        FFormFillInfo.Info.version = XFA() ? 2 : 1;
        FFormFillInfo.Info.FFI_Invalidate = &FormFillInvalidate;
        FFormFillInfo.Info.FFI_SetTimer = &FormFillSetTimer;
        FFormFillInfo.Info.FFI_KillTimer = &FormFillKillTimer;
        FFormFillInfo.Info.FFI_SetTextFieldFocus = &FormFillSetTextFieldFocus;
        FFormFillInfo.Info.FFI_OnChange = &FormFillOnChange;
        FFormHandle = FPDFDOC_InitFormFillEnvironment(FDocument, &FFormFillInfo.Info);
        Check(FFormHandle != nullptr, QStringLiteral("Cannot initialize form fill environment"));
        FPDF_SetFormFieldHighlightColor(FFormHandle, 0, FormHighlightColor);
        FPDF_SetFormFieldHighlightAlpha(FFormHandle, FormHighlightAlpha);
        FORM_DoDocumentJSAction(FFormHandle);
        FORM_DoDocumentOpenAction(FFormHandle);
        RaiseCallbackError();
    }
    if (XFA()) {
        const TPdfFormType formType = FormType();
        if (formType == ftXfaFull || formType == ftXfaForeground)
            FPDF_LoadXFA(FDocument);
    }
}

void TPdf::ExitFormFill() {
    if (!FFormHandle)
        return;
    FPDFDOC_ExitFormFillEnvironment(FFormHandle);
    FFormHandle = nullptr;
}

TPdfFormType TPdf::FormType() const {
    CheckActive();
    return DecodeFormType(FPDF_GetFormType(FDocument));
}

bool TPdf::XFA() const {
    return FPDF_LoadXFA != nullptr;
}

void TPdf::CommitFormInput() {
    if (!FFormHandle)
        return;
    FORM_ForceToKillFocus(FFormHandle);
    RaiseCallbackError();
}

int TPdf::StartFormTimer(int Elapse, void (*TimerFunc)(int)) {
    if (!FTimer) {
        FTimer = new QTimer(this);
        connect(FTimer, &QTimer::timeout, this, &TPdf::OnTimer);
    }
    FTimerCallback = TimerFunc;
    FTimer->start(Elapse);
    return FTimerIdentity;
}

void TPdf::StopFormTimer(int TimerID) {
    if (TimerID == FTimerIdentity && FTimer)
        FTimer->stop();
}

void TPdf::OnTimer() {
    if (!FTimerCallback)
        return;
    FTimerCallback(FTimerIdentity);
    ReportCallbackError();
}

void TPdf::ReportCallbackError() const noexcept {
    if (!FCallbackError)
        return;
    try {
        RaiseCallbackError();
    } catch (const Exception& error) {
        qWarning("Form field event failed: %s", error.what());
    } catch (...) {
        qWarning("Form field event failed");
    }
}

void TPdf::InvalidateView(FPDF_PAGE Page) const {
    for (TPdfBoundView* view : FPdfViews)
        if (view->InvalidatePage(Page))
            return;
}

void TPdf::SetTextFieldFocus(const FPDF_WCHAR* value, unsigned long valueLen, int is_focus) {
    try {
        if (is_focus) {
            if (OnFormFieldEnter) {
                const QString text = valueLen ? QString::fromUtf16(reinterpret_cast<const char16_t*>(value),
                                                                   static_cast<qsizetype>(valueLen))
                                              : QString();
                OnFormFieldEnter(this, text);
            }
        } else if (OnFormFieldExit) {
            OnFormFieldExit(this);
        }
    } catch (...) {
        KeepCallbackError();
    }
}

void TPdf::FormChanged() {
    try {
        if (OnFormChange)
            OnFormChange(this);
    } catch (...) {
        KeepCallbackError();
    }
}

} // namespace PDFium
