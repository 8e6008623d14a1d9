// Small PDF documents written by hand for tests: a few pages of chosen sizes with optional text, link
// annotations, annotations written out in full, named destinations and a title, with a correct
// cross-reference table, so that tests need no shared documents.
#pragma once

#include <QByteArray>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <optional>
#include <utility>

// A link annotation of a page.
struct FixtureLink {
    QRectF Area{72, 72, 144, 36};  // the /Rect in page space
    int TargetPage = 0;            // a /Dest to this page (from 1), when not 0
    std::optional<QByteArray> Uri; // the raw bytes of a /URI action
    QList<double> QuadPoints;      // the /QuadPoints, eight numbers a quadrilateral
};

// A named destination of the catalog's /Dests, or of its name tree.
struct FixtureDestination {
    QByteArray Name;
    int Page = 1;
    QByteArray View = "/Fit"; // the rest of the destination array, e.g. "/XYZ null 700 null"
};

struct FixturePage {
    QSizeF Size{612, 792};
    QString Text{};   // drawn in Helvetica 24 near the top left, when not empty
    int Rotation = 0; // the page's /Rotate
    QList<FixtureLink> Links{};
    QList<QByteArray> Annotations{}; // further annotation dictionaries, as they stand, after the links
    QPointF Origin{};                // the media box's lower-left corner
    QByteArray Content{};            // content stream operators as they stand, after the text
};

struct FixtureDocument {
    QList<FixturePage> Pages{FixturePage{}};
    QString Title{};         // the information dictionary's /Title, when not empty
    QString Version = "1.7"; // the header's version
    QList<FixtureDestination> Destinations{};
    // Named destinations of the name tree under /Names /Dests, in the tree's order; each Name is the raw
    // bytes of its string key (PDFDocEncoding, or UTF-16BE after FE FF).
    QList<FixtureDestination> NameTreeDestinations{};
    // Codes of the text's font drawn by other glyphs (its encoding's /Differences), such as 'A' by /u1F600,
    // a character outside the Basic Multilingual Plane.
    QList<std::pair<char, QByteArray>> FontGlyphs{};
    // An outline of one entry a level, titled "Level 1" and on, this many levels deep.
    int OutlineDepth = 0;
    QByteArray Catalog{}; // further entries of the catalog as they stand, such as an /AcroForm
    // Further indirect objects as they stand, such as an appearance stream. "@object0", "@object1", ... in
    // the pages' annotations and in these objects stand for references to them.
    QList<QByteArray> Objects{};
};

// The document as PDF bytes.
QByteArray MakePdf(const FixtureDocument& document);

// Writes the document into Folder under Name and returns the path.
QString WritePdf(const QString& folder, const QString& name, const FixtureDocument& document);
