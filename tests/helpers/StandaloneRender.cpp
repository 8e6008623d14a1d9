// standalone_render: draws one page with the engine in a process that loads no Qt and no other library with
// FreeType in it, so that the engine runs on its own FreeType whatever the loader's binding order, as the
// reference the component's rendering is compared with. The page goes on white, without render flags, as a
// binary PPM.
//
// Usage: standalone_render ENGINE FILE PAGE WIDTH HEIGHT OUT.ppm
#include "pdf/engine/FPdfEdit.h"
#include "pdf/engine/FPdfView.h"

#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>

using namespace PDFium;

namespace {

template <typename Function> bool Resolve(void* library, const char* name, Function& variable) {
    variable = reinterpret_cast<Function>(dlsym(library, name));
    if (!variable)
        std::fprintf(stderr, "standalone_render: the engine lacks %s\n", name);
    return variable != nullptr;
}

bool ResolveAll(void* library) {
    return Resolve(library, "FPDF_InitLibrary", FPDF_InitLibrary) &&
           Resolve(library, "FPDF_LoadDocument", FPDF_LoadDocument) &&
           Resolve(library, "FPDF_LoadPage", FPDF_LoadPage) &&
           Resolve(library, "FPDFPage_HasTransparency", FPDFPage_HasTransparency) &&
           Resolve(library, "FPDFBitmap_Create", FPDFBitmap_Create) &&
           Resolve(library, "FPDFBitmap_FillRect", FPDFBitmap_FillRect) &&
           Resolve(library, "FPDF_RenderPageBitmap", FPDF_RenderPageBitmap) &&
           Resolve(library, "FPDFBitmap_GetBuffer", FPDFBitmap_GetBuffer) &&
           Resolve(library, "FPDFBitmap_GetStride", FPDFBitmap_GetStride);
}

// The bitmap's blue, green, red, alpha bytes as the PPM's red, green, blue.
bool WritePpm(const char* path, FPDF_BITMAP bitmap, int width, int height) {
    std::FILE* out = std::fopen(path, "wb");
    if (!out)
        return false;
    std::fprintf(out, "P6\n%d %d\n255\n", width, height);
    const auto* rows = static_cast<const unsigned char*>(FPDFBitmap_GetBuffer(bitmap));
    for (int y = 0; y < height; ++y) {
        const unsigned char* pixel = rows + static_cast<std::ptrdiff_t>(y) * FPDFBitmap_GetStride(bitmap);
        for (int x = 0; x < width; ++x, pixel += 4) {
            const unsigned char rgb[3] = {pixel[2], pixel[1], pixel[0]};
            std::fwrite(rgb, 1, 3, out);
        }
    }
    return std::fclose(out) == 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 7) {
        std::fprintf(stderr, "Usage: standalone_render ENGINE FILE PAGE WIDTH HEIGHT OUT.ppm\n");
        return 2;
    }
    void* library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        std::fprintf(stderr, "standalone_render: %s\n", dlerror());
        return 1;
    }
    if (!ResolveAll(library))
        return 1;
    const int pageNumber = std::atoi(argv[3]);
    const int width = std::atoi(argv[4]);
    const int height = std::atoi(argv[5]);
    FPDF_InitLibrary();
    FPDF_DOCUMENT document = FPDF_LoadDocument(argv[2], "");
    FPDF_PAGE page = document ? FPDF_LoadPage(document, pageNumber - 1) : nullptr;
    if (!page) {
        std::fprintf(stderr, "standalone_render: cannot open page %d of %s\n", pageNumber, argv[2]);
        return 1;
    }
    FPDF_BITMAP bitmap = FPDFBitmap_Create(width, height, FPDFPage_HasTransparency(page) ? 1 : 0);
    if (!bitmap)
        return 1;
    FPDFBitmap_FillRect(bitmap, 0, 0, width, height, 0xFFFFFFFF);
    FPDF_RenderPageBitmap(bitmap, page, 0, 0, width, height, 0, 0);
    // The process ends here; the engine's objects go with it.
    return WritePpm(argv[6], bitmap, width, height) ? 0 : 1;
}
