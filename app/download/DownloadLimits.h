// How long a download may take and how large its document may be, and the words that name a limit in the
// message of a download that met it.
#pragma once

#include <QString>
#include <QtGlobal>

#include <chrono>

// Each request fails when it makes no progress for Idle; the download as a whole, both requests and every
// redirection, fails when it has not ended after Total, however steadily a server trickles its bytes. Ten
// minutes bring a document of tens of megabytes over a slow line; a person waiting at the printer has given
// up long before, and a job that never ends holds its window and its file. The document may not be larger
// than MaxBytes, counted as it is saved (after decoding a compressed answer): a gibibyte holds thousands of
// pages, and a server that sends more, or a small answer that decodes to gigabytes, only fills the disk.
struct TDownloadLimits {
    std::chrono::milliseconds Idle = std::chrono::seconds(60);
    std::chrono::milliseconds Total = std::chrono::minutes(10);
    qint64 MaxBytes = qint64(1) << 30;
};

// "10 minutes", "1 second", "1.5 seconds": whole minutes in minutes, anything else in seconds.
QString DurationText(std::chrono::milliseconds Duration);

// "512 bytes", "1 GiB", "1.5 MiB": below a kibibyte in bytes, else in the largest binary unit that leaves at
// least 1, to a tenth.
QString SizeText(qint64 Bytes);
