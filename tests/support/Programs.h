// Running the command-line tools that tests read printed output with.
#pragma once

#include <QString>
#include <QStringList>

// Runs a program to its end and returns its standard output.
QString RunProgram(const QString& Program, const QStringList& Arguments);

// A field of pdfinfo's report on a document, such as "Pages", "Title" or "Page size".
QString PdfInfoField(const QString& Path, const QString& Field);
