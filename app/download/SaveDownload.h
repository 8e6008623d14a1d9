// Stores a downloaded document in the download folder under a name that no other job holds.
//
// Several jobs share the folder. When the name is taken, the document goes under the first free variant
// "name (2).ext", "name (3).ext", ..., created exclusively, so two jobs never write or delete each other's
// file. The caller gets the path actually written.
#pragma once

#include <QByteArray>
#include <QString>

// Folder: the download folder, ending in the platform's separator; created when missing. Returns the full
// path of the new file. Raises EDownloadError "Cannot create file \"path\". reason" when no file can be
// created, and "Cannot write file \"path\". reason" when writing fails; a file that could not be written
// whole is removed again.
QString SaveDownload(const QString& Folder, const QString& FileName, const QByteArray& Data);
