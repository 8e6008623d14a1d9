// Small PDF documents written by hand for tests: a few pages of chosen sizes with optional text and a title,
// with a correct cross-reference table, so that tests need no shared documents.
#pragma once

#include <QByteArray>
#include <QList>
#include <QSizeF>
#include <QString>

struct FixturePage {
    QSizeF Size{612, 792};
    QString Text;     // drawn in Helvetica 24 near the top left, when not empty
    int Rotation = 0; // the page's /Rotate
};

struct FixtureDocument {
    QList<FixturePage> Pages{FixturePage{}};
    QString Title;           // the information dictionary's /Title, when not empty
    QString Version = "1.7"; // the header's version
};

// The document as PDF bytes.
QByteArray MakePdf(const FixtureDocument& document);

// Writes the document into Folder under Name and returns the path.
QString WritePdf(const QString& folder, const QString& name, const FixtureDocument& document);
