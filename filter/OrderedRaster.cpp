#include "OrderedRaster.h"

#include "FilterMessages.h"
#include "PageRecords.h"
#include "PageWorkers.h"
#include "app/printing/FilterJob.h"
#include "app/printing/PwgPageWriter.h"

#include <cerrno>
#include <cstring>

namespace {

bool cannotWrite() {
    TellError(QStringLiteral("Cannot write the raster: %1").arg(QString::fromLocal8Bit(strerror(errno))));
    return false;
}

bool endedBefore(TPageWorkers& workers, int worker, int index) {
    const QString how = workers.Wait(worker);
    TellError(QStringLiteral("The rendering process of page %1 ended before it").arg(index + 1) +
              (how.isEmpty() ? QString() : ": " + how));
    return false;
}

// Copies the Index-th page from its worker into Out; false, with the print system told why, when it does not
// come whole or cannot be written.
bool copyPage(const TPwgPageSetup& setup, TPageWorkers& workers, int index, int out) {
    const int worker = index % workers.Count();
    const int pipe = workers.Pipe(worker);
    const std::optional<TRecordHeader> record = ReadRecordHeader(pipe);
    if (!record)
        return endedBefore(workers, worker, index);
    if (record->Kind == TRecordKind::Error) {
        const std::optional<QByteArray> message = ReadRecordBytes(pipe, record->Length);
        TellError(message ? QString::fromUtf8(*message) : QStringLiteral("Page %1 failed").arg(index + 1));
        return false;
    }
    const QByteArray start = index == 0 ? PwgStreamStart(setup) : QByteArray();
    if (!WriteWhole(out, start.constData(), size_t(start.size())))
        return cannotWrite();
    bool written = true;
    if (ReadRecordBytes(pipe, record->Length, [&written, out](const char* data, size_t size) {
            written = WriteWhole(out, data, size);
            return written;
        }))
        return true;
    return written ? endedBefore(workers, worker, index) : cannotWrite();
}

} // namespace

int WritePagesInOrder(const TFilterJob& Job, TPageWorkers& Workers, int Out) {
    const int count = Job.SentCount();
    for (int index = 0; index < count; ++index) {
        if (!copyPage(Job.Setup, Workers, index, Out))
            return 1;
        Tell("PAGE", QStringLiteral("%1 1").arg(index + 1));
    }
    for (int worker = 0; worker < Workers.Count(); ++worker)
        if (const QString how = Workers.Wait(worker); !how.isEmpty()) {
            TellError(QStringLiteral("A rendering process failed: %1").arg(how));
            return 1;
        }
    return 0;
}
