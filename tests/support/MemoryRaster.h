// libcups' raster streams over bytes in memory: its writer appending to a byte array and its reader reading
// one from the start, the yardstick our own raster encoder is held against. Header-only, so that the fuzz
// harnesses and the benchmarks, which do without the test support library, use it as well.
#pragma once

#include <cups/raster.h>

#include <QByteArray>

#include <algorithm>
#include <cstring>
#include <memory>

using TRaster = std::unique_ptr<cups_raster_t, decltype(&cupsRasterClose)>;

// libcups' writer in Mode, appending to Bytes, which must outlive it.
inline TRaster OpenRasterWriter(QByteArray& Bytes, cups_mode_t Mode) {
    const auto append = [](void* bytes, unsigned char* data, size_t length) {
        static_cast<QByteArray*>(bytes)->append(reinterpret_cast<const char*>(data), qsizetype(length));
        return ssize_t(length);
    };
    return TRaster(cupsRasterOpenIO(append, &Bytes, Mode), &cupsRasterClose);
}

// libcups' reader of Bytes, which must outlive it; Raster() is null when they do not start a raster stream.
class TRasterReader {
public:
    explicit TRasterReader(const QByteArray& Bytes) : FBytes(Bytes) {
        FRaster.reset(cupsRasterOpenIO(read, this, CUPS_RASTER_READ));
    }
    TRasterReader(const TRasterReader&) = delete;
    TRasterReader& operator=(const TRasterReader&) = delete;

    cups_raster_t* Raster() const { return FRaster.get(); }

private:
    static ssize_t read(void* reader, unsigned char* data, size_t length) {
        auto& from = *static_cast<TRasterReader*>(reader);
        const qsizetype count = std::min(qsizetype(length), from.FBytes.size() - from.FAt);
        std::memcpy(data, from.FBytes.constData() + from.FAt, size_t(count));
        from.FAt += count;
        return ssize_t(count);
    }

    const QByteArray& FBytes;
    qsizetype FAt = 0;
    TRaster FRaster{nullptr, &cupsRasterClose};
};
