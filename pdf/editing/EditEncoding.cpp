// The translations of the editing and saving values into the engine's codes, and the reading of pictures.
#include "pdf/PdfEditTypes.h"

#include "pdf/PdfError.h"

#include <QImageReader>
#include <array>

namespace PDFium {

namespace {

// The engine's blend mode names in the order of TPdfBlendMode; bmDefault sends none.
constexpr std::array<const char*, 17> BlendModes{
    "",          "Color",     "ColorBurn",  "ColorDodge", "Darken",     "Difference",
    "Exclusion", "HardLight", "Hue",        "Lighten",    "Luminosity", "Multiply",
    "Normal",    "Overlay",   "Saturation", "Screen",     "SoftLight"};

QImage ReadPicture(QImageReader& reader) {
    QImage image = reader.read();
    Check(!image.isNull(), QStringLiteral("Cannot read picture: ") + reader.errorString());
    return image;
}

} // namespace

TPicture::TPicture(const QString& FileName) {
    QImageReader reader(FileName);
    FImage = ReadPicture(reader);
}

TPicture::TPicture(QIODevice& Device) {
    QImageReader reader(&Device);
    FImage = ReadPicture(reader);
}

TObjectType DecodeObjectType(int EngineType) {
    return EngineType >= otUnknown && EngineType <= otForm ? static_cast<TObjectType>(EngineType) : otUnknown;
}

int EncodeFillMode(TPdfFillMode Value) {
    return static_cast<int>(Value);
}

int EncodeLineCap(TPdfLineCap Value) {
    return static_cast<int>(Value) - lcButt;
}

int EncodeLineJoin(TPdfLineJoin Value) {
    return static_cast<int>(Value) - ljMiter;
}

QByteArray EncodeBlendMode(TPdfBlendMode Value) {
    return QByteArray(BlendModes[static_cast<size_t>(Value)]);
}

unsigned long EncodeSaveOption(TSaveOption Value) {
    return static_cast<unsigned long>(Value);
}

int EncodePdfVersion(TPdfVersion Value) {
    return Value == pvUnknown ? 0 : 10 + (Value - pv10);
}

} // namespace PDFium
