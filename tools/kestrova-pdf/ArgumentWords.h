// The words that several of kestrova-pdf's commands read alike; each reader raises UsageError for a word it
// cannot take.
#pragma once

#include "pdf/PdfTypes.h"

#include <QString>
#include <QStringList>
#include <stdexcept>

// Raised for arguments that do not form a valid command line.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A page number, from 1.
int PageArgument(const QString& Text);
double Number(const QString& Word, const char* What);
// RRGGBB.
PDFium::TColor ColorValue(const QString& Text);
// Count words from Position on, which moves past them.
QStringList Take(const QStringList& Words, qsizetype& Position, qsizetype Count, const QString& Keyword);
