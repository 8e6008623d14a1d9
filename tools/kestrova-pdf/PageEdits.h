// The edit command of kestrova-pdf: text, images and paths placed on pages of a document in one run, and the
// document saved to a file, which may be the one it was read from.
#pragma once

#include "pdf/Pdf.h"

#include <QJsonObject>
#include <QList>
#include <QPointF>
#include <QSizeF>
#include <QStringList>
#include <optional>

enum class PlacementKind { Text, Image, Rectangle, Polyline };

// One thing to place on a page, in points from the lower-left corner of the visible page (its crop box).
struct Placement {
    PlacementKind Kind = PlacementKind::Text;
    int PageNumber = 1;
    QList<QPointF> Points;                // text and image: the position; rectangle: its lower-left corner;
                                          // polyline: its vertices
    QSizeF Size;                          // rectangle; image (a side not given: see the usage)
    QString Text;                         // text
    QString File;                         // image: a PNG, JPEG or any picture Qt reads
    QString Font = "Helvetica";           // text: a standard font's name or a font file's path
    float FontSize = 12;                  // text
    PDFium::TColor Color = 0;             // text
    quint8 Alpha = 255;                   // text, fill and stroke
    std::optional<PDFium::TColor> Fill;   // rectangle and polyline
    std::optional<PDFium::TColor> Stroke; // rectangle and polyline; black when neither is given
    float LineWidth = 1;                  // rectangle and polyline
    bool Close = false;                   // polyline
};

struct EditRequest {
    QString Output;
    PDFium::TSaveOption Option = PDFium::saNoIncremental;
    PDFium::TPdfVersion Version = PDFium::pvUnknown;
    QList<Placement> Placements;
};

// The placements and save options among the edit command's words after FILE and OUT; raises UsageError.
// Option words (--incremental, --full, --version V) are the caller's to take out first.
QList<Placement> ParsePlacements(const QStringList& Words);

// The file version for "1.0" to "1.7"; raises UsageError for anything else.
PDFium::TPdfVersion ParsePdfVersion(const QString& Text);

// Places everything on the open document and saves it.
QJsonObject ApplyEdits(PDFium::TPdf& Pdf, const EditRequest& Request);

// Saves the document as the request says (its placements aside) and reports where and how.
QJsonObject SaveEdited(PDFium::TPdf& Pdf, const EditRequest& Request);
