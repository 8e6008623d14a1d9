// The records that the PDF component hands out for a page's links and the document's navigation data: link
// annotations with their actions and quadrilaterals, web links found in the text, named destinations and
// outline entries. Handles inside them belong to the engine and live as long as their page or document.
#pragma once

#include "pdf/PdfTypes.h"
#include "pdf/engine/FPdfView.h"

#include <QList>
#include <QString>
#include <array>

namespace PDFium {

using TPdfRectangles = QList<TPdfRectangle>;

// The corners (x1, y1) to (x4, y4) of an engine quadrilateral, widened to double.
using TQuadrilateralPoint = std::array<TPdfPoint, 4>;

// The engine's action type codes 0 to 5. A code outside them is kept unchanged in the enumeration's storage.
enum TPdfAction { acUnsupported, acGoto, acGotoRemote, acUri, acLaunch, acEmbeddedGoto };

struct TLinkAnnotation {
    FPDF_LINK Handle = nullptr;
    TPdfRectangle Rectangle;
    int PageNumber = 0;
    TPdfAction Action = acUnsupported;
    int ActionPageNumber = 0;
    QString ActionPath;
    QList<TQuadrilateralPoint> Points;
};
using TLinkAnnotations = QList<TLinkAnnotation>;

struct TWebLink {
    QString Url;
    TPdfRectangles Rectangles;
};
using TWebLinks = QList<TWebLink>;

struct TDestination {
    FPDF_DEST Handle = nullptr;
    QString Name;
    int PageNumber = 0;
    bool HasX = false;
    float X = 0;
    bool HasY = false;
    float Y = 0;
    bool HasZoom = false;
    float Zoom = 0;
};

struct TBookmark {
    FPDF_BOOKMARK Handle = nullptr;
    QString Title;
    int PageNumber = 0;
    TPdfAction Action = acUnsupported;
    int ActionPageNumber = 0;
};
using TBookmarks = QList<TBookmark>;

} // namespace PDFium
