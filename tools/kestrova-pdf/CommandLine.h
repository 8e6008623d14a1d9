// The command line of kestrova-pdf: which inspection or edit to run on which document, and its usage text.
#pragma once

#include "AnnotationEdits.h"
#include "ArgumentWords.h"
#include "PageEdits.h"
#include "pdf/PdfSearchOptions.h"

#include <QString>
#include <QStringList>

enum class ToolCommand {
    Info,
    Text,
    Find,
    Links,
    Outline,
    Render,
    Objects,
    Images,
    Edit,
    Annots,
    Fields,
    Annotate,
    Fill
};

struct ToolInvocation {
    ToolCommand Command = ToolCommand::Info;
    QString File;
    QString Password;
    int PageNumber = 0;
    QString Text;                   // find: the text to search for
    PDFium::TSearchOptions Options; // find
    bool Backward = false;          // find: from the end of the page towards its start
    double Dpi = 0;                 // render
    QString Output;                 // render: the PNG to write
    QString Folder;                 // images: where the PNG files go
    EditRequest Edit;               // edit, annotate and fill: where and how to save; edit: the placements
    QList<AnnotationEdit> AnnotationEdits; // annotate
    PDFium::TFormValues FormValues;        // fill
};

// Arguments without the program name.
ToolInvocation ParseCommandLine(const QStringList& Arguments);

QString UsageText();
