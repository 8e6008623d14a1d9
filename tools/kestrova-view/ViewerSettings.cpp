#include "ViewerSettings.h"

#include <QFileInfo>
#include <QSettings>

namespace {

const QString Organisation = QStringLiteral("kestrova");
const QString Application = QStringLiteral("kestrova-view");

} // namespace

QSize TViewerSettings::WindowSize(QSize Default) const {
    const QSettings store(Organisation, Application);
    const QSize size = store.value(QStringLiteral("window/size"), Default).toSize();
    return size.isValid() && !size.isEmpty() ? size : Default;
}

TPageZoom TViewerSettings::Zoom() const {
    const QSettings store(Organisation, Application);
    const int mode = store.value(QStringLiteral("zoom/mode"), int(TZoomMode::FitWidth)).toInt();
    const double factor = store.value(QStringLiteral("zoom/factor"), 1.0).toDouble();
    if (mode < int(TZoomMode::FitWidth) || mode > int(TZoomMode::Factor) || !(factor >= MinimumZoom) ||
        !(factor <= MaximumZoom))
        return {};
    return {static_cast<TZoomMode>(mode), factor};
}

QStringList TViewerSettings::RecentFiles() const {
    const QSettings store(Organisation, Application);
    return store.value(QStringLiteral("files/recent")).toStringList();
}

void TViewerSettings::SaveWindow(QSize Size, TPageZoom Zoom) {
    QSettings store(Organisation, Application);
    store.setValue(QStringLiteral("window/size"), Size);
    store.setValue(QStringLiteral("zoom/mode"), int(Zoom.Mode));
    store.setValue(QStringLiteral("zoom/factor"), Zoom.Factor);
}

void TViewerSettings::AddRecentFile(const QString& FileName) {
    const QString path = QFileInfo(FileName).absoluteFilePath();
    QStringList files = RecentFiles();
    files.removeAll(path);
    files.prepend(path);
    QSettings store(Organisation, Application);
    store.setValue(QStringLiteral("files/recent"), files.mid(0, RecentFileCount));
}
