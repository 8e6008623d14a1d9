// A filesystem of a few kilobytes, so that a test can fill a disk for real: a tmpfs of the given size mounted
// on a temporary folder for as long as the object lives. Mounting needs the right to mount (root); where it
// is refused, Path() is empty and Refusal() says why, for the test to skip with.
#pragma once

#include <QString>
#include <QTemporaryDir>

class SmallFilesystem {
public:
    explicit SmallFilesystem(qint64 Bytes);
    ~SmallFilesystem();
    SmallFilesystem(const SmallFilesystem&) = delete;
    SmallFilesystem& operator=(const SmallFilesystem&) = delete;

    // The folder the filesystem is mounted on; empty where it could not be mounted.
    QString Path() const { return FMounted ? FFolder.path() : QString(); }
    QString Refusal() const { return FRefusal; }

private:
    QTemporaryDir FFolder;
    bool FMounted = false;
    QString FRefusal;
};
