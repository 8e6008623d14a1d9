// Pages passed from a rendering worker to the filter's main process over a pipe. Each record is a kind, the
// length of its bytes and the bytes: an encoded page, or the message of the error that ended the worker. The
// main process reads a page's bytes in pieces and hands them on, so that no page is held whole twice.
#pragma once

#include <QByteArray>

#include <cstddef>
#include <functional>
#include <optional>

enum class TRecordKind : char { Page = 'P', Error = 'E' };

struct TRecordHeader {
    TRecordKind Kind = TRecordKind::Page;
    qint64 Length = 0;
};

// Writes one record whole into Fd; false when the pipe does not take it, as when the main process has ended.
bool WriteRecord(int Fd, TRecordKind Kind, const QByteArray& Bytes);

// The next record's header; none at the pipe's end, or where it breaks off or holds no record.
std::optional<TRecordHeader> ReadRecordHeader(int Fd);
// Reads the record's Length bytes and hands each piece to Take; false when the pipe ends before them or Take
// returns false.
bool ReadRecordBytes(int Fd, qint64 Length, const std::function<bool(const char* Data, size_t Size)>& Take);
// The record's Length bytes whole; none when the pipe ends before them.
std::optional<QByteArray> ReadRecordBytes(int Fd, qint64 Length);

// Writes Size bytes of Data into Fd, however many writes that takes; false on an error.
bool WriteWhole(int Fd, const char* Data, size_t Size);
