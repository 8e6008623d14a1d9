// Feeds arbitrary trust files, records of used signatures and links to the trust check: the trust file's
// reading, the origins, the key, the split of a signed link, the signature check, the record's rebuilding and
// the source filter. The input is the three texts, each ended by a NUL byte. The record is kept in memory, as
// its text, so that a run touches no disk. Only ETrustError may leave the check, and a signature is taken at
// most once: a link taken is refused when opened again, and so is every other spelling of its signature.
#include "app/trust/ETrustError.h"
#include "app/trust/LinkCheck.h"
#include "app/trust/SignedLink.h"
#include "app/trust/TrustPolicy.h"
#include "app/trust/UsedSignatures.h"

#include <QByteArray>
#include <QUrl>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// The time the seeds' links were signed for.
constexpr qint64 Now = 1'800'000'000;

const QString Alphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_");

// Whether Policy takes Link, with Record as the record's text.
bool taken(const TTrustPolicy& policy, const QString& link, QByteArray& record) {
    try {
        CheckLink(policy, link, Now, [&record](const QByteArray& signature, qint64 expires) {
            return UsedSignatures::Take(record, signature, expires, Now);
        });
        return true;
    } catch (const ETrustError&) {
        return false;
    }
}

[[noreturn]] void printedTwice(const QString& link) {
    std::fprintf(stderr, "a signature was taken twice: %s\n", qPrintable(link));
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QList<QByteArray> parts =
        QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)).split('\0');
    const TTrustPolicy policy = TrustPolicyOfText(QStringLiteral("trust.ini"), parts.value(0));
    QByteArray record = parts.value(1);
    const QString link = QString::fromUtf8(parts.value(2));

    SplitSignedLink(link);
    const bool first = taken(policy, link, record);
    if (first && policy.RequiresSignature()) {
        if (taken(policy, link, record))
            printedTwice(link);
        // The other spellings of the signature: its last character with other values of its four spare bits.
        const qsizetype last = Alphabet.indexOf(link.back());
        for (int spare = 0; last >= 0 && spare < 16; ++spare) {
            QString spelling = link;
            spelling.back() = Alphabet[(last & 0b110000) | spare];
            if (taken(policy, spelling, record))
                printedTwice(spelling);
        }
    }
    if (const auto allowed = SourceFilter(policy))
        allowed(QUrl(link, QUrl::TolerantMode));
    return 0;
}
