// Watches the file of the document shown, as evince and okular do: a write to it, its replacement by another
// file of that name, its removal and its return are noticed once the writing has paused for a moment, and
// reported only when the file's presence, readability, size or time differ from when it was last taken.
#pragma once

#include <QDateTime>
#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>
#include <functional>

class TFileWatch : public QObject {
public:
    explicit TFileWatch(QObject* Parent = nullptr);

    // Watches FileName from now on, as it is now; an empty name watches nothing.
    void Watch(const QString& FileName);
    // Takes the file as it is now as the one shown, after it has been read or written.
    void Accept();

    // Raised when the file has changed since it was last taken.
    std::function<void()> OnChange;

private:
    struct TStamp {
        bool Exists = false;
        bool Readable = false;
        qint64 Size = -1;
        QDateTime Modified;
        bool operator==(const TStamp&) const = default;
    };

    TStamp StampNow() const;
    void CheckFile();

    QFileSystemWatcher FWatcher;
    QTimer FPause;
    QString FFileName;
    TStamp FStamp;
};
