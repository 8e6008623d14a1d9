// The fonts of new text objects: one of the engine's standard fonts, which draw the characters of the Windows
// Latin-1 code page (Symbol and ZapfDingbats their own symbols), or a TrueType or OpenType font file, which
// the document embeds.
#pragma once

#include "pdf/binding/EngineHandles.h"

#include <QString>

namespace PDFium {

// The first character of Text that the standard font Font does not draw, or a null character where it draws
// them all. Control characters draw nothing in any font and count as drawn.
QChar FirstUncoveredCharacter(const QString& Font, const QString& Text);

// Raises EPdfError "The font F does not draw the character ..." for the first character of Text that the
// standard font Font does not draw.
void CheckFontDraws(const QString& Font, const QString& Text);

// Raises EPdfError for the first character of Text that the engine cannot place as a reader would read it,
// whatever the font: one beyond the Basic Multilingual Plane, which it draws as nothing, and one written
// right to left, which it lays out left to right.
void CheckEngineLaysOut(const QString& Text);

// The name of the standard font that Text, a text object, is set in; empty for an embedded font or one that
// is not among the fourteen standard fonts, whose characters cannot be told here.
QString StandardFontOf(FPDF_PAGEOBJECT Text);

// A new text object of FontSize in Font: a standard font by its name, or a font file by its path. Raises
// EPdfError where the engine cannot lay Text out, where the font cannot be had, and where a standard font
// does not draw a character of Text.
OwnedPageObject NewTextObject(FPDF_DOCUMENT Document, const QString& Font, const QString& Text,
                              float FontSize);

} // namespace PDFium
