// Helpers of the PDF component's tests: which EPdfError an action raised, and fixture pages by their size.
#pragma once

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
