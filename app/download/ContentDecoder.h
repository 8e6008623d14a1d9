// Decodes the body of an answer as its Content-Encoding says. A download asks for the two encodings that it
// decodes itself, gzip and deflate (AcceptedEncodings), and takes no other. Decoding goes as the bytes
// arrive, a block at a time, so that neither a large document nor a small answer that decodes to gigabytes
// is ever held in memory: each block goes to the caller, who writes it out and counts it.
#pragma once

#include <QByteArray>

#include <functional>
#include <memory>

// The Accept-Encoding of every request.
inline constexpr char AcceptedEncodings[] = "gzip, deflate";

// Takes one decoded block.
using TDecodedBlock = std::function<void(const char* Data, qsizetype Size)>;

class TContentDecoder {
public:
    // ContentEncoding: the answer's Content-Encoding; empty or "identity" for a body sent as it is. Raises
    // EDownloadError "The server sent the document encoded as \"name\", which the download did not ask for"
    // for any value but those and gzip (x-gzip) and deflate, a list of several included.
    explicit TContentDecoder(const QByteArray& ContentEncoding);
    ~TContentDecoder();
    TContentDecoder(const TContentDecoder&) = delete;
    TContentDecoder& operator=(const TContentDecoder&) = delete;

    // Decodes the next bytes of the body and hands what they decode to over to Out. Raises EDownloadError
    // "The server's gzip data is damaged: reason" (or deflate) for data that does not decode; an error of Out
    // passes through.
    void Feed(const QByteArray& Data, const TDecodedBlock& Out);
    // The body is complete. Raises EDownloadError "The server's gzip data is damaged: it ends early" (or
    // deflate) when the encoded data stopped short of its end.
    void Finish();

private:
    struct TInflater;
    std::unique_ptr<TInflater> FInflater; // none for a body sent as it is
};
