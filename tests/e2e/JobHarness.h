// What the print-job tests share: links, a table file, the print system's job count, the printed documents'
// properties and pages, and the comparison of a printed page with its source page.
#pragma once

#include "support/PrintedSheets.h"
#include "support/Programs.h"

#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

struct TableRow {
    QString ModuleAddress;
    QString ModuleName;
    QString PrinterName;
};

// A link as a web page opens it, its two parameters encoded.
QString JobLink(const QString& ModuleAddress, const QString& PdfUrl);

// Writes cds.xml into Folder as the dataset engine writes it.
void WriteTable(const QString& Folder, const QList<TableRow>& Rows);

// How many jobs the print system has taken so far to print, finished or not: cancelled and aborted ones are
// not counted.
int PrintedJobCount();

// The files in Folder, without . and ..
QStringList FilesIn(const QString& Folder);
