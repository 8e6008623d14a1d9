#include "SmallFilesystem.h"

#include <cerrno>
#include <cstring>
#include <sys/mount.h>

SmallFilesystem::SmallFilesystem(qint64 Bytes) {
    const QByteArray options = "size=" + QByteArray::number(Bytes);
    const QByteArray folder = FFolder.path().toLocal8Bit();
    FMounted = FFolder.isValid() && mount("tmpfs", folder.constData(), "tmpfs", 0, options.constData()) == 0;
    if (!FMounted)
        FRefusal =
            QStringLiteral("a tmpfs cannot be mounted here: ") + QString::fromLocal8Bit(std::strerror(errno));
}

SmallFilesystem::~SmallFilesystem() {
    if (FMounted)
        umount2(FFolder.path().toLocal8Bit().constData(), MNT_DETACH);
}
