#include "pdf/annotations/Annotations.h"

#include "pdf/PdfError.h"
#include "pdf/binding/EngineText.h"
#include "pdf/core/PageSpace.h"
#include "pdf/core/Rendering.h"
#include "pdf/engine/FPdfEdit.h"
#include "pdf/engine/FPdfPpo.h"

#include <algorithm>
#include <cstdlib>
#include <tuple>

namespace PDFium {

namespace {

struct EngineColor {
    bool Has = false;
    TColor Color = 0;
    quint8 Alpha = 0;
};

// The engine answers a default colour for an annotation without one; only a colour entry makes one.
EngineColor ReadColor(FPDF_ANNOTATION annotation, FPDFANNOT_COLORTYPE type) {
    unsigned int r = 0, g = 0, b = 0, a = 0;
    if (!FPDFAnnot_HasKey(annotation, type == FPDFANNOT_COLORTYPE_Color ? "C" : "IC") ||
        !FPDFAnnot_GetColor(annotation, type, &r, &g, &b, &a))
        return {};
    return {true, (r & 0xFF) | (g & 0xFF) << 8 | (b & 0xFF) << 16, quint8(a & 0xFF)};
}

void WriteColor(FPDF_ANNOTATION annotation, FPDFANNOT_COLORTYPE type, TColor color, quint8 alpha,
                const QString& message) {
    const FPDF_DWORD argb = ColorToARGB(color, alpha);
    Check(FPDFAnnot_SetColor(annotation, type, FPDF_GetRValue(argb), FPDF_GetGValue(argb),
                             FPDF_GetBValue(argb), FPDF_GetAValue(argb)) != 0,
          message);
}

void WriteText(FPDF_ANNOTATION annotation, const char* key, const QString& text, const QString& message) {
    if (text.isEmpty() && !FPDFAnnot_HasKey(annotation, key))
        return;
    Check(FPDFAnnot_SetStringValue(annotation, key, reinterpret_cast<FPDF_WIDESTRING>(text.utf16())) != 0,
          message);
}

TQuadrilateralPoint Widened(const FS_QUADPOINTSF& quad) {
    return {{{quad.x1, quad.y1}, {quad.x2, quad.y2}, {quad.x3, quad.y3}, {quad.x4, quad.y4}}};
}

FS_QUADPOINTSF Narrowed(const TQuadrilateralPoint& points) {
    return {float(points[0].X), float(points[0].Y), float(points[1].X), float(points[1].Y),
            float(points[2].X), float(points[2].Y), float(points[3].X), float(points[3].Y)};
}

// Every appearance stream of the annotation taken away.
void RemoveAppearance(FPDF_ANNOTATION annotation) {
    for (const FPDF_ANNOT_APPEARANCEMODE mode :
         {FPDF_ANNOT_APPEARANCEMODE_NORMAL, FPDF_ANNOT_APPEARANCEMODE_ROLLOVER,
          FPDF_ANNOT_APPEARANCEMODE_DOWN})
        FPDFAnnot_SetAP(annotation, mode, nullptr);
}

using OwnedDocument = std::unique_ptr<fpdf_document_t__, EngineDeleter<FPDF_CloseDocument>>;
using OwnedPage = std::unique_ptr<fpdf_page_t__, EngineDeleter<FPDF_ClosePage>>;

// The engine reads an annotation's colour entries only where the annotation has no appearance stream. Such
// colours are read from a copy of the page in a scratch document, whose copy of the annotation loses its
// appearance first; the document itself stays as it was. Colours the copy cannot give stay unread.
void ReadColorsBehindAppearance(FPDF_DOCUMENT document, int pageIndex, int index, TPdfAnnotation& result) {
    const OwnedDocument scratch(FPDF_CreateNewDocument());
    const QByteArray page = QByteArray::number(pageIndex + 1);
    if (!scratch || !FPDF_ImportPages(scratch.get(), document, page.constData(), 0))
        return;
    const OwnedPage copy(FPDF_LoadPage(scratch.get(), 0));
    const OwnedAnnotation annotation(copy ? FPDFPage_GetAnnot(copy.get(), index) : nullptr);
    if (!annotation)
        return;
    RemoveAppearance(annotation.get());
    const EngineColor color = ReadColor(annotation.get(), FPDFANNOT_COLORTYPE_Color);
    std::tie(result.HasColor, result.Color, result.ColorAlpha) =
        std::tuple(color.Has, color.Color, color.Alpha);
    const EngineColor interior = ReadColor(annotation.get(), FPDFANNOT_COLORTYPE_InteriorColor);
    std::tie(result.HasInteriorColor, result.InteriorColor, result.InteriorColorAlpha) =
        std::tuple(interior.Has, interior.Color, interior.Alpha);
}

using PathColorGetter = FPDF_BOOL (*)(FPDF_PAGEOBJECT, unsigned int*, unsigned int*, unsigned int*,
                                      unsigned int*);

// The engine reads a colour entry's components from 0 to 1 as 0 to 255 cut down (0.9 reads 229) where every
// other reader rounds (230); the paths of the annotation's appearance it reads rounded. The colour of the
// first path drawn (Getter: stroked or filled) within one step of the entry's is taken in its place; where no
// path is, the entry's stays.
void RoundFromAppearance(FPDF_ANNOTATION annotation, PathColorGetter getter, TColor& color) {
    const auto channel = [](TColor value, int shift) {
        return int((value >> shift) & 0xFF);
    };
    const int count = FPDFAnnot_GetObjectCount(annotation);
    for (int i = 0; i < count; ++i) {
        FPDF_PAGEOBJECT object = FPDFAnnot_GetObject(annotation, i);
        unsigned int r = 0, g = 0, b = 0, a = 0;
        if (!object || FPDFPageObj_GetType(object) != FPDF_PAGEOBJ_PATH || !getter(object, &r, &g, &b, &a))
            continue;
        const TColor drawn = (r & 0xFF) | (g & 0xFF) << 8 | (b & 0xFF) << 16;
        if (std::abs(channel(drawn, 0) - channel(color, 0)) <= 1 &&
            std::abs(channel(drawn, 8) - channel(color, 8)) <= 1 &&
            std::abs(channel(drawn, 16) - channel(color, 16)) <= 1) {
            color = drawn;
            return;
        }
    }
}

// The colours behind an appearance rounded where the appearance draws them: a highlight fills its colour, ink
// strokes it, a square strokes its colour and fills its interior.
void RoundColorsFromAppearance(FPDF_ANNOTATION annotation, TPdfAnnotation& result) {
    if (result.HasColor && result.Subtype == anHighlight)
        RoundFromAppearance(annotation, FPDFPageObj_GetFillColor, result.Color);
    if (result.HasColor && (result.Subtype == anInk || result.Subtype == anSquare))
        RoundFromAppearance(annotation, FPDFPageObj_GetStrokeColor, result.Color);
    if (result.HasInteriorColor && result.Subtype == anSquare)
        RoundFromAppearance(annotation, FPDFPageObj_GetFillColor, result.InteriorColor);
}

// Takes away the appearance of an annotation whose colour changes, where the engine and every reader draw
// the annotation anew from its entries; any other keeps its appearance and refuses the colour.
void DropAppearance(FPDF_ANNOTATION annotation, TPdfAnnotationSubtype subtype) {
    static const QList<TPdfAnnotationSubtype> drawnFromEntries{
        anCircle, anHighlight, anInk, anPopup, anSquare, anSquiggly, anStrikeout, anText, anUnderline};
    Check(drawnFromEntries.contains(subtype),
          QStringLiteral("Cannot set color: the annotation's appearance draws its own colours"));
    RemoveAppearance(annotation);
}

// The rectangle and attachment points lie in the range every reader takes.
void CheckAnnotationPlace(const TPdfAnnotation& Value) {
    const TPdfRectangle& r = Value.Rectangle;
    CheckPageSpace({r.Left, r.Top, r.Right, r.Bottom});
    if (Value.HasAttachmentPoints)
        for (const TPdfPoint& point : Value.AttachmentPoints)
            CheckPageSpace({point.X, point.Y});
}

// A colour is written only where it changes: the engine writes none into an annotation that has an
// appearance stream.
bool ColorChanges(bool had, TColor was, quint8 wasAlpha, bool has, TColor color, quint8 alpha) {
    return has && !(had && was == color && wasAlpha == alpha);
}

// Which entries of an annotation a write touches. The engine writes each number back as the 32-bit float it
// holds, so an entry that does not change is left as it was read.
struct TAnnotationWrites {
    bool Flags, Color, InteriorColor, AttachmentPoints, Rectangle, Contents, Author;
};

void WriteAnnotationData(FPDF_ANNOTATION annotation, const TPdfAnnotation& value,
                         const TAnnotationWrites& writes) {
    if (writes.Flags)
        Check(FPDFAnnot_SetFlags(annotation, EncodeAnnotationFlags(value.Flags)) != 0,
              QStringLiteral("Cannot set flags"));
    if (writes.Color)
        WriteColor(annotation, FPDFANNOT_COLORTYPE_Color, value.Color, value.ColorAlpha,
                   QStringLiteral("Cannot set color"));
    if (writes.InteriorColor)
        WriteColor(annotation, FPDFANNOT_COLORTYPE_InteriorColor, value.InteriorColor,
                   value.InteriorColorAlpha, QStringLiteral("Cannot set interior color"));
    if (writes.AttachmentPoints) {
        // The first quadrilateral is replaced; an annotation without one, as a new one is, gets it appended.
        const FS_QUADPOINTSF quad = Narrowed(value.AttachmentPoints);
        const bool written = FPDFAnnot_CountAttachmentPoints(annotation) > 0
                                 ? FPDFAnnot_SetAttachmentPoints(annotation, 0, &quad)
                                 : FPDFAnnot_AppendAttachmentPoints(annotation, &quad);
        Check(written, QStringLiteral("Cannot set attachment points"));
    }
    if (writes.Rectangle) {
        // Written with its left below its right and its bottom below its top, whichever way it was given.
        const TPdfRectangle& r = value.Rectangle;
        const FS_RECTF rect{float(std::min(r.Left, r.Right)), float(std::max(r.Top, r.Bottom)),
                            float(std::max(r.Left, r.Right)), float(std::min(r.Top, r.Bottom))};
        Check(FPDFAnnot_SetRect(annotation, &rect) != 0, QStringLiteral("Cannot set rectangle"));
    }
    if (writes.Contents)
        WriteText(annotation, FPDFANNOT_TEXTTYPE_Contents, value.ContentsText,
                  QStringLiteral("Cannot set contents text"));
    if (writes.Author)
        WriteText(annotation, FPDFANNOT_TEXTTYPE_Author, value.AuthorText,
                  QStringLiteral("Cannot set author text"));
}

} // namespace

void CheckAnnotationIndex(FPDF_PAGE Page, int Index) {
    Check(Index >= 0 && Index < FPDFPage_GetAnnotCount(Page), QStringLiteral("Incorrect index"));
}

OwnedAnnotation OpenAnnotation(FPDF_PAGE Page, int Index) {
    OwnedAnnotation annotation(FPDFPage_GetAnnot(Page, Index));
    Check(annotation != nullptr, QStringLiteral("Cannot retrieve annotation"));
    return annotation;
}

QString AnnotationText(FPDF_ANNOTATION Annotation, const char* Key) {
    return FetchUtf16Text([&](void* buffer, unsigned long size) {
        return FPDFAnnot_GetStringValue(Annotation, Key, static_cast<FPDF_WCHAR*>(buffer), size);
    });
}

QString FormFieldText(FormFieldTextGetter Getter, FPDF_FORMHANDLE Form, FPDF_ANNOTATION Widget) {
    if (!Getter || !Form)
        return {};
    return FetchUtf16Text([&](void* buffer, unsigned long size) {
        return Getter(Form, Widget, static_cast<FPDF_WCHAR*>(buffer), size);
    });
}

TPdfAnnotation GetAnnotation(FPDF_DOCUMENT Document, int PageIndex, FPDF_PAGE Page, int Index) {
    CheckAnnotationIndex(Page, Index);
    const OwnedAnnotation annotation = OpenAnnotation(Page, Index);
    FPDF_ANNOTATION handle = annotation.get();
    TPdfAnnotation result;
    result.Subtype = DecodeAnnotationSubtype(FPDFAnnot_GetSubtype(handle));
    result.Flags = DecodeAnnotationFlags(FPDFAnnot_GetFlags(handle));
    const EngineColor color = ReadColor(handle, FPDFANNOT_COLORTYPE_Color);
    result.HasColor = color.Has;
    result.Color = color.Color;
    result.ColorAlpha = color.Alpha;
    const EngineColor interior = ReadColor(handle, FPDFANNOT_COLORTYPE_InteriorColor);
    result.HasInteriorColor = interior.Has;
    result.InteriorColor = interior.Color;
    result.InteriorColorAlpha = interior.Alpha;
    FS_QUADPOINTSF quad{};
    if (FPDFAnnot_HasAttachmentPoints(handle) && FPDFAnnot_GetAttachmentPoints(handle, 0, &quad)) {
        result.HasAttachmentPoints = true;
        result.AttachmentPoints = Widened(quad);
    }
    FS_RECTF rect{};
    Check(FPDFAnnot_GetRect(handle, &rect) != 0, QStringLiteral("Cannot retrieve rectangle"));
    result.Rectangle = {rect.left, rect.top, rect.right, rect.bottom};
    result.ContentsText = AnnotationText(handle, FPDFANNOT_TEXTTYPE_Contents);
    result.AuthorText = AnnotationText(handle, FPDFANNOT_TEXTTYPE_Author);
    if (FPDFAnnot_HasKey(handle, "AP") && (FPDFAnnot_HasKey(handle, "C") || FPDFAnnot_HasKey(handle, "IC"))) {
        ReadColorsBehindAppearance(Document, PageIndex, Index, result);
        RoundColorsFromAppearance(handle, result);
    }
    return result;
}

void SetAnnotation(FPDF_DOCUMENT Document, int PageIndex, FPDF_PAGE Page, int Index,
                   const TPdfAnnotation& Value) {
    CheckAnnotationIndex(Page, Index);
    CheckAnnotationPlace(Value);
    const TPdfAnnotation current = GetAnnotation(Document, PageIndex, Page, Index);
    Check(current.Subtype == Value.Subtype, QStringLiteral("Incorrect annotation subtype"));
    const OwnedAnnotation annotation = OpenAnnotation(Page, Index);
    const bool colorChanges = ColorChanges(current.HasColor, current.Color, current.ColorAlpha,
                                           Value.HasColor, Value.Color, Value.ColorAlpha);
    const bool interiorChanges =
        ColorChanges(current.HasInteriorColor, current.InteriorColor, current.InteriorColorAlpha,
                     Value.HasInteriorColor, Value.InteriorColor, Value.InteriorColorAlpha);
    if ((colorChanges || interiorChanges) && FPDFAnnot_HasKey(annotation.get(), "AP"))
        DropAppearance(annotation.get(), Value.Subtype);
    // Flags compare as the engine holds them, so that bits beyond the nine known ones are cleared.
    const bool flagsChange = FPDFAnnot_GetFlags(annotation.get()) != EncodeAnnotationFlags(Value.Flags);
    WriteAnnotationData(annotation.get(), Value,
                        {flagsChange, colorChanges, interiorChanges,
                         Value.HasAttachmentPoints && !(current.HasAttachmentPoints &&
                                                        current.AttachmentPoints == Value.AttachmentPoints),
                         !(current.Rectangle == Value.Rectangle), current.ContentsText != Value.ContentsText,
                         current.AuthorText != Value.AuthorText});
}

void CreateAnnotation(FPDF_PAGE Page, const TPdfAnnotation& Annotation) {
    CheckAnnotationPlace(Annotation);
    const int subtype = EncodeAnnotationSubtype(Annotation.Subtype);
    Check(FPDFAnnot_IsSupportedSubtype(subtype) != 0, QStringLiteral("Unsupported annotation subtype"));
    const OwnedAnnotation annotation(FPDFPage_CreateAnnot(Page, subtype));
    Check(annotation != nullptr, QStringLiteral("Cannot create annotation"));
    SetAnnotationData(annotation.get(), Annotation);
}

void DeleteAnnotation(FPDF_PAGE Page, int Index) {
    CheckAnnotationIndex(Page, Index);
    // The engine's last-error code belongs to document opening only, so a refusal here keeps its own message.
    Check(FPDFPage_RemoveAnnot(Page, Index) != 0, QStringLiteral("Cannot delete annotation"));
}

void SetAnnotationData(FPDF_ANNOTATION Annotation, const TPdfAnnotation& Value) {
    WriteAnnotationData(
        Annotation, Value,
        {true, Value.HasColor, Value.HasInteriorColor, Value.HasAttachmentPoints, true, true, true});
}

} // namespace PDFium
