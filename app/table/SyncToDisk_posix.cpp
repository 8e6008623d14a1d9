#include "app/table/SyncToDisk.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

bool SyncToDisk(QFileDevice& File, QString& Problem) {
    if (::fdatasync(File.handle()) == 0)
        return true;
    Problem = QString::fromLocal8Bit(std::strerror(errno));
    return false;
}
