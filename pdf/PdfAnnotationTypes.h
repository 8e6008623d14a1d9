// The value types of the component's annotation and form-field interface: the one flat annotation record with
// its subtypes and flags, the form-field flags, and their translations into and out of the engine's codes.
#pragma once

#include "pdf/PdfLinkTypes.h"
#include "pdf/PdfTypes.h"

#include <QString>

namespace PDFium {

// The ordinal is the engine's subtype code.
enum TPdfAnnotationSubtype {
    anUnknown,
    anText,
    anLink,
    anFreeText,
    anLine,
    anSquare,
    anCircle,
    anPolygon,
    anPolyLine,
    anHighlight,
    anUnderline,
    anSquiggly,
    anStrikeout,
    anStamp,
    anCaret,
    anInk,
    anPopup,
    anFileAttachment,
    anSound,
    anMovie,
    anWidget,
    anScreen,
    anPrinterMark,
    anTrapNet,
    anWaterMark,
    anThreed,
    anRichMedia,
    anXfaWidget,
    anRedact
};

// The ordinal is the bit number in the engine's annotation flag word.
enum TPdfAnnotationFlag {
    afInvisible,
    afHidden,
    afPrint,
    afNoZoom,
    afNoRotate,
    afNoView,
    afReadOnly,
    afLocked,
    afToggleNoView
};
using TPdfAnnotationFlags = TSet<TPdfAnnotationFlag>;

// The common properties of every annotation kind. A Has flag says whether the values after it mean anything.
struct TPdfAnnotation {
    TPdfAnnotationSubtype Subtype = anUnknown;
    TPdfAnnotationFlags Flags;
    bool HasColor = false;
    TColor Color = 0;
    quint8 ColorAlpha = 0;
    bool HasInteriorColor = false;
    TColor InteriorColor = 0;
    quint8 InteriorColorAlpha = 0;
    bool HasAttachmentPoints = false;
    TQuadrilateralPoint AttachmentPoints{};
    TPdfRectangle Rectangle;
    QString ContentsText;
    QString AuthorText;
};

enum TPdfFormFieldFlag { ffReadOnly, ffRequired, ffNoExport, ffMultiline, ffChoiceCombo, ffChoiceEdit };
using TPdfFormFieldFlags = TSet<TPdfFormFieldFlag>;

// The dictionary keys of the annotation's texts.
inline constexpr const char* FPDFANNOT_TEXTTYPE_Contents = "Contents";
inline constexpr const char* FPDFANNOT_TEXTTYPE_Author = "T";

// Codes 0 to 28 decode to their subtype, every other code to anUnknown.
TPdfAnnotationSubtype DecodeAnnotationSubtype(int EngineSubtype);
int EncodeAnnotationSubtype(TPdfAnnotationSubtype Value);
// Bits 9 and above of the engine's word have no flag and are dropped.
TPdfAnnotationFlags DecodeAnnotationFlags(int EngineFlags);
int EncodeAnnotationFlags(TPdfAnnotationFlags Value);
// The six field flags the component knows; every other bit is dropped.
TPdfFormFieldFlags DecodeFormFieldFlags(int EngineFlags);

} // namespace PDFium
