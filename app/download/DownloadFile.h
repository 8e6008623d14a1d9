// A downloaded document in the download folder, held by its job from the first byte until the job ends.
//
// Several jobs share the folder. A job holds its name through a lock file beside the document (the name with
// ".lock"), which the system lets go when the job's process ends, however it ends. When the name is held by a
// running job, the document goes under the first free numbered name "name (2).ext", "name (3).ext", ... A
// document found under a name that no running job holds was left by a job that was killed: it is removed and
// its name taken, and so is every document whose lock no running job holds, whenever a job creates its own.
// Documents are created exclusively, so two jobs never write or delete each other's file. A job ended by
// SIGTERM or SIGINT deletes its document on its way out (Termination.h).
#pragma once

#include "app/job/Termination.h"

#include <QFile>
#include <QLockFile>
#include <QString>

#include <memory>

class TDownloadFile {
public:
    // Creates the document FileName, or a numbered variant of it, in Folder (the download folder, ending in
    // the platform's separator; created when missing). Raises EDownloadError "Cannot create file \"path\".
    // reason" when no file can be created.
    TDownloadFile(const QString& Folder, const QString& FileName);
    // Deletes the document (a failed deletion is ignored: the file then stays) and lets its name go.
    ~TDownloadFile();
    TDownloadFile(const TDownloadFile&) = delete;
    TDownloadFile& operator=(const TDownloadFile&) = delete;

    // The full path of the document.
    QString Path() const { return FFile.fileName(); }

    // Appends Data to the document. Raises EDownloadError "Cannot write file \"path\". reason".
    void Write(const QByteArray& Data);
    // Ends writing; the document is then complete on disk. Raises as Write.
    void Close();

private:
    std::unique_ptr<QLockFile> FLock;
    QFile FFile;
    std::unique_ptr<TTerminationCleanup> FCleanup;
};
