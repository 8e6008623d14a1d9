#include "app/download/DownloadProgress.h"

#include <QProgressBar>

#include <algorithm>
#include <limits>

void ShowDownloadProgress(QProgressBar& Bar, qint64 Received, qint64 Total) {
    if (Total <= 0) {
        Bar.setRange(0, 0);
        return;
    }
    constexpr qint64 largest = std::numeric_limits<int>::max();
    const qint64 divisor = Total / (largest + 1) + 1;
    Bar.setRange(0, int(Total / divisor));
    Bar.setValue(int(std::clamp<qint64>(Received, 0, Total) / divisor));
}
