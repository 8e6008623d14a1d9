// What the print-job tests share: links, a table file, the print system's job count, the printed documents'
// properties and pages, and the job run in the real main form with its message boxes recorded.
#pragma once

#include "support/HttpServer.h"
#include "support/PrintedSheets.h"
#include "support/Programs.h"

#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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

// A print job in the real main form on the offscreen platform, the form's folder a temporary one, against a
// scripted web server on 127.0.0.1 and the private print system. Every message box is recorded as a person
// would see it.
class FormJob : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs the job of Link until the form has closed; false when it did not close in time.
    bool RunJob(const QString& link);
    // The document that Printer printed for the job, or an empty path.
    QString Printed(const QString& printer);
    bool NothingPrinted() const { return PrintedJobCount() == JobsBefore; }
    QStringList Downloads() const { return FilesIn(Folder.filePath("DownFile")); }

    QTemporaryDir Folder;
    HttpServer Server;
    QStringList Boxes;
    int JobsBefore = 0;
};
