#include "app/download/DownloadLimits.h"

#include <cmath>

QString DurationText(std::chrono::milliseconds Duration) {
    const qint64 milliseconds = Duration.count();
    const bool minutes = milliseconds > 0 && milliseconds % 60000 == 0;
    const double count = minutes ? milliseconds / 60000.0 : milliseconds / 1000.0;
    return QStringLiteral("%1 %2%3").arg(QString::number(count),
                                         minutes ? QStringLiteral("minute") : QStringLiteral("second"),
                                         count == 1 ? QString() : QStringLiteral("s"));
}

QString SizeText(qint64 Bytes) {
    if (Bytes < 1024)
        return QStringLiteral("%1 byte%2").arg(Bytes).arg(Bytes == 1 ? "" : "s");
    static const char* const units[] = {"KiB", "MiB", "GiB", "TiB", "PiB", "EiB"};
    double value = Bytes / 1024.0;
    int unit = 0;
    while (value >= 1024 && unit + 1 < int(std::size(units))) {
        value /= 1024;
        ++unit;
    }
    QString number = QString::number(std::round(value * 10) / 10, 'f', 1);
    if (number.endsWith(QStringLiteral(".0")))
        number.chop(2);
    return number + u' ' + QLatin1String(units[unit]);
}
