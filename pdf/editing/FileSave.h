// A save into a named file, by the rule of SaveTarget.h: open for writing from construction until Commit.
// Every save of the component and of its tools goes through one, so that none of them replaces what is not
// a regular file, and none leaves half a file where a whole one stood.
#pragma once

#include <QFile>
#include <QSaveFile>
#include <QString>

namespace PDFium {

class TFileSave {
public:
    // Raises EPdfError "Cannot create file \"name\". reason" where the name is refused or nothing can be
    // written there.
    explicit TFileSave(const QString& FileName);
    TFileSave(const TFileSave&) = delete;
    TFileSave& operator=(const TFileSave&) = delete;

    // Where the bytes go, unbuffered, so that every write that fails says so at once.
    QIODevice& Device();
    // Puts the bytes in the name's place, or ends writing through it. Raises EPdfError "Cannot write file
    // \"name\". reason". Without it, a replacement is dropped and what stood under the name stays.
    void Commit();
    // "Cannot write file \"name\". reason" for the failed write that Device reports.
    QString WriteError() const;

private:
    QString Message(const char* What, const QString& Reason) const;

    QString FFileName;
    bool FInPlace = false;
    QSaveFile FReplacement;
    QFile FInPlaceFile;
};

} // namespace PDFium
