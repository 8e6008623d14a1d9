// What one rendering worker does: it opens the document with the PDF component and renders its share of the
// pages the job sends, every Count-th from the Worker-th on, each placed and coloured as the program's own
// page loop renders it and encoded as the PWG raster page of its place in the job, a blank back as a blank
// page; each page goes into the worker's pipe as soon as it is encoded, so that a worker holds one page at a
// time. An error ends the worker with its message as the last record.
#pragma once

#include <QString>

struct TFilterJob;

// Returns the worker's exit code: 0 once its share is written, 1 after an error.
int RenderShare(const QString& PdfPath, const TFilterJob& Job, int Worker, int Count, int Pipe);
