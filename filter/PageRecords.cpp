#include "PageRecords.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace {

// Moves Size bytes of Data through Transfer (a read or a write), however many calls that takes; false at the
// pipe's end or on an error.
template <typename TData, typename TTransfer>
bool transferWhole(TData* data, size_t size, TTransfer transfer) {
    while (size > 0) {
        const ssize_t done = transfer(data, size);
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0)
            return false;
        data += done;
        size -= size_t(done);
    }
    return true;
}

bool readWhole(int fd, char* data, size_t size) {
    return transferWhole(data, size, [fd](char* into, size_t count) { return ::read(fd, into, count); });
}

// A piece of a page handed on at a time: large enough that copying costs few calls.
constexpr qint64 PieceSize = 256 * 1024;

} // namespace

bool WriteWhole(int Fd, const char* Data, size_t Size) {
    return transferWhole(Data, Size,
                         [Fd](const char* from, size_t count) { return ::write(Fd, from, count); });
}

bool WriteRecord(int Fd, TRecordKind Kind, const QByteArray& Bytes) {
    char header[1 + sizeof(qint64)];
    header[0] = char(Kind);
    const qint64 length = Bytes.size();
    std::memcpy(header + 1, &length, sizeof length);
    return WriteWhole(Fd, header, sizeof header) && WriteWhole(Fd, Bytes.constData(), size_t(Bytes.size()));
}

std::optional<TRecordHeader> ReadRecordHeader(int Fd) {
    char header[1 + sizeof(qint64)];
    if (!readWhole(Fd, header, sizeof header))
        return {};
    TRecordHeader record;
    record.Kind = TRecordKind(header[0]);
    std::memcpy(&record.Length, header + 1, sizeof record.Length);
    if ((record.Kind != TRecordKind::Page && record.Kind != TRecordKind::Error) || record.Length < 0)
        return {};
    return record;
}

bool ReadRecordBytes(int Fd, qint64 Length, const std::function<bool(const char* Data, size_t Size)>& Take) {
    QByteArray piece(qsizetype(std::min(Length, PieceSize)), Qt::Uninitialized);
    while (Length > 0) {
        const size_t size = size_t(std::min(Length, PieceSize));
        if (!readWhole(Fd, piece.data(), size) || !Take(piece.constData(), size))
            return false;
        Length -= qint64(size);
    }
    return true;
}

std::optional<QByteArray> ReadRecordBytes(int Fd, qint64 Length) {
    QByteArray bytes;
    if (!ReadRecordBytes(Fd, Length, [&bytes](const char* data, size_t size) {
            bytes.append(data, qsizetype(size));
            return true;
        }))
        return {};
    return bytes;
}
