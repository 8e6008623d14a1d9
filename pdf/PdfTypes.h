// The value types of the PDF component's interface: points and rectangles in page space, rotations, render
// options, colours, and the enumerations that translate the engine's codes.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <initializer_list>

class QObject;

namespace PDFium {

// A point in page space: points of 1/72 inch, origin at the page's lower-left corner.
struct TPdfPoint {
    double X = 0;
    double Y = 0;
    bool operator==(const TPdfPoint&) const = default;
};

// A rectangle in page space as the engine reports it, never reordered.
struct TPdfRectangle {
    double Left = 0;
    double Top = 0;
    double Right = 0;
    double Bottom = 0;
    bool operator==(const TPdfRectangle&) const = default;
};

// Quarter turns; the ordinal is the engine's rotation value.
enum TRotation { ro0, ro90, ro180, ro270 };

// A set of enumeration values held as a bit mask, bit n for the value with ordinal n.
template <typename Enum> class TSet {
public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<Enum> values) {
        for (Enum value : values)
            FMask |= Bit(value);
    }
    constexpr bool Contains(Enum value) const { return (FMask & Bit(value)) != 0; }
    constexpr void Include(Enum value) { FMask |= Bit(value); }
    constexpr std::uint32_t Mask() const { return FMask; }
    constexpr bool operator==(const TSet&) const = default;

private:
    static constexpr std::uint32_t Bit(Enum value) { return std::uint32_t{1} << static_cast<int>(value); }
    std::uint32_t FMask = 0;
};

enum TRenderOption {
    reAnnotations,
    reLcd,
    reNoNativeText,
    reGrayscale,
    reDebugInfo,
    reNoCatchException,
    reLimitCache,
    reHalftone,
    rePrinting,
    reReverseByteOrder,
    reNoSmoothText,
    reNoSmoothImage,
    reNoSmoothPath
};
using TRenderOptions = TSet<TRenderOption>;

// All thirteen options, as the print job renders.
inline constexpr TRenderOptions AllRenderOptions{
    reAnnotations,      reLcd,           reNoNativeText, reGrayscale, reDebugInfo,
    reNoCatchException, reLimitCache,    reHalftone,     rePrinting,  reReverseByteOrder,
    reNoSmoothText,     reNoSmoothImage, reNoSmoothPath};

// Red in the low byte, then green, then blue. A top byte of 0xFF names a system colour by its index.
using TColor = std::uint32_t;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clBlack = 0x000000;
// No colour: a page rendered into a bitmap with it is drawn over the bitmap's pixels as they are, and a
// bitmap that the rendering makes anew starts white.
inline constexpr TColor clNone = 0x1FFFFFFF;

enum TPdfVersion { pvUnknown, pv10, pv11, pv12, pv13, pv14, pv15, pv16, pv17 };

enum TPageMode {
    pmNone,
    pmOutline,
    pmThumbs,
    pmFullScreen,
    pmOptionalContentGroup,
    pmAttachments,
    pmUnknown
};

enum TPrintPaperHandling { phUndefined, phSimplex, phDuplexFlipShortEdge, phDuplexFlipLongEdge };

enum TPdfFormType { ftUnknown, ftNone, ftAcroForm, ftXfaFull, ftXfaForeground };

enum TPdfFeature {
    feUnknown,
    feXfaForm,
    fePortableCollection,
    feAttachment,
    feSecurity,
    feSharedReview,
    feSharedFormAcrobat,
    feSharedFormFilesystem,
    feSharedFormEmail,
    fe3dAnnotation,
    feMovieAnnotation,
    feSoundAnnotation,
    feScreenMediaAnnotation,
    feScreenRichMediaAnnotation,
    feAttachmentAnnotation,
    feSignatureAnnotation
};

class TPdf;

using TNotifyEvent = std::function<void(QObject* Sender)>;
using TPdfUnsupportedFeatureEvent = std::function<void(QObject* Sender, TPdfFeature Feature)>;
using TPdfFormFieldEnterEvent = std::function<void(QObject* Sender, const QString& Text)>;

// Translations of the engine's codes.
TPdfVersion DecodePdfVersion(int FileVersion);
TPageMode DecodePageMode(int EngineMode);
TPdfFormType DecodeFormType(int EngineType);
TPdfFeature DecodeFeature(int EngineCode);

} // namespace PDFium
