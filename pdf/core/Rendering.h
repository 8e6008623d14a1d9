// Rendering a page into pixels: the engine bitmap is created, filled, drawn and copied into a QImage that
// keeps the engine's byte layout. Shared by the component's bitmap rendering and by the object bitmaps.
#pragma once

#include "pdf/PdfTypes.h"
#include "pdf/engine/FPdfFormFill.h"

#include <QImage>

namespace PDFium {

// The highlight that every form-fill environment starts with: all field types, this colour, this alpha.
inline constexpr FPDF_DWORD FormHighlightColor = 0xFFE4DD;
inline constexpr unsigned char FormHighlightAlpha = 100;

// The engine's rendering flags for a set of options.
int EncodeRenderOptions(TRenderOptions Options);

// The engine's AARRGGBB colour for Color, a system colour resolved first, with Alpha.
FPDF_DWORD ColorToARGB(TColor Color, quint8 Alpha);

// Copies an engine bitmap into Result, keeping its bytes: gray to Grayscale8, BGR to BGR888, BGRA to ARGB32,
// BGRx and any other format to RGB32. An unknown format leaves Result as it was.
void ToBitmap(FPDF_BITMAP Bitmap, QImage& Result);

// Renders Page, with its form fields when FormHandle is given, into ResultBitmap, or into a new image when
// ResultBitmap is null, and returns the image: 32-bit; or 8-bit gray when ResultBitmap is an 8-bit gray image
// and the options render in grayscale; or RGB888 when it is an RGB888 image and the options render in colour
// in reversed byte order. The image is filled with Color before the page is drawn, except with clNone into
// an image of the right size and format, whose pixels the page is drawn over.
QImage RenderPage(FPDF_FORMHANDLE FormHandle, QImage* ResultBitmap, FPDF_PAGE Page, int Left, int Top,
                  int Width, int Height, TRotation Rotation, TRenderOptions Options, TColor Color);

// As RenderPage, the part Area of the page drawn at PageSize pixels from its top-left corner, into an image
// of Area's size: a tile of a page too large for one bitmap.
QImage RenderPageArea(FPDF_FORMHANDLE FormHandle, QImage* ResultBitmap, FPDF_PAGE Page, const QRect& Area,
                      QSize PageSize, TRotation Rotation, TRenderOptions Options, TColor Color);

} // namespace PDFium
