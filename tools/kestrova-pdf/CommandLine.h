// The command line of kestrova-pdf: which command runs on which document with which words. Every command is
// one entry of the table of commands, from which the parser, the dispatch and the usage text all come.
#pragma once

#include "AnnotationEdits.h"
#include "ArgumentWords.h"
#include "PageEdits.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <functional>

struct ToolInvocation;

// One command. Arguments name its positional words in order, each read into the invocation by its name:
// FILE, PAGE, TEXT, DPI, OUT.png, DIR. A command that saves takes FILE OUT and the save options, then the
// words that Records names in the usage and ReadRecords reads. Help explains the command in the usage, one
// line after the other; Details follow it as they stand.
struct ToolCommand {
    QString Name;
    QStringList Arguments;
    QStringList Flags;
    QString Records;
    std::function<void(const QStringList& Words, ToolInvocation& Invocation)> ReadRecords;
    QStringList Help;
    QStringList Details;
    std::function<QJsonObject(PDFium::TPdf& Pdf, const ToolInvocation& Invocation)> Run;
};

// Every command of the tool, in the order of the usage.
const QList<ToolCommand>& ToolCommands();

struct ToolInvocation {
    const ToolCommand* Command = nullptr;
    QString File;
    QString Password;
    int PageNumber = 0;
    QStringList Flags; // the command's flags that were given
    QString Text;      // find: the text to search for
    double Dpi = 0;    // render
    QString Output;    // render: the PNG to write
    QString Folder;    // images: where the PNG files go
    EditRequest Edit;  // edit, annotate and fill: where and how to save; edit: the placements
    QList<AnnotationEdit> AnnotationEdits; // annotate
    PDFium::TFormValues FormValues;        // fill
};

// Arguments without the program name; raises UsageError.
ToolInvocation ParseCommandLine(const QStringList& Arguments);

QString UsageText();
