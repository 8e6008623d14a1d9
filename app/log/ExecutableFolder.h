// The folder of the running executable, where the program keeps its table, its downloads and its log. Tests
// point it at a temporary folder so that nothing is written beside the test binary.
#pragma once

#include <QString>

namespace ExecutableFolder {

// The folder in the platform's form, ending in its separator.
QString Path();

// Makes Path() return this folder (a separator is appended when missing); an empty folder restores the
// executable's own.
void SetPath(const QString& folder);

} // namespace ExecutableFolder
