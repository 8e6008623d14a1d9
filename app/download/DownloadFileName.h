// The name a downloaded document is saved under in the download folder, and the numbered names that a job
// takes when another job holds that one.
//
// The name is the address's last segment as ExtractUrlFileName gives it, where that is a usable file name.
// Where it carries the address's query or fragment (".../get?id=7", a signed address with a long query), the
// name is the last segment of the address without them. Characters the file system refuses are replaced by
// "_", and a name longer than MaxFileNameBytes in the file system's encoding is cut, inside its base name
// where it has an extension, so that the name and the lock file beside it (the name with ".lock") fit the
// file system's limit of 255.
#pragma once

#include <QString>

inline constexpr int MaxFileNameBytes = 250;

QString DownloadFileName(const QString& Address);

// "name (Number).ext", or "name (Number)" without an extension, cut to fit as above.
QString NumberedFileName(const QString& FileName, int Number);
