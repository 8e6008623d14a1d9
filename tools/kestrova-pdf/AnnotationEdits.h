// The annotate and fill commands of kestrova-pdf: annotations added, changed and deleted page by page, or
// form fields filled by name through the form-fill environment, and the document saved to a new file.
#pragma once

#include "PageEdits.h"
#include "pdf/annotations/FormFilling.h"

#include <optional>

enum class AnnotationEditKind { Add, Set, Delete };

// One change to the annotations of a page. Add starts from a record with the print flag, a red colour and,
// for text markup, attachment points on the rectangle's corners; Set starts from the annotation's record.
struct AnnotationEdit {
    AnnotationEditKind Kind = AnnotationEditKind::Add;
    int PageNumber = 1;
    int Index = 0;                                             // set and delete
    PDFium::TPdfAnnotationSubtype Subtype = PDFium::anUnknown; // add
    std::optional<PDFium::TPdfRectangle> Rectangle;
    std::optional<PDFium::TColor> Color;
    std::optional<quint8> Alpha;
    std::optional<PDFium::TColor> InteriorColor;
    std::optional<quint8> InteriorAlpha;
    std::optional<QString> Contents;
    std::optional<QString> Author;
    std::optional<PDFium::TPdfAnnotationFlags> Flags;
    std::optional<PDFium::TQuadrilateralPoint> Points;
};

// The annotate command's edits after FILE, OUT and the save options; raises UsageError.
QList<AnnotationEdit> ParseAnnotationEdits(const QStringList& Words);
QJsonObject ApplyAnnotationEdits(PDFium::TPdf& Pdf, const QList<AnnotationEdit>& Edits,
                                 const EditRequest& Save);

// The fill command's NAME=VALUE words; raises UsageError.
PDFium::TFormValues ParseFormValues(const QStringList& Words);
// Fills the form and saves it; nothing is written when a field refuses its value.
QJsonObject FillForm(PDFium::TPdf& Pdf, const PDFium::TFormValues& Values, const EditRequest& Save);
