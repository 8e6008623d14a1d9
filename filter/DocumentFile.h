// The PDF the filter renders: the file the print system names, or, without one, standard input copied into a
// file in TMPDIR (the print system's own temporary folder). That copy is removed from its folder at once and
// read through the descriptor that keeps it (its /proc/self/fd path), so that nothing of it is left behind,
// however the filter ends.
#pragma once

#include <QString>

class TDocumentFile {
public:
    // Name: the file the print system names; null for standard input. Raises EPrinter when standard input
    // cannot be copied.
    explicit TDocumentFile(const char* Name);
    ~TDocumentFile();
    TDocumentFile(const TDocumentFile&) = delete;
    TDocumentFile& operator=(const TDocumentFile&) = delete;

    // The path the document is read from, in this process and in those it forks.
    const QString& Path() const { return FPath; }

private:
    int FCopy = -1;
    QString FPath;
};
