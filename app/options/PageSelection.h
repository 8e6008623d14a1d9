// The pages a job prints: every page of the document, or those of its page ranges that it has.
#pragma once

#include <QList>

#include <utility>

// The page numbers to print, in order. Raises EPrinter when the ranges name no page of a document that has
// pages.
QList<int> PagesToPrint(const QList<std::pair<int, int>>& PageRanges, int PageCount);

// How many sides each copy of Pages sends: the pages, and the blank back that ends an odd count on two sides.
qsizetype SidesPerCopy(const QList<int>& Pages, bool BlankBack);
// The page on the Index-th side of a copy (from 0), 0 for the blank back. A printer that stacks its sheets
// face up takes each copy last side first (Reverse), the blank back leading, as lp sends it there, so that
// the stack reads from the first page.
int SideOfCopy(const QList<int>& Pages, bool BlankBack, bool Reverse, qsizetype Index);
