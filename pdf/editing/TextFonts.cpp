#include "pdf/editing/TextFonts.h"

#include "pdf/PdfError.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <algorithm>
#include <array>

namespace PDFium {

namespace {

// The characters of the Windows Latin-1 code page from 0x80 to 0x9F.
constexpr std::array<char16_t, 27> WindowsLatin1Extras{0x20AC, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                       0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x017D, 0x2018,
                                                       0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC,
                                                       0x2122, 0x0161, 0x203A, 0x0153, 0x017E, 0x0178};

bool InWindowsLatin1(QChar character) {
    const char16_t code = character.unicode();
    return code < 0x7F || (code >= 0xA0 && code <= 0xFF) ||
           std::find(WindowsLatin1Extras.begin(), WindowsLatin1Extras.end(), code) !=
               WindowsLatin1Extras.end();
}

bool HasOwnSymbols(const QString& font) {
    return font == QLatin1String("Symbol") || font == QLatin1String("ZapfDingbats");
}

OwnedPageObject FromFontFile(FPDF_DOCUMENT document, const QString& path, float fontSize) {
    QFile file(path);
    Check(file.open(QIODevice::ReadOnly),
          QStringLiteral("Cannot read font %1: %2").arg(path, file.errorString()));
    const QByteArray data = file.readAll();
    // Loaded with character identifiers, so that every character of the font can be written.
    FPDF_FONT font = FPDFText_LoadFont(document, reinterpret_cast<const std::uint8_t*>(data.constData()),
                                       std::uint32_t(data.size()), FPDF_FONT_TRUETYPE, 1);
    Check(font != nullptr, QStringLiteral("Cannot load font ") + path);
    OwnedPageObject object(FPDFPageObj_CreateTextObj(document, font, fontSize));
    // The text object keeps what it needs of the font.
    FPDFFont_Close(font);
    return object;
}

// "X" (U+0058).
QString CharacterName(char32_t code) {
    return QStringLiteral("\"%1\" (U+%2)")
        .arg(QString::fromUcs4(&code, 1),
             QStringLiteral("%1").arg(uint(code), 4, 16, QLatin1Char('0')).toUpper());
}

} // namespace

QChar FirstUncoveredCharacter(const QString& Font, const QString& Text) {
    if (HasOwnSymbols(Font))
        return {};
    for (const QChar character : Text)
        if (!character.isNull() && character.category() != QChar::Other_Control &&
            !InWindowsLatin1(character))
            return character;
    return {};
}

void CheckFontDraws(const QString& Font, const QString& Text) {
    const QChar uncovered = FirstUncoveredCharacter(Font, Text);
    Check(uncovered.isNull(), QStringLiteral("The font %1 does not draw the character %2")
                                  .arg(Font, CharacterName(uncovered.unicode())));
}

void CheckEngineLaysOut(const QString& Text) {
    for (const char32_t code : Text.toUcs4()) {
        Check(!QChar::requiresSurrogates(code),
              QStringLiteral("Cannot draw the character %1: the engine draws no character beyond the Basic "
                             "Multilingual Plane")
                  .arg(CharacterName(code)));
        static const QList<QChar::Direction> rightToLeft{QChar::DirR, QChar::DirAL, QChar::DirRLE,
                                                         QChar::DirRLO, QChar::DirRLI};
        Check(!rightToLeft.contains(QChar::direction(code)),
              QStringLiteral("Cannot place the right-to-left character %1: text is laid out left to right, "
                             "and would read reversed")
                  .arg(CharacterName(code)));
    }
}

QString StandardFontOf(FPDF_PAGEOBJECT Text) {
    static const QStringList standard{
        "Courier",     "Courier-Bold",   "Courier-BoldOblique",   "Courier-Oblique",
        "Helvetica",   "Helvetica-Bold", "Helvetica-BoldOblique", "Helvetica-Oblique",
        "Times-Roman", "Times-Bold",     "Times-Italic",          "Times-BoldItalic",
        "Symbol",      "ZapfDingbats"};
    FPDF_FONT font = FPDFTextObj_GetFont(Text);
    if (!font || FPDFFont_GetIsEmbedded(font) != 0)
        return {};
    QByteArray name(qsizetype(FPDFFont_GetBaseFontName(font, nullptr, 0)), '\0');
    if (name.isEmpty() ||
        FPDFFont_GetBaseFontName(font, name.data(), size_t(name.size())) != size_t(name.size()))
        return {};
    const QString baseName = QString::fromLatin1(name.constData());
    return standard.contains(baseName) ? baseName : QString();
}

OwnedPageObject NewTextObject(FPDF_DOCUMENT Document, const QString& Font, const QString& Text,
                              float FontSize) {
    CheckEngineLaysOut(Text);
    const bool isFile = QFileInfo(Font).isFile();
    OwnedPageObject object =
        isFile ? FromFontFile(Document, Font, FontSize)
               : OwnedPageObject(FPDFPageObj_NewTextObj(Document, Font.toLocal8Bit().constData(), FontSize));
    Check(object != nullptr, QStringLiteral("Cannot create text object"));
    if (!isFile)
        CheckFontDraws(Font, Text);
    return object;
}

} // namespace PDFium
