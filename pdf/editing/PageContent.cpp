// TPdf's additions to the current page: pictures and JPEG images, paths built step by step in FPath, and
// text objects in the engine's standard fonts. Every change that reaches the page regenerates its content;
// the first addition to a page keeps the page's own content inside a saved graphics state.
// An object that the component created but could not place is destroyed, never left to the engine.
#include "pdf/Pdf.h"

#include "pdf/binding/EngineHandles.h"
#include "pdf/core/PageSpace.h"
#include "pdf/core/Rendering.h"
#include "pdf/editing/ImageInsertion.h"
#include "pdf/editing/TextFonts.h"
#include "pdf/engine/FPdfEdit.h"
#include "pdf/engine/FPdfTransformPage.h"

namespace PDFium {

namespace {

// The engine's colour setters take red, green, blue and alpha apart.
template <typename Setter> auto SetColor(Setter setter, FPDF_PAGEOBJECT object, TColor Color, quint8 Alpha) {
    const FPDF_DWORD argb = ColorToARGB(Color, Alpha);
    return setter(object, FPDF_GetRValue(argb), FPDF_GetGValue(argb), FPDF_GetBValue(argb),
                  FPDF_GetAValue(argb));
}

FPDF_WIDESTRING EngineText(const QString& Text) {
    return reinterpret_cast<FPDF_WIDESTRING>(Text.utf16());
}

} // namespace

void TPdf::PrepareAddition() {
    CheckPageEditable();
    if (FIsolatedPages.contains(FPageNumber))
        return;
    // The page's own content may leave a clip, a transformation or colours set for whatever follows it, as
    // content outside any saved graphics state does: it is put inside one (q ... Q) before the first
    // addition, and the page is read anew so that its objects and its content streams agree again.
    // A page without content, as a new one is, has nothing to put there, and the engine refuses it.
    static constexpr FS_MATRIX identity{1, 0, 0, 1, 0, 0};
    if (FPDFPage_TransFormWithClip(Page(), &identity, nullptr) != 0)
        ReloadPage();
    else
        Check(FPDFPage_CountObjects(Page()) == 0, QStringLiteral("Cannot create page content"));
    FIsolatedPages.insert(FPageNumber);
}

void TPdf::AddPicture(const TPicture& Picture, double X, double Y) {
    AddPicture(Picture, X, Y, Picture.Width(), Picture.Height());
}

void TPdf::AddPicture(const TPicture& Picture, double X, double Y, double Width, double Height) {
    CheckPageSpace({X, Y, Width, Height});
    PrepareAddition();
    AddBitmap(FDocument, Page(), PictureToBitmap(Picture), X, Y, Width, Height);
}

bool TPdf::AddJpegImage(QIODevice& JpegImage, double X, double Y, double Width, double Height) {
    CheckPageSpace({X, Y, Width, Height});
    PrepareAddition();
    return PDFium::AddJpegImage(FDocument, Page(), JpegImage, X, Y, Width, Height);
}

void TPdf::CreatePath(float X, float Y, TPdfFillMode FillMode, TColor FillColor, quint8 FillAlpha,
                      bool Stroke, TColor StrokeColor, quint8 StrokeAlpha, float StrokeWidth,
                      TPdfLineCap LineCap, TPdfLineJoin LineJoin, TPdfBlendMode BlendMode) {
    CheckPageSpace({X, Y, StrokeWidth});
    BeginPath([&] { return FPDFPageObj_CreateNewPath(X, Y); });
    SetPathStyle({FillMode, FillColor, FillAlpha, Stroke, StrokeColor, StrokeAlpha, StrokeWidth, LineCap,
                  LineJoin, BlendMode});
}

void TPdf::CreatePath(float X, float Y, float Width, float Height, TPdfFillMode FillMode, TColor FillColor,
                      quint8 FillAlpha, bool Stroke, TColor StrokeColor, quint8 StrokeAlpha,
                      float StrokeWidth, TPdfLineCap LineCap, TPdfLineJoin LineJoin,
                      TPdfBlendMode BlendMode) {
    CheckPageSpace({X, Y, Width, Height, StrokeWidth});
    BeginPath([&] { return FPDFPageObj_CreateNewRect(X, Y, Width, Height); });
    SetPathStyle({FillMode, FillColor, FillAlpha, Stroke, StrokeColor, StrokeAlpha, StrokeWidth, LineCap,
                  LineJoin, BlendMode});
}

void TPdf::BeginPath(const std::function<FPDF_PAGEOBJECT()>& createPath) {
    CheckPageEditable();
    Check(FPath == nullptr, QStringLiteral("Path was already created"));
    PrepareAddition();
    FPath = createPath();
    Check(FPath != nullptr, QStringLiteral("Cannot create path"));
}

void TPdf::SetPathStyle(const TPathStyle& Style) {
    FPDFPath_SetDrawMode(FPath, EncodeFillMode(Style.FillMode), Style.Stroke ? 1 : 0);
    SetColor(FPDFPageObj_SetFillColor, FPath, Style.FillColor, Style.FillAlpha);
    if (Style.Stroke) {
        SetColor(FPDFPageObj_SetStrokeColor, FPath, Style.StrokeColor, Style.StrokeAlpha);
        if (!(Style.StrokeWidth == 1.0f))
            Check(FPDFPageObj_SetStrokeWidth(FPath, Style.StrokeWidth) != 0,
                  QStringLiteral("Cannot set stroke width"));
    }
    if (Style.LineCap != lcDefault)
        FPDFPageObj_SetLineCap(FPath, EncodeLineCap(Style.LineCap));
    if (Style.LineJoin != ljDefault)
        FPDFPageObj_SetLineJoin(FPath, EncodeLineJoin(Style.LineJoin));
    if (Style.BlendMode != bmDefault)
        FPDFPageObj_SetBlendMode(FPath, EncodeBlendMode(Style.BlendMode).constData());
}

void TPdf::CheckPathCreated() const {
    Check(FPath != nullptr, QStringLiteral("Path was not created"));
}

void TPdf::MoveTo(float X, float Y) {
    CheckPathCreated();
    CheckPageSpace({X, Y});
    Check(FPDFPath_MoveTo(FPath, X, Y) != 0, QStringLiteral("Cannot move"));
}

void TPdf::LineTo(float X, float Y) {
    CheckPathCreated();
    CheckPageSpace({X, Y});
    Check(FPDFPath_LineTo(FPath, X, Y) != 0, QStringLiteral("Cannot add line"));
}

void TPdf::BezierTo(float X1, float Y1, float X2, float Y2, float X3, float Y3) {
    CheckPathCreated();
    CheckPageSpace({X1, Y1, X2, Y2, X3, Y3});
    Check(FPDFPath_BezierTo(FPath, X1, Y1, X2, Y2, X3, Y3) != 0, QStringLiteral("Cannot add Bezier curve"));
}

void TPdf::ClosePath() {
    CheckPathCreated();
    Check(FPDFPath_Close(FPath) != 0, QStringLiteral("Cannot close path"));
}

void TPdf::AddPath() {
    CheckPathCreated();
    FPDFPage_InsertObject(Page(), std::exchange(FPath, nullptr));
    UpdatePage();
}

void TPdf::AddText(const QString& Text, const QString& Font, float FontSize, double X, double Y, TColor Color,
                   quint8 Alpha) {
    CheckPageEditable();
    CheckPageSpace({FontSize, X, Y});
    OwnedPageObject textObject = NewTextObject(FDocument, Font, Text, FontSize);
    PrepareAddition();
    Check(FPDFText_SetText(textObject.get(), EngineText(Text)) != 0, QStringLiteral("Cannot set text"));
    Check(SetColor(FPDFPageObj_SetFillColor, textObject.get(), Color, Alpha) != 0,
          QStringLiteral("Cannot set color"));
    FPDFPageObj_Transform(textObject.get(), 1, 0, 0, 1, X, Y);
    FPDFPage_InsertObject(Page(), textObject.release());
    UpdatePage();
}

void TPdf::SetText(int ObjectIndex, const QString& Text) {
    CheckPageEditable();
    Check(ObjectType(ObjectIndex) == otText, QStringLiteral("Text object required"));
    CheckEngineLaysOut(Text);
    // A standard font would write another character in place of one it does not draw.
    if (const QString font = StandardFontOf(ObjectHandle(ObjectIndex)); !font.isEmpty())
        CheckFontDraws(font, Text);
    Check(FPDFText_SetText(ObjectHandle(ObjectIndex), EngineText(Text)) != 0,
          QStringLiteral("Cannot set text"));
    UpdatePage();
}

} // namespace PDFium
