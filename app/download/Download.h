// Fetches the job's PDF over HTTP or HTTPS and saves it in the download folder.
//
// One network client serves a HEAD and then a GET request of the address. The HEAD's answer is not examined,
// except that cookies it sets go with the GET. Redirections are followed, at most 5 in a row; a request
// that makes no progress for 60 seconds fails; the program adds no header of its own. Only a final status of
// exactly 200 saves the body; any other status is no error and saves nothing. The body is held in memory
// until it is complete, so a failed transfer leaves no file behind.
//
// The download runs the message loop while it waits, so windows repaint. No exception crosses the loop: an
// error of the progress handler aborts the transfer and is raised again once the request has ended.
#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>

// Called when the GET's answer has begun (received 0) and after every block of its body; Total is the
// announced length, -1 when unknown.
using TDownloadProgress = std::function<void(qint64 Received, qint64 Total)>;

// The program's download folder: "DownFile" beside the executable, ending in the separator.
QString DownloadFolder();

// Downloads Address into Folder (ending in the separator) under ExtractUrlFileName(Address), or a free
// variant of that name (see SaveDownload). Returns the full path of the saved file, or an empty string when
// the server did not answer 200. Raises EDownloadError:
//   "Invalid URL: \"address\"" for an address without http or https and a host (an empty one too);
//   "Error sending data: (n) text" when the transport fails (see TransportError.h);
//   "Maximum number of redirections (5) exceeded";
//   "Cannot create file \"path\". reason" when the file cannot be created.
QString DownPDF(const QString& Address, const QString& Folder, const TDownloadProgress& OnProgress = {});
