// The read end of a FIFO, opened without waiting before a writer comes, so that the writer finds a reader;
// what is written waits in the pipe (a small document fits) until it is read.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <fcntl.h>
#include <unistd.h>

class FifoReader {
public:
    explicit FifoReader(const QString& path)
        : FDescriptor(::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)) {}
    ~FifoReader() { ::close(FDescriptor); }
    FifoReader(const FifoReader&) = delete;
    FifoReader& operator=(const FifoReader&) = delete;

    // Everything written so far.
    QByteArray ReadAll() const {
        QByteArray bytes;
        char block[4096];
        for (ssize_t got; (got = ::read(FDescriptor, block, sizeof block)) > 0;)
            bytes.append(block, got);
        return bytes;
    }

private:
    int FDescriptor;
};
