// TPdf's text page of the current page (see TPageState) and the per-character queries, text extraction and
// rectangles on it.
#include "pdf/Pdf.h"

#include "pdf/binding/ArithmeticMask.h"
#include "pdf/engine/FPdfText.h"
#include "pdf/text/PageState.h"
#include "pdf/text/PdfTextRoutines.h"

#include <algorithm>
#include <limits>

namespace PDFium {

QString GetText(FPDF_TEXTPAGE TextPage, int StartIndex, int Count) {
    const int characters = FPDFText_CountChars(TextPage);
    // The engine refuses a negative start; refused here before a buffer of Count units is allocated.
    if (StartIndex < 0)
        return {};
    // Summed wide, so that a count up to the largest integer cannot overflow.
    if (qint64(StartIndex) + Count > characters)
        Count = characters - StartIndex;
    if (Count <= 0)
        return {};
    // A QString always keeps room for its terminator, which the engine writes after the Count units.
    QString text(Count, Qt::Uninitialized);
    const int written =
        FPDFText_GetText(TextPage, StartIndex, Count, reinterpret_cast<unsigned short*>(text.data()));
    if (written != Count + 1)
        text.truncate(std::max(written - 1, 0));
    return text;
}

FPDF_TEXTPAGE OpenTextPage(FPDF_PAGE Page) {
    FPDF_TEXTPAGE textPage = nullptr;
    {
        ArithmeticMaskGuard mask;
        textPage = FPDFText_LoadPage(Page);
    }
    Check(textPage != nullptr, QStringLiteral("Cannot open text page"));
    return textPage;
}

FPDF_TEXTPAGE TPdf::TextPage() const {
    return FPageState->TextPage();
}

FPDF_TEXTPAGE TPdf::LoadTextPage() {
    CheckActive();
    return FPageState->LoadTextPage();
}

int TPdf::CharacterCount() {
    return FPDFText_CountChars(LoadTextPage());
}

QChar TPdf::Character(int Index) {
    return QChar(static_cast<char16_t>(FPDFText_GetUnicode(LoadTextPage(), Index)));
}

QChar TPdf::Charcode(int Index) {
    const FPDF_TEXTPAGE textPage = LoadTextPage();
    Check(FPDFText_GetCharcode != nullptr,
          QStringLiteral(
              "Cannot retrieve character code: FPDFText_GetCharcode is not available in this engine"));
    return QChar(static_cast<char16_t>(FPDFText_GetCharcode(textPage, Index)));
}

double TPdf::FontSize(int Index) {
    return FPDFText_GetFontSize(LoadTextPage(), Index);
}

TPdfPoint TPdf::CharacterOrigin(int Index) {
    // Where the engine has no origin for the index, the point stays zero.
    double x = 0;
    double y = 0;
    if (!FPDFText_GetCharOrigin(LoadTextPage(), Index, &x, &y))
        return {};
    return {x, y};
}

TPdfRectangle TPdf::CharacterRectangle(int Index) {
    TPdfRectangle result;
    Check(FPDFText_GetCharBox(LoadTextPage(), Index, &result.Left, &result.Right, &result.Bottom,
                              &result.Top) != 0,
          QStringLiteral("Cannot retrieve character rectangle"));
    return result;
}

int TPdf::CharacterIndexAtPos(double X, double Y, double ToleranceX, double ToleranceY) {
    return FPDFText_GetCharIndexAtPos(LoadTextPage(), X, Y, ToleranceX, ToleranceY);
}

QString TPdf::Text(int StartIndex, int Count) {
    return GetText(LoadTextPage(), StartIndex, Count);
}

int TPdf::RectangleCount(int StartIndex, int Count) {
    return FPDFText_CountRects(LoadTextPage(), StartIndex, Count);
}

TPdfRectangle TPdf::Rectangle(int Index) {
    TPdfRectangle result;
    Check(FPDFText_GetRect(LoadTextPage(), Index, &result.Left, &result.Top, &result.Right, &result.Bottom) !=
              0,
          QStringLiteral("Cannot retrieve rectangle"));
    return result;
}

QString TPdf::TextInRectangle(double Left, double Top, double Right, double Bottom) {
    const FPDF_TEXTPAGE textPage = LoadTextPage();
    // The engine's first answer counts characters, but it writes UTF-16, in which a character outside the
    // Basic Multilingual Plane takes two units: room for two units a character, cut to what was written,
    // less the terminator that the engine counts where it had room for one.
    const int characters = FPDFText_GetBoundedText(textPage, Left, Top, Right, Bottom, nullptr, 0);
    if (characters <= 0)
        return {};
    const int capacity = int(std::min<qint64>(2 * qint64(characters), std::numeric_limits<int>::max()));
    QString text(capacity, Qt::Uninitialized);
    const int written = FPDFText_GetBoundedText(textPage, Left, Top, Right, Bottom,
                                                reinterpret_cast<unsigned short*>(text.data()), capacity);
    text.truncate(std::max(written, 0));
    if (text.endsWith(QChar(0)))
        text.chop(1);
    return text;
}

QString TPdf::TextInRectangle(const TPdfRectangle& Rectangle) {
    return TextInRectangle(Rectangle.Left, Rectangle.Top, Rectangle.Right, Rectangle.Bottom);
}

} // namespace PDFium
