// The engine's two-call pattern for texts against every size an engine may report: nothing, a terminator
// alone, an odd byte count, and characters outside the Basic Multilingual Plane.
#include "pdf/binding/EngineText.h"

#include <QByteArray>
#include <cstring>
#include <gtest/gtest.h>

namespace {

// An engine that reports Reported bytes and, given room for them, writes Bytes, as much as fits the length.
struct FakeEngine {
    unsigned long Reported;
    QByteArray Bytes;
    unsigned long operator()(void* buffer, unsigned long size) const {
        if (buffer && size >= Reported)
            std::memcpy(buffer, Bytes.constData(), std::min<size_t>(Reported, size_t(Bytes.size())));
        return Reported;
    }
};

QByteArray Utf16Bytes(const QString& text, int terminatorBytes = 2) {
    return QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2) +
           QByteArray(terminatorBytes, '\0');
}

} // namespace

TEST(EngineText, EverySizeAnEngineReportsGivesItsText) {
    const QString astral = QString::fromUtf8("a\xF0\x9F\x93\x8C");
    const struct {
        const char* What;
        FakeEngine Engine;
        QString Text;
    } cases[] = {
        {"nothing", {0, {}}, {}},
        {"one stray byte", {1, QByteArray(1, 'x')}, {}},
        {"a terminator alone", {2, QByteArray(2, '\0')}, {}},
        {"one character", {4, Utf16Bytes("x")}, "x"},
        {"an odd count: a character, a terminator and a stray byte", {5, Utf16Bytes("x", 3)}, "x"},
        {"an odd count with the terminator cut short", {7, Utf16Bytes("xy", 3)}, "xy"},
        {"a surrogate pair",
         {static_cast<unsigned long>(Utf16Bytes(astral).size()), Utf16Bytes(astral)},
         astral},
        {"a second call that writes less than it reported",
         {8, Utf16Bytes("x")},
         QString("x") + QChar(0) + QChar(0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        EXPECT_EQ(PDFium::FetchUtf16Text(c.Engine), c.Text);
    }
}
