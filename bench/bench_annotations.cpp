// Annotations and forms as a program that inspects or fills documents waits for them: every annotation of
// every page of the corpus's most annotated document read as TPdf's record, and every field of the form that
// holds each kind of field filled by name, each beside the raw engine calls that do the same work.
#include "BenchDocuments.h"
#include "pdf/Pdf.h"
#include "pdf/annotations/FormFilling.h"
#include "pdf/engine/FPdfAnnot.h"
#include "pdf/engine/FPdfFWLEvent.h"
#include "pdf/engine/FPdfFormFill.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <benchmark/benchmark.h>
#include <vector>

using namespace PDFium;

namespace {

// 78 annotations over 36 pages.
const QString Annotated = QStringLiteral(KESTROVA_TESTDATA_DIR "/realworld/libtasn1.pdf");
// A text field, a combo box, a list box, a check box and a radio group.
const QString Form = QStringLiteral(KESTROVA_TESTDATA_DIR "/pdf/multiple_form_types.pdf");

void BM_TPdfListAnnotations(benchmark::State& state) {
    if (Skip(state, Annotated))
        return;
    static TPdf* pdf = Opened(Annotated);
    for (auto _ : state) {
        for (int page = 1; page <= pdf->PageCount(); ++page) {
            pdf->SetPageNumber(page);
            const int count = pdf->AnnotationCount();
            for (int index = 0; index < count; ++index) {
                TPdfAnnotation annotation = pdf->Annotation(index);
                benchmark::DoNotOptimize(annotation);
            }
        }
    }
}

QString RawText(FPDF_ANNOTATION annotation, const char* key) {
    const unsigned long size = FPDFAnnot_GetStringValue(annotation, key, nullptr, 0);
    if (size <= 2)
        return {};
    QString text(qsizetype(size / 2 - 1), Qt::Uninitialized);
    FPDFAnnot_GetStringValue(annotation, key, reinterpret_cast<FPDF_WCHAR*>(text.data()), size);
    return text;
}

void BM_RawListAnnotations(benchmark::State& state) {
    if (Skip(state, Annotated))
        return;
    static TPdf* pdf = Opened(Annotated);
    FPDF_DOCUMENT document = pdf->Document();
    for (auto _ : state) {
        const int pages = FPDF_GetPageCount(document);
        for (int pageIndex = 0; pageIndex < pages; ++pageIndex) {
            FPDF_PAGE page = FPDF_LoadPage(document, pageIndex);
            const int count = FPDFPage_GetAnnotCount(page);
            for (int index = 0; index < count; ++index) {
                FPDF_ANNOTATION annotation = FPDFPage_GetAnnot(page, index);
                TPdfAnnotation record;
                record.Subtype = TPdfAnnotationSubtype(FPDFAnnot_GetSubtype(annotation));
                record.Flags = DecodeAnnotationFlags(FPDFAnnot_GetFlags(annotation));
                unsigned int r, g, b, a;
                record.HasColor = FPDFAnnot_HasKey(annotation, "C") &&
                                  FPDFAnnot_GetColor(annotation, FPDFANNOT_COLORTYPE_Color, &r, &g, &b, &a);
                record.HasInteriorColor =
                    FPDFAnnot_HasKey(annotation, "IC") &&
                    FPDFAnnot_GetColor(annotation, FPDFANNOT_COLORTYPE_InteriorColor, &r, &g, &b, &a);
                FS_QUADPOINTSF quad;
                record.HasAttachmentPoints = FPDFAnnot_HasAttachmentPoints(annotation) &&
                                             FPDFAnnot_GetAttachmentPoints(annotation, 0, &quad);
                FS_RECTF rect;
                FPDFAnnot_GetRect(annotation, &rect);
                record.Rectangle = {rect.left, rect.top, rect.right, rect.bottom};
                record.ContentsText = RawText(annotation, "Contents");
                record.AuthorText = RawText(annotation, "T");
                benchmark::DoNotOptimize(record);
                FPDFPage_CloseAnnot(annotation);
            }
            FPDF_ClosePage(page);
        }
    }
}

// Two sets of values, taken in turn, so that every run changes every field.
const TFormValues Values[2] = {
    {{"Text Box", "Hello Kestrova"},
     {"Combo_Editable", "Bar"},
     {"Listbox_MultiSelectMultipleSelected", "Beta"},
     {"Checkbox", "Yes"},
     {"radioButton", "Yes"}},
    {{"Text Box", "Second words"},
     {"Combo_Editable", "Qux"},
     {"Listbox_MultiSelectMultipleSelected", "Delta"},
     {"Checkbox", "Off"},
     {"radioButton", "Yes"}},
};

void BM_TPdfFillForm(benchmark::State& state) {
    if (Skip(state, Form))
        return;
    static TPdf* pdf = Opened(Form);
    int turn = 0;
    for (auto _ : state)
        FillFormFields(*pdf, Values[turn++ % 2]);
}

// The same by hand: the widgets found by name on the page, each clicked and filled as TPdf does it.
void BM_RawFillForm(benchmark::State& state) {
    if (Skip(state, Form))
        return;
    static TPdf* pdf = Opened(Form);
    FPDF_FORMHANDLE form = pdf->FormHandle();
    FPDF_PAGE page = pdf->Page();
    int turn = 0;
    for (auto _ : state) {
        const TFormValues& values = Values[turn++ % 2];
        FORM_OnAfterLoadPage(page, form);
        const int count = FPDFPage_GetAnnotCount(page);
        for (int index = 0; index < count; ++index) {
            FPDF_ANNOTATION widget = FPDFPage_GetAnnot(page, index);
            FPDF_ANNOTATION parent = FPDFAnnot_GetLinkedAnnot(widget, "Parent");
            const QString name = RawText(parent ? parent : widget, "T");
            const QString fieldType = RawText(parent ? parent : widget, "FT");
            const int flags = FPDFAnnot_GetFormFieldFlags(form, widget);
            FS_RECTF rect;
            FPDFAnnot_GetRect(widget, &rect);
            const double x = (rect.left + rect.right) / 2;
            const double y = (rect.top + rect.bottom) / 2;
            for (const auto& [fieldName, value] : values) {
                if (fieldName != name)
                    continue;
                const bool checkable = fieldType == QLatin1String("Btn");
                if (checkable && value == RawText(widget, "AS"))
                    break;
                FORM_OnMouseMove(form, page, 0, x, y);
                FORM_OnLButtonDown(form, page, 0, x, y);
                FORM_OnLButtonUp(form, page, 0, x, y);
                if (fieldType == QLatin1String("Tx")) {
                    FORM_OnKeyDown(form, page, FWL_VKEY_Home, FWL_EVENTFLAG_ControlKey);
                    FORM_OnKeyUp(form, page, FWL_VKEY_Home, FWL_EVENTFLAG_ControlKey);
                    FORM_OnKeyDown(form, page, FWL_VKEY_End,
                                   FWL_EVENTFLAG_ControlKey | FWL_EVENTFLAG_ShiftKey);
                    FORM_OnKeyUp(form, page, FWL_VKEY_End, FWL_EVENTFLAG_ControlKey | FWL_EVENTFLAG_ShiftKey);
                    FORM_ReplaceSelection(form, page, reinterpret_cast<FPDF_WIDESTRING>(value.utf16()));
                } else if (fieldType == QLatin1String("Ch")) {
                    const int options = FPDFAnnot_GetOptionCount(form, widget);
                    for (int option = 0; option < options; ++option) {
                        const unsigned long size = FPDFAnnot_GetOptionLabel(form, widget, option, nullptr, 0);
                        std::vector<FPDF_WCHAR> label(size / 2 + 1);
                        FPDFAnnot_GetOptionLabel(form, widget, option, label.data(), size);
                        const bool chosen =
                            QString::fromUtf16(reinterpret_cast<const char16_t*>(label.data())) == value;
                        if (chosen || (flags & (1 << 21)))
                            FORM_SetIndexSelected(form, page, option, chosen);
                    }
                }
                FORM_ForceToKillFocus(form);
            }
            if (parent)
                FPDFPage_CloseAnnot(parent);
            FPDFPage_CloseAnnot(widget);
        }
        FORM_OnBeforeClosePage(page, form);
    }
}

} // namespace

BENCHMARK(BM_RawListAnnotations)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TPdfListAnnotations)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawFillForm)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TPdfFillForm)->Unit(benchmark::kMicrosecond);

// The form-fill environment's timers need the application object of a program, as in the tools.
int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
