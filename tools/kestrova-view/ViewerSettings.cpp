#include "ViewerSettings.h"

#include <QFileInfo>
#include <QSettings>

namespace {

const QString Organisation = QStringLiteral("kestrova");
const QString Application = QStringLiteral("kestrova-view");
const QString PlacesKey = QStringLiteral("files/places");

QString AbsolutePath(const QString& FileName) {
    return QFileInfo(FileName).absoluteFilePath();
}

// A zoom as kept, or fit width where what was kept is not a zoom.
TPageZoom ZoomOf(int mode, double factor) {
    if (mode < int(TZoomMode::FitWidth) || mode > int(TZoomMode::Factor) || !(factor >= MinimumZoom) ||
        !(factor <= MaximumZoom))
        return {};
    return {static_cast<TZoomMode>(mode), factor};
}

} // namespace

QSize TViewerSettings::WindowSize(QSize Default) const {
    const QSettings store(Organisation, Application);
    const QSize size = store.value(QStringLiteral("window/size"), Default).toSize();
    return size.isValid() && !size.isEmpty() ? size : Default;
}

bool TViewerSettings::NightMode() const {
    return QSettings(Organisation, Application).value(QStringLiteral("view/night"), false).toBool();
}

QStringList TViewerSettings::RecentFiles() const {
    const QSettings store(Organisation, Application);
    return store.value(QStringLiteral("files/recent")).toStringList();
}

std::optional<TDocumentPlace> TViewerSettings::Place(const QString& FileName) const {
    const QString path = AbsolutePath(FileName);
    const QVariantList places = QSettings(Organisation, Application).value(PlacesKey).toList();
    for (const QVariant& entry : places) {
        const QVariantMap place = entry.toMap();
        if (place.value(QStringLiteral("file")).toString() == path)
            return TDocumentPlace{std::max(1, place.value(QStringLiteral("page")).toInt()),
                                  ZoomOf(place.value(QStringLiteral("zoom")).toInt(),
                                         place.value(QStringLiteral("factor")).toDouble())};
    }
    return std::nullopt;
}

void TViewerSettings::SaveWindowSize(QSize Size) {
    QSettings(Organisation, Application).setValue(QStringLiteral("window/size"), Size);
}

void TViewerSettings::SaveNightMode(bool Value) {
    QSettings(Organisation, Application).setValue(QStringLiteral("view/night"), Value);
}

void TViewerSettings::AddRecentFile(const QString& FileName) {
    const QString path = AbsolutePath(FileName);
    QStringList files = RecentFiles();
    files.removeAll(path);
    files.prepend(path);
    QSettings store(Organisation, Application);
    store.setValue(QStringLiteral("files/recent"), files.mid(0, RecentFileCount));
}

void TViewerSettings::SavePlace(const QString& FileName, TDocumentPlace Place) {
    const QString path = AbsolutePath(FileName);
    QSettings store(Organisation, Application);
    QVariantList places = store.value(PlacesKey).toList();
    places.removeIf([&](const QVariant& entry) {
        return entry.toMap().value(QStringLiteral("file")).toString() == path;
    });
    places.prepend(QVariantMap{{QStringLiteral("file"), path},
                               {QStringLiteral("page"), Place.Page},
                               {QStringLiteral("zoom"), int(Place.Zoom.Mode)},
                               {QStringLiteral("factor"), Place.Zoom.Factor}});
    store.setValue(PlacesKey, places.mid(0, PlaceCount));
}
