// The value types of the component's editing and saving interface: page-object kinds, image records, the
// drawing settings of paths, pictures to place, and save options, with their translations into the engine's
// codes.
#pragma once

#include "pdf/PdfTypes.h"

#include <QByteArray>
#include <QImage>
#include <QTransform>

class QIODevice;

namespace PDFium {

enum TObjectType { otUnknown, otText, otPath, otImage, otShading, otForm };

// An image object's size as the engine reports it and the bytes the engine delivers for it.
struct TPdfImage {
    int Width = 0;
    int Height = 0;
    QByteArray Data;
};

// A page made a sheet of SheetWidth by SheetHeight points, unrotated, with the page's content drawn through
// Matrix (from the page's space to the sheet's, as PDF's a b c d e f) and clipped to Clip, in the sheet's
// space.
struct TSheetPlacement {
    QTransform Matrix;
    TPdfRectangle Clip;
    double SheetWidth = 0;
    double SheetHeight = 0;
};

enum TPdfFillMode { fmNone, fmAlternate, fmWinding };
enum TPdfLineCap { lcDefault, lcButt, lcRound, lcProjectingSquare };
enum TPdfLineJoin { ljDefault, ljMiter, ljRound, ljBevel };
enum TPdfBlendMode {
    bmDefault,
    bmColor,
    bmColorBurn,
    bmColorDodge,
    bmDarken,
    bmDifference,
    bmExclusion,
    bmHardLight,
    bmHue,
    bmLighten,
    bmLuminosity,
    bmMultiply,
    bmNormal,
    bmOverlay,
    bmSaturation,
    bmScreen,
    bmSoftLight
};

// The fill, stroke and blending settings of a new path.
struct TPathStyle {
    TPdfFillMode FillMode = fmNone;
    TColor FillColor = clBlack;
    quint8 FillAlpha = 255;
    bool Stroke = false;
    TColor StrokeColor = clBlack;
    quint8 StrokeAlpha = 255;
    float StrokeWidth = 1;
    TPdfLineCap LineCap = lcDefault;
    TPdfLineJoin LineJoin = ljDefault;
    TPdfBlendMode BlendMode = bmDefault;
};

enum TSaveOption { saNone, saIncremental, saNoIncremental, saRemoveSecurity };

// A picture to place on a page: an image, or a file or device that Qt's image readers decode into one.
// A file or device that cannot be read raises EPdfError "Cannot read picture" with the reader's reason.
class TPicture {
public:
    TPicture(const QImage& Image) : FImage(Image) {}
    TPicture(const QString& FileName);
    TPicture(QIODevice& Device);

    const QImage& Image() const { return FImage; }
    int Width() const { return FImage.width(); }
    int Height() const { return FImage.height(); }

private:
    QImage FImage;
};

// Translations into and out of the engine's codes.
TObjectType DecodeObjectType(int EngineType);
int EncodeFillMode(TPdfFillMode Value);
int EncodeLineCap(TPdfLineCap Value);
int EncodeLineJoin(TPdfLineJoin Value);
// The engine's name of a blend mode; empty for bmDefault.
QByteArray EncodeBlendMode(TPdfBlendMode Value);
unsigned long EncodeSaveOption(TSaveOption Value);
// Ten times the version, 0 for pvUnknown.
int EncodePdfVersion(TPdfVersion Value);

} // namespace PDFium
