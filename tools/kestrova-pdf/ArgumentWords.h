// The words that several of kestrova-pdf's commands read alike; each reader raises UsageError for a word it
// cannot take.
#pragma once

#include "pdf/PdfTypes.h"

#include <QString>
#include <QStringList>
#include <stdexcept>
#include <string>

// Raised for arguments that do not form a valid command line.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A page number, from 1.
int PageArgument(const QString& Text);
double Number(const QString& Word, const char* What);
// A finite number above 0, as a size must be.
double PositiveNumber(const QString& Word, const char* What);
// RRGGBB.
PDFium::TColor ColorValue(const QString& Text);
// Count words from Position on, which moves past them.
QStringList Take(const QStringList& Words, qsizetype& Position, qsizetype Count, const QString& Keyword);

// The records that a command's words hold, each beginning with one of Keywords and read by Read, which moves
// the position past it. Raises UsageError for a word that begins no record, saying which were Expected, and
// for words holding no record at all, with the message None.
template <typename Record, typename Read>
QList<Record> ReadRecords(const QStringList& Words, const QStringList& Keywords, Read ReadOne,
                          const char* Expected, const char* None) {
    QList<Record> records;
    qsizetype position = 0;
    while (position < Words.size()) {
        if (!Keywords.contains(Words[position]))
            throw UsageError(std::string("expected ") + Expected + ", not " + Words[position].toStdString());
        records.append(ReadOne(Words, position));
    }
    if (records.isEmpty())
        throw UsageError(None);
    return records;
}
