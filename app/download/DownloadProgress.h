// Shows a download's progress in a progress bar.
//
// A total that is unknown (-1) or 0 puts the bar in its busy state (range 0..0) until the body is complete.
// A known total up to the largest int is shown as bytes, so the bar's maximum is the document's length.
// Larger totals (2 GiB and more) are divided down in 64-bit arithmetic until they fit, so the bar still
// shows the right share.
#pragma once

#include <QtGlobal>

class QProgressBar;

void ShowDownloadProgress(QProgressBar& Bar, qint64 Received, qint64 Total);
