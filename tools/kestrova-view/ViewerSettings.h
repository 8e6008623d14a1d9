// What kestrova-view remembers from one run to the next, in the user's settings (QSettings, organisation
// "kestrova", application "kestrova-view"): the window's size, whether pages are shown in night colours, the
// files opened last, newest first, and for each of the last files left, the page and zoom it was left at.
#pragma once

#include "PageZoom.h"

#include <QSize>
#include <QStringList>
#include <optional>

// Where a document was left: its page and how it was zoomed.
struct TDocumentPlace {
    int Page = 1;
    TPageZoom Zoom;
};

class TViewerSettings {
public:
    static constexpr int RecentFileCount = 8;
    static constexpr int PlaceCount = 100;

    QSize WindowSize(QSize Default) const;
    bool NightMode() const;
    QStringList RecentFiles() const;
    // Where FileName was left, where it is among the last PlaceCount files left.
    std::optional<TDocumentPlace> Place(const QString& FileName) const;

    // Keeps the window's size for the next run.
    void SaveWindowSize(QSize Size);
    void SaveNightMode(bool Value);
    // Puts FileName first among the recent files, dropping the oldest beyond RecentFileCount.
    void AddRecentFile(const QString& FileName);
    // Keeps where FileName was left, forgetting the file left longest ago beyond PlaceCount.
    void SavePlace(const QString& FileName, TDocumentPlace Place);
};
