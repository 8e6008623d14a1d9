#include "app/download/ContentDecoder.h"

#include "app/download/EDownloadError.h"

#include <QString>

#include <zlib.h>

namespace {

// What one call of inflate may produce before the block goes to the caller.
constexpr uInt BlockBytes = 1 << 16;

enum class TCoding { Gzip, Deflate };

// Whether Head, at least two bytes, opens a zlib stream. "deflate" means the zlib stream, but some servers
// send the bare deflate data, as browsers accept it too.
bool opensZlibStream(const QByteArray& head) {
    const auto method = uchar(head[0]);
    const auto flags = uchar(head[1]);
    return (method & 0x0F) == Z_DEFLATED && (method >> 4) <= 7 && ((method << 8) | flags) % 31 == 0;
}

} // namespace

struct TContentDecoder::TInflater {
    explicit TInflater(TCoding coding) : Coding(coding) {}
    ~TInflater() {
        if (Started)
            inflateEnd(&Stream);
    }

    [[noreturn]] void damaged(const QString& reason) const {
        throw EDownloadError(
            QStringLiteral("The server's %1 data is damaged: %2")
                .arg(Coding == TCoding::Gzip ? QStringLiteral("gzip") : QStringLiteral("deflate"), reason));
    }

    // Starts the stream on the first bytes; false while too few have come to tell the deflate kinds apart.
    bool start(const QByteArray& head) {
        if (Coding == TCoding::Deflate && head.size() < 2)
            return false;
        const int windowBits = Coding == TCoding::Gzip ? 16 + MAX_WBITS
                               : opensZlibStream(head) ? MAX_WBITS
                                                       : -MAX_WBITS;
        if (inflateInit2(&Stream, windowBits) != Z_OK)
            damaged(QStringLiteral("the decoder cannot start"));
        Started = true;
        return true;
    }

    TCoding Coding;
    z_stream Stream{};
    bool Started = false;
    bool Ended = false; // the stream reached its end
    QByteArray Held;    // the first byte of a deflate body, until the second comes
};

TContentDecoder::TContentDecoder(const QByteArray& ContentEncoding) {
    const QByteArray coding = ContentEncoding.trimmed().toLower();
    if (coding == "gzip" || coding == "x-gzip")
        FInflater = std::make_unique<TInflater>(TCoding::Gzip);
    else if (coding == "deflate")
        FInflater = std::make_unique<TInflater>(TCoding::Deflate);
    else if (!coding.isEmpty() && coding != "identity")
        throw EDownloadError(
            QStringLiteral(
                "The server sent the document encoded as \"%1\", which the download did not ask for")
                .arg(QString::fromLatin1(ContentEncoding.trimmed())));
}

TContentDecoder::~TContentDecoder() = default;

void TContentDecoder::Feed(const QByteArray& Data, const TDecodedBlock& Out) {
    if (Data.isEmpty())
        return;
    if (!FInflater) {
        Out(Data.constData(), Data.size());
        return;
    }
    TInflater& inflater = *FInflater;
    QByteArray input = Data;
    if (!inflater.Started) {
        input.prepend(std::exchange(inflater.Held, {}));
        if (!inflater.start(input)) {
            inflater.Held = input;
            return;
        }
    }
    z_stream& stream = inflater.Stream;
    // zlib reads the input and never writes it.
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input.constData()));
    stream.avail_in = uInt(input.size());
    QByteArray block(BlockBytes, Qt::Uninitialized);
    for (;;) {
        if (inflater.Ended) {
            if (stream.avail_in == 0)
                return;
            // A gzip body may hold several members one after the other; nothing may follow a deflate stream.
            if (inflater.Coding == TCoding::Deflate)
                inflater.damaged(QStringLiteral("more data follows its end"));
            inflateReset(&stream);
            inflater.Ended = false;
        }
        stream.next_out = reinterpret_cast<Bytef*>(block.data());
        stream.avail_out = BlockBytes;
        const int result = inflate(&stream, Z_NO_FLUSH);
        if (result == Z_STREAM_END)
            inflater.Ended = true;
        else if (result != Z_OK && result != Z_BUF_ERROR)
            inflater.damaged(QString::fromLatin1(stream.msg ? stream.msg : "it does not decode"));
        if (const qsizetype produced = BlockBytes - stream.avail_out; produced > 0)
            Out(block.constData(), produced);
        // Short of its end, inflate leaves room in the block only when it has taken every byte given.
        if (!inflater.Ended && stream.avail_out != 0)
            return;
    }
}

void TContentDecoder::Finish() {
    if (FInflater && (FInflater->Started || !FInflater->Held.isEmpty()) && !FInflater->Ended)
        FInflater->damaged(QStringLiteral("it ends early"));
}
