// The process-wide binding to the engine library: loads it on first use, resolves every entry point by name
// into the variables that the engine interface units declare, and initialises the engine.
#pragma once

#include <QString>
#include <QStringList>

namespace PDFium {

// The library handed to the platform loader unchanged, so the platform's search order applies.
#ifdef _WIN32
inline QString LibraryName = QStringLiteral("pdfium.dll");
#else
inline QString LibraryName = QStringLiteral("libpdfium.so");
#endif

// Loads and initialises the engine unless it is loaded already; raises EPdfError on failure.
void LoadLibrary();
// Shuts the engine down and unloads it, when it is loaded.
void UnloadLibrary();
bool Loaded();

// Every entry point in lookup order.
QStringList EntryPointNames();
// The entry points an engine build may lack without failing the load.
bool IsOptionalEntryPoint(const QString& Name);

} // namespace PDFium
