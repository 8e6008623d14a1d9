// Where a save into a named file may put its bytes: one rule for every save, the component's and the
// program's. A name under which nothing stands, or a regular file (through any symbolic links), is replaced
// as a whole: the bytes are written beside it and take its place only once all of them are on disk. A
// character device or a FIFO that the name stands for, as /dev/stdout or a shell's pipe do, is where the user
// wants the bytes: they are written through it in place, and it is never replaced. A folder, a block device,
// a socket or anything else is refused.
#pragma once

#include <QFile>
#include <QString>

namespace PDFium {

enum class TSaveTarget { stReplace, stWriteThrough, stRefused };

struct TSaveTargetCheck {
    TSaveTarget Target = TSaveTarget::stReplace;
    QString Reason; // stRefused: why, as a sentence such as "It is a folder"
};

// How a save reaches FileName, looked at now.
TSaveTargetCheck CheckSaveTarget(const QString& FileName);

// Opens FileName, a character device or a FIFO, into File for writing in place, creating and truncating
// nothing; a FIFO that no program reads from is refused at once rather than waited on. Empty when open,
// otherwise the reason, as a sentence.
QString OpenInPlace(QFile& File, const QString& FileName);

// True where FileName stands for the process's own standard output, as /dev/stdout does.
bool IsStandardOutput(const QString& FileName);

} // namespace PDFium
