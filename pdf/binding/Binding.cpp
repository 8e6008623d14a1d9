#include "pdf/binding/Binding.h"

#include "pdf/PdfError.h"
#include "pdf/binding/EngineFallbacks.h"
#include "pdf/binding/EntryPoints.h"
#include "pdf/binding/LibraryLoader.h"

#include <array>
#include <string_view>

namespace PDFium {

namespace {

void* PDFiumLibrary = nullptr;

// FPDF_LoadXFA is optional by design. FPDF_RenderPage is published on Windows only; the image and matrix
// ones were withdrawn from the public interface or never part of it. The form-field name, type, value and
// export value are younger than some engine builds: without them the field listing reads what the widget's
// own annotation chain holds.
constexpr std::array<std::string_view, 15> OptionalEntryPoints{"FPDF_LoadXFA",
                                                               "FPDFText_GetCharcode",
                                                               "FPDFImageObj_GetMatrix",
                                                               "FPDFPath_GetMatrix",
                                                               "FPDFPath_SetMatrix",
                                                               "FPDFText_GetTextRenderMode",
                                                               "FPDFTextObj_GetFontName",
                                                               "FPDFFormObj_GetMatrix",
                                                               "FPDFPageObj_GetImage",
                                                               "FPDFPageObj_GetDIB",
                                                               "FPDF_RenderPage",
                                                               "FPDFAnnot_GetFormFieldName",
                                                               "FPDFAnnot_GetFormFieldType",
                                                               "FPDFAnnot_GetFormFieldValue",
                                                               "FPDFAnnot_GetFormFieldExportValue"};

bool IsOptional(std::string_view name) {
    for (std::string_view optional : OptionalEntryPoints)
        if (optional == name)
            return true;
    return false;
}

[[noreturn]] void RaiseLookupFailure(const QString& systemText, const QString& name) {
    UnloadLibrary();
    throw EPdfError(systemText + QStringLiteral(": ") + name);
}

template <typename Function> void Resolve(const char* name, Function& variable) {
    QString systemText;
    void* address = LibraryLoader::Symbol(PDFiumLibrary, name, systemText);
    if (!address && !IsOptional(name))
        RaiseLookupFailure(systemText, QString::fromLatin1(name));
    variable = reinterpret_cast<Function>(address);
}

void CheckLoadLibrary(const QString& Name) {
    QString systemText;
    PDFiumLibrary = LibraryLoader::Open(Name, systemText);
    Check(PDFiumLibrary != nullptr, systemText + QStringLiteral(": ") + Name);
}

// Where the engine lacks an entry point that the component calls, our own implementation on its published
// functions takes its place.
void UseFallbacksForMissing() {
    if (!FPDF_RenderPage)
        FPDF_RenderPage = &EngineFallbacks::RenderPage;
    if (!FPDFPageObj_GetImage)
        FPDFPageObj_GetImage = &EngineFallbacks::GetImage;
    if (!FPDFPageObj_GetDIB)
        FPDFPageObj_GetDIB = &EngineFallbacks::GetDIB;
}

} // namespace

void LoadLibrary() {
    if (Loaded())
        return;
    CheckLoadLibrary(LibraryName);
    // A lookup that fails unloads the library again, with FPDF_DestroyLibrary only if it was resolved
    // before: so it starts out empty.
    FPDF_DestroyLibrary = nullptr;
#define PDFIUM_RESOLVE(name) Resolve(#name, name);
    PDFIUM_ALL_ENTRY_POINTS(PDFIUM_RESOLVE)
#undef PDFIUM_RESOLVE
    UseFallbacksForMissing();
    FPDF_InitLibrary();
}

void UnloadLibrary() {
    if (!Loaded())
        return;
    EngineFallbacks::ReleasePending();
    if (FPDF_DestroyLibrary)
        FPDF_DestroyLibrary();
    LibraryLoader::Close(PDFiumLibrary);
    PDFiumLibrary = nullptr;
}

bool Loaded() {
    return PDFiumLibrary != nullptr;
}

QStringList EntryPointNames() {
    QStringList names;
#define PDFIUM_NAME(name) names.append(QStringLiteral(#name));
    PDFIUM_ALL_ENTRY_POINTS(PDFIUM_NAME)
#undef PDFIUM_NAME
    return names;
}

bool IsOptionalEntryPoint(const QString& Name) {
    return IsOptional(Name.toStdString());
}

} // namespace PDFium
