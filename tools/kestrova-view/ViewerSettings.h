// What kestrova-view remembers from one run to the next, in the user's settings (QSettings, organisation
// "kestrova", application "kestrova-view"): the window's size, how pages are zoomed, and the files opened
// last, newest first.
#pragma once

#include "PageZoom.h"

#include <QSize>
#include <QStringList>

class TViewerSettings {
public:
    static constexpr int RecentFileCount = 8;

    QSize WindowSize(QSize Default) const;
    TPageZoom Zoom() const;
    QStringList RecentFiles() const;

    // Keeps the window's size and zoom for the next run.
    void SaveWindow(QSize Size, TPageZoom Zoom);
    // Puts FileName first among the recent files, dropping the oldest beyond RecentFileCount.
    void AddRecentFile(const QString& FileName);
};
