// What came out of a printer, as gray images to compare: PDF pages as poppler renders them, PWG raster pages
// as the printer received them, PostScript as Ghostscript prints it.
#pragma once

#include <QImage>
#include <QList>
#include <QSize>
#include <QString>

// Page PageNumber of a PDF as poppler renders it in gray: at Dpi, or scaled to exactly Size when given.
QImage PopplerPage(const QString& Path, int PageNumber, int Dpi, QSize Size = {});

// Every sheet of a printed document in 8-bit gray: a ".pwg" file's pages as they are, at their own
// resolution, a ".ps" file's as Ghostscript prints them at Dpi (each copy that the document asks the
// printer for), a PDF's pages rendered by poppler at Dpi.
QList<QImage> PrintedSheets(const QString& Path, int Dpi);

// The mean absolute difference of two gray images of the same size, in levels of 0 to 255; 255 when their
// sizes differ.
double MeanDifference(const QImage& A, const QImage& B);

// The smallest rectangle holding every pixel of a gray image darker than mid-gray.
QRect DarkArea(const QImage& Image);

// The mean gray level of Area of Image.
double MeanLevel(const QImage& Image, const QRect& Area);
