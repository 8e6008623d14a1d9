// Helpers of the PDF component's tests: which EPdfError an action raised, fixture pages by their size, and
// blank pages and plain pictures to edit.
#pragma once

#include "pdf/Pdf.h"
#include "support/PdfFixtures.h"
#include "tests/pdf/ErrorOf.h"

// A fixture page by its size, turn and text, without spelling out the page's other members.
inline FixturePage SizedPage(QSizeF size, int rotation = 0, const QString& text = {}) {
    FixturePage page;
    page.Size = size;
    page.Rotation = rotation;
    page.Text = text;
    return page;
}

// A new document with one empty page of Size, current in Pdf.
inline void OpenBlankPage(PDFium::TPdf& pdf, QSizeF size = {612, 792}) {
    pdf.CreateDocument();
    pdf.AddPage(1, size.width(), size.height());
}

// A picture of one colour.
inline QImage SolidPicture(int width, int height, QColor color) {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(color);
    return picture;
}

// The message of the page guard on a component without a loaded page.
inline const QString InactivePage = QStringLiteral("Cannot perform this operation on an inactive page");
