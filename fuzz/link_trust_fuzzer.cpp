// Feeds arbitrary trust files, records of used signatures and links to the trust check: the INI reading, the
// origins, the key, the split of a signed link, the signature check, the record's rebuilding and the source
// filter. The input is the three texts, each ended by a NUL byte. Only ETrustError may leave them.
#include "app/trust/ETrustError.h"
#include "app/trust/LinkCheck.h"
#include "app/trust/SignedLink.h"
#include "app/trust/TrustPolicy.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>

#include <cstddef>
#include <cstdint>

namespace {

// The time the seeds' links were signed for.
constexpr qint64 Now = 1'800'000'000;

void write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir folder;
    static int run = 0;
    const QList<QByteArray> parts =
        QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)).split('\0');
    // A file of its own each run: the INI reader keeps what it read of a file name.
    const QString trustFile = folder.filePath(QStringLiteral("trust-%1.ini").arg(++run));
    const QString record = folder.filePath(QStringLiteral("used-signatures"));
    write(trustFile, parts.value(0));
    write(record, parts.value(1));
    const QString link = QString::fromUtf8(parts.value(2));

    const TTrustPolicy policy = ReadTrustPolicy(trustFile);
    SplitSignedLink(link);
    try {
        CheckLink(policy, link, Now, record);
    } catch (const ETrustError&) {
    }
    if (const auto allowed = SourceFilter(policy))
        allowed(QUrl(link, QUrl::TolerantMode));
    QFile::remove(trustFile);
    return 0;
}
