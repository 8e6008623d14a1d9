// Writing a whole block to a device. A file may take only part of a block without saying why, as one does
// whose disk fills up partway through; offered the rest, it refuses and its error string holds the system's
// reason ("No space left on device"), which every message about the failed write should say.
#pragma once

#include <QIODevice>

// Writes Size bytes from Data to Device, offering what it has not taken again until it has taken all or
// refuses; false when it refuses, with its error string set.
inline bool WriteWhole(QIODevice& Device, const char* Data, qint64 Size) {
    for (qint64 written = 0; written < Size;) {
        const qint64 taken = Device.write(Data + written, Size - written);
        if (taken <= 0)
            return false;
        written += taken;
    }
    return true;
}
