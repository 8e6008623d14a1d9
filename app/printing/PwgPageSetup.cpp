#include "app/printing/PwgPageSetup.h"

#include <QList>

int PwgMediaPosition(const QByteArray& MediaSource) {
    // The order is PWG's, and with it the numbers.
    static const QList<QByteArray> named{
        "auto",  "main",   "alternate", "large-capacity", "manual", "envelope",    "disc",
        "photo", "hagaki", "main-roll", "alternate-roll", "top",    "middle",      "bottom",
        "side",  "left",   "right",     "center",         "rear",   "by-pass-tray"};
    if (const qsizetype index = named.indexOf(MediaSource); index >= 0)
        return int(index);
    bool ok = false;
    if (MediaSource.startsWith("tray-")) {
        const int tray = MediaSource.mid(5).toInt(&ok);
        if (ok && tray >= 1 && tray <= 20)
            return int(named.size()) + tray - 1;
    } else if (MediaSource.startsWith("roll-")) {
        const int roll = MediaSource.mid(5).toInt(&ok);
        if (ok && roll >= 1 && roll <= 10)
            return int(named.size()) + 20 + roll - 1;
    }
    return 0;
}
