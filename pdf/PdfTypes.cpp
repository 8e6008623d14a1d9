#include "pdf/PdfTypes.h"

namespace PDFium {

TPdfVersion DecodePdfVersion(int FileVersion) {
    return FileVersion >= 10 && FileVersion <= 17 ? static_cast<TPdfVersion>(FileVersion - 10 + pv10)
                                                  : pvUnknown;
}

TPageMode DecodePageMode(int EngineMode) {
    return EngineMode >= 0 && EngineMode <= 5 ? static_cast<TPageMode>(EngineMode) : pmUnknown;
}

TPdfFormType DecodeFormType(int EngineType) {
    return EngineType >= 0 && EngineType <= 3 ? static_cast<TPdfFormType>(EngineType + ftNone) : ftUnknown;
}

TPdfFeature DecodeFeature(int EngineCode) {
    if (EngineCode >= 1 && EngineCode <= 8)
        return static_cast<TPdfFeature>(EngineCode);
    if (EngineCode >= 11 && EngineCode <= 17)
        return static_cast<TPdfFeature>(EngineCode - 11 + fe3dAnnotation);
    return feUnknown;
}

} // namespace PDFium
