// The component's values and records as JSON, each key named after the component's property or field.
// Enumeration values appear under their names (ro90, acUri); an action code without a name as its number.
#pragma once

#include "pdf/PdfAnnotationTypes.h"
#include "pdf/PdfEditTypes.h"
#include "pdf/PdfLinkTypes.h"
#include "pdf/annotations/FormFieldList.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>

QJsonObject ToJson(const PDFium::TPdfPoint& Point);
QJsonObject ToJson(const PDFium::TPdfRectangle& Rectangle);
QJsonValue ToJson(PDFium::TPdfAction Action);
QJsonObject ToJson(const PDFium::TLinkAnnotation& Link);
QJsonObject ToJson(const PDFium::TWebLink& Link);
QJsonObject ToJson(const PDFium::TDestination& Destination);
// The outline entry's fields alone; its children are the caller's to add.
QJsonObject ToJson(const PDFium::TBookmark& Bookmark);
// Colours as RRGGBB, flags as the names of the flags in the set.
QJsonObject ToJson(const PDFium::TPdfAnnotation& Annotation);
QJsonObject ToJson(const PDFium::TPdfFormFieldEntry& Field);
QString ColorText(PDFium::TColor Color);

QString EnumName(PDFium::TRotation Value);
QString EnumName(PDFium::TPdfVersion Value);
QString EnumName(PDFium::TPageMode Value);
QString EnumName(PDFium::TPrintPaperHandling Value);
QString EnumName(PDFium::TPdfFormType Value);
QString EnumName(PDFium::TObjectType Value);
QString EnumName(PDFium::TSaveOption Value);
QString EnumName(PDFium::TPdfAnnotationSubtype Value);
QString EnumName(PDFium::TPdfAnnotationFlag Value);
QString EnumName(PDFium::TPdfFormFieldFlag Value);
QString EnumName(PDFium::TPdfFormFieldKind Value);
