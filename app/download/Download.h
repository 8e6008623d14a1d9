// Fetches the job's PDF over HTTP or HTTPS and saves it in the download folder.
//
// One network client serves a HEAD and then a GET request of the address. The HEAD's answer is not examined,
// except that cookies it sets go with the GET. Redirections are followed, at most 5 in a row, and only to
// http or https addresses, never from https down to http. A request that makes no progress for 60 seconds
// fails, and so does a download that has not ended after 10 minutes or whose document grows beyond 1 GiB (see
// TDownloadLimits). The only header the program adds is Accept-Encoding: gzip, deflate, which it decodes
// itself as the body arrives (see TContentDecoder). Only a final status of exactly 200 saves the body; any
// other status is no error and saves nothing. Before the first byte is written, a document whose announced
// length exceeds the size limit or the free space of the download folder is refused. The body is written to
// its file as it arrives, so memory stays flat however large it is; a transfer that fails removes the file
// again.
//
// The download runs the message loop while it waits, so windows repaint. No exception crosses the loop: an
// error of the progress handler aborts the transfer and is raised again once the request has ended. When
// the loop ends before the transfer (the window was closed and the program is closing), the transfer is
// aborted and the download fails.
#pragma once

#include "app/download/DownloadFile.h"
#include "app/download/DownloadLimits.h"

#include <QString>
#include <QUrl>
#include <QtGlobal>

#include <functional>
#include <memory>

// Whether an address may be fetched.
using TSourceFilter = std::function<bool(const QUrl&)>;

// Called when the GET's answer has begun (received 0) and after every block of its body as it comes over the
// network (before decoding); Total is the announced length, -1 when unknown.
using TDownloadProgress = std::function<void(qint64 Received, qint64 Total)>;

// The program's download folder: "DownFile" in its data folder, ending in the separator.
QString DownloadFolder();

// Downloads Address into Folder (ending in the separator) under DownloadFileName(Address), or a free
// variant of that name (see TDownloadFile). Returns the saved document, which the job holds until it ends,
// or nothing when the server did not answer 200. An address may hold spaces and | { } ^ " < > `, which are
// sent percent-encoded, as a browser sends them. Raises EDownloadError:
//   "Invalid URL: \"address\"" for an address without http or https and a host (an empty one too);
//   "Error sending data: (n) text" when the transport fails (see TransportError.h);
//   "The download was cut short: n of m bytes arrived" when the connection ends inside the body ("... the
//   connection closed after n bytes" without an announced length);
//   "Maximum number of redirections (5) exceeded";
//   "The download was stopped: nothing arrived for 1 minute" (Limits.Idle);
//   "The download was stopped: it took longer than 10 minutes" (Limits.Total);
//   "The download was stopped: the document is larger than 1 GiB" (Limits.MaxBytes), counted on the decoded
//   bytes, or refused at once on the announced length;
//   "The download was stopped: the document's 3 GiB do not fit into the 1.2 GiB free in \"folder\"";
//   the refusal of an encoding that was not asked for, or of encoded data that does not decode (see
//   TContentDecoder);
//   "The PDF's address is not among the allowed sources: address", before any request, when Allowed is
//   given and refuses the address;
//   the refusal of a redirection (RedirectRefusal), and "The download was redirected outside the allowed
//   sources: target" when Allowed refuses its target; a refused target is never requested;
//   "The download was cancelled: the program is closing";
//   "Cannot create file \"path\". reason" and "Cannot write file \"path\". reason" (see TDownloadFile).
std::unique_ptr<TDownloadFile> DownPDF(const QString& Address, const QString& Folder,
                                       const TDownloadProgress& OnProgress = {},
                                       const TSourceFilter& Allowed = {}, const TDownloadLimits& Limits = {});

// Why a redirection from From to To is not followed, naming the refused address's scheme; empty when it is
// followed (http or https, and not from https to http).
QString RedirectRefusal(const QUrl& From, const QUrl& To);
