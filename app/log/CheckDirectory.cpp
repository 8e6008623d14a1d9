#include "app/log/CheckDirectory.h"

#include <QDir>
#include <QFileInfo>

namespace {

// The root that every full path begins with: "C:\" on Windows, "/" elsewhere.
#ifdef Q_OS_WIN
constexpr qsizetype rootLength = 3;
#else
constexpr qsizetype rootLength = 1;
#endif

bool isFolder(const QString& path) {
    return QFileInfo(path).isDir();
}

// The level after Reached: the target's characters after it up to and including the next separator, or all
// remaining characters when no separator follows.
QString nextLevel(const QString& target, const QString& reached) {
    const qsizetype separator = target.indexOf(QDir::separator(), reached.size());
    return separator < 0 ? target : target.left(separator + 1);
}

// Walks the levels from the given one to the target; a level counts when it existed or could be created.
bool CreateDirectory(const QString& target, QString level) {
    for (;;) {
        if (!isFolder(level) && !QDir().mkdir(level))
            return false;
        if (level == target)
            return true;
        level = nextLevel(target, level);
    }
}

} // namespace

bool CheckDirectory(const QString& Path, bool Create) {
    if (isFolder(Path))
        return true;
    if (!Create || Path.isEmpty())
        return false;
    CreateDirectory(Path, nextLevel(Path, Path.left(rootLength)));
    return isFolder(Path);
}
