// A stand-in engine for the binding's failure paths: it exports every entry point name as a function that
// only writes its own name to the file named by KESTROVA_STUB_LOG. Each variant hides some names through its
// version script, as an engine build that lacks them would.
#include "pdf/binding/EntryPoints.h"

#include <cstdio>
#include <cstdlib>

namespace {
void Log(const char* name) {
    if (const char* path = std::getenv("KESTROVA_STUB_LOG")) {
        if (FILE* file = std::fopen(path, "a")) {
            std::fprintf(file, "%s\n", name);
            std::fclose(file);
        }
    }
}
} // namespace

#define STUB_ENTRY(name)                                                                                     \
    extern "C" __attribute__((visibility("default"))) void name() {                                          \
        Log(#name);                                                                                          \
    }
PDFIUM_ALL_ENTRY_POINTS(STUB_ENTRY)
