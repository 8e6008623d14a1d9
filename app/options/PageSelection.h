// The pages a job prints: every page of the document, or those of its page ranges that it has.
#pragma once

#include <QList>

#include <utility>

// The page numbers to print, in order. Raises EPrinter when the ranges name no page of a document that has
// pages.
QList<int> PagesToPrint(const QList<std::pair<int, int>>& PageRanges, int PageCount);
