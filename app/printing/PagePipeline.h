// Pages encoded on worker threads while the caller renders the next one, and sent on one thread of their own
// in the order they were handed over. Encoders encode side by side, each a page at a time; a caller that
// runs ahead waits while every encoder has a page, and an encoder waits while as many encoded pages wait to
// be sent, so that at most Encoders + 1 page images and Encoders encoded pages are alive at a time. The image
// of an encoded page comes back to the caller to render into, white: every byte 0xFF, white in 8-bit gray and
// in RGB.
//
// An error of an encoder or of the sender is kept and raised in the caller's thread by every later Submit()
// and Finish(), once no page is being sent, so that the caller may then use what the sender used; nothing is
// sent after it.
#pragma once

#include <QByteArray>
#include <QImage>

#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

class TPagePipeline {
public:
    // Encode turns the page image handed over as the Index-th (from 0) into the bytes that Send sends.
    using TEncode = std::function<QByteArray(const QImage& Page, int Index)>;
    using TSend = std::function<void(const QByteArray& Bytes, int Index)>;

    TPagePipeline(int Encoders, TEncode Encode, TSend Send);
    // Stops the threads once the page being sent and those being encoded are done; the pages not sent by
    // then are dropped (Finish() sends them all), and an error then goes nowhere.
    ~TPagePipeline();
    TPagePipeline(const TPagePipeline&) = delete;
    TPagePipeline& operator=(const TPagePipeline&) = delete;

    // Hands Page over as the next page, once an encoder is free; Page receives the image of a page encoded
    // before, cleared to white, or a null image.
    void Submit(QImage& Page);
    // Waits until every page is sent; raises the first error.
    void Finish();

private:
    void encodePages();
    void sendPages();
    void raiseError(); // with the lock held
    bool failed() const { return FError != nullptr; }
    bool settledFailure() const { return failed() && !FSending; }

    const int FEncoders;
    TEncode FEncode;
    TSend FSend;
    std::mutex FMutex;
    std::condition_variable FChanged;
    std::deque<std::pair<int, QImage>> FWaiting; // handed over, not yet taken by an encoder
    int FEncoding = 0;                           // pages being encoded
    std::map<int, QByteArray> FEncoded;          // encoded, not yet sent, by index
    std::vector<QImage> FFree;                   // images of encoded pages, to be handed back
    int FSubmitted = 0;
    int FSent = 0;
    bool FSending = false;
    bool FStopping = false;
    std::exception_ptr FError;
    std::vector<std::thread> FThreads;
};
