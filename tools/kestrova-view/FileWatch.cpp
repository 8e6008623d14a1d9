#include "FileWatch.h"

#include <QFileInfo>

namespace {

// How long the file must rest before it is read again, in milliseconds: a program writing it is done by then.
constexpr int WritingPause = 300;

} // namespace

TFileWatch::TFileWatch(QObject* Parent) : QObject(Parent) {
    FPause.setSingleShot(true);
    FPause.setInterval(WritingPause);
    connect(&FPause, &QTimer::timeout, this, [this] { CheckFile(); });
    // The folder tells of a file replaced, removed or made again, which the file's own watch does not
    // outlive.
    connect(&FWatcher, &QFileSystemWatcher::fileChanged, &FPause, qOverload<>(&QTimer::start));
    connect(&FWatcher, &QFileSystemWatcher::directoryChanged, &FPause, qOverload<>(&QTimer::start));
}

void TFileWatch::Watch(const QString& FileName) {
    FPause.stop();
    if (const QStringList watched = FWatcher.files() + FWatcher.directories(); !watched.isEmpty())
        FWatcher.removePaths(watched);
    FFileName = FileName.isEmpty() ? QString() : QFileInfo(FileName).absoluteFilePath();
    if (FFileName.isEmpty())
        return;
    FWatcher.addPath(QFileInfo(FFileName).absolutePath());
    FWatcher.addPath(FFileName);
    Accept();
}

void TFileWatch::Accept() {
    FStamp = StampNow();
}

TFileWatch::TStamp TFileWatch::StampNow() const {
    const QFileInfo info(FFileName);
    return {info.exists(), info.isReadable(), info.size(), info.lastModified()};
}

void TFileWatch::CheckFile() {
    if (FFileName.isEmpty())
        return;
    if (QFileInfo::exists(FFileName) && !FWatcher.files().contains(FFileName))
        FWatcher.addPath(FFileName);
    const TStamp now = StampNow();
    if (now == FStamp)
        return;
    FStamp = now;
    if (OnChange)
        OnChange();
}
