// The translations of annotation subtypes, annotation flags and form-field flags to and from the engine's
// codes.
#include "pdf/PdfAnnotationTypes.h"

#include <array>

namespace PDFium {

namespace {

// The engine's bit of each field flag, in the order of TPdfFormFieldFlag.
constexpr std::array<int, 6> FormFieldFlagBits{0, 1, 2, 12, 17, 18};

} // namespace

TPdfAnnotationSubtype DecodeAnnotationSubtype(int EngineSubtype) {
    return EngineSubtype >= anUnknown && EngineSubtype <= anRedact
               ? static_cast<TPdfAnnotationSubtype>(EngineSubtype)
               : anUnknown;
}

int EncodeAnnotationSubtype(TPdfAnnotationSubtype Value) {
    return static_cast<int>(Value);
}

TPdfAnnotationFlags DecodeAnnotationFlags(int EngineFlags) {
    TPdfAnnotationFlags flags;
    for (int bit = afInvisible; bit <= afToggleNoView; ++bit)
        if (EngineFlags & (1 << bit))
            flags.Include(static_cast<TPdfAnnotationFlag>(bit));
    return flags;
}

int EncodeAnnotationFlags(TPdfAnnotationFlags Value) {
    return static_cast<int>(Value.Mask());
}

TPdfFormFieldFlags DecodeFormFieldFlags(int EngineFlags) {
    TPdfFormFieldFlags flags;
    for (size_t flag = 0; flag < FormFieldFlagBits.size(); ++flag)
        if (EngineFlags & (1 << FormFieldFlagBits[flag]))
            flags.Include(static_cast<TPdfFormFieldFlag>(flag));
    return flags;
}

} // namespace PDFium
