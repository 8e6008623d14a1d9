// The engine's two-call pattern for texts: the first call, without a buffer, answers the size in bytes with
// the terminator; the second fills a buffer of that size.
#pragma once

#include <QByteArray>
#include <QString>

namespace PDFium {

// Fetch(buffer, size) returns the size in bytes of the UTF-16 text, terminator included.
template <typename Fetch> QString FetchUtf16Text(Fetch fetch) {
    const unsigned long size = fetch(nullptr, 0);
    if (size <= 2)
        return {};
    // Room for every byte reported, an odd count rounded up to a whole unit, cleared in case the second call
    // writes less; the text ends before the terminator.
    QString text(static_cast<qsizetype>((size + 1) / 2), QChar(0));
    fetch(text.data(), size);
    text.truncate(static_cast<qsizetype>(size / 2 - 1));
    return text;
}

// Fetch(buffer, size) returns the size in bytes of the 8-bit text, terminator included.
template <typename Fetch> QByteArray FetchBytes(Fetch fetch) {
    const unsigned long size = fetch(nullptr, 0);
    if (size <= 1)
        return {};
    QByteArray bytes(static_cast<qsizetype>(size), Qt::Uninitialized);
    fetch(bytes.data(), size);
    bytes.truncate(static_cast<qsizetype>(size) - 1);
    return bytes;
}

} // namespace PDFium
