// Points the binding at another engine library for one test and back at the real engine afterwards.
#pragma once

#include "pdf/binding/Binding.h"

class ScopedLibraryName {
public:
    explicit ScopedLibraryName(const QString& name) : FSaved(PDFium::LibraryName) {
        PDFium::UnloadLibrary();
        PDFium::LibraryName = name;
    }
    ~ScopedLibraryName() {
        PDFium::UnloadLibrary();
        PDFium::LibraryName = FSaved;
    }
    ScopedLibraryName(const ScopedLibraryName&) = delete;
    ScopedLibraryName& operator=(const ScopedLibraryName&) = delete;

private:
    QString FSaved;
};
