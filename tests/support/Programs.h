// Running the command-line tools that tests read printed output with.
#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>

// Runs a program to its end and returns its standard output.
QString RunProgram(const QString& Program, const QStringList& Arguments);

// A field of pdfinfo's report on a document, such as "Pages", "Title" or "Page size".
QString PdfInfoField(const QString& Path, const QString& Field);

// The field of that full name in the document's interactive form as qpdf's JSON shows it: its "value" ("u:"
// before a text, "/" before a name) and its widget's appearance state; empty where no field has the name.
QJsonObject QpdfField(const QString& Path, const QString& FullName);
