// The platform's dynamic-library loader, worded for the binding: each failure comes with the system's text,
// trimmed of trailing blanks, control characters and full stops.
#pragma once

#include <QString>

namespace PDFium::LibraryLoader {

void* Open(const QString& Name, QString& ErrorText);
void* Symbol(void* Library, const char* Name, QString& ErrorText);
void Close(void* Library);

// Whether the engine's calls reach its own symbols before those of libraries loaded earlier: it carries a
// FreeType of its own, which must not be replaced by the system's that Qt's GUI library has loaded.
bool OwnSymbolsFirst();

// Removes trailing blanks, control characters and full stops.
QString TrimSystemText(QString Text);

} // namespace PDFium::LibraryLoader
