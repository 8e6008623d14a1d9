// The trust policy applied to a print job's link before anything is fetched: whether the link must be signed
// and is, and which sources the download may reach.
#pragma once

#include "app/trust/TrustPolicy.h"

#include <QString>
#include <QUrl>

#include <functional>

// What keeps the signatures of the links taken: records Signature, the bytes of the signature of a link that
// expires at Expires, and says whether it was new.
using TSignatureRecord = std::function<bool(const QByteArray& Signature, qint64 Expires)>;

// Raises ETrustError when Policy refuses Link at the time Now (Unix seconds):
//   the broken policy's message (BrokenPolicyMessage);
//   "The link is not signed", "The link's signature does not match", "The link carries no expiry time",
//   "The link has expired", "The link expires more than N seconds ahead", "The link was used before";
//   the record's own errors.
// A link that passes has its signature taken into Record.
void CheckLink(const TTrustPolicy& Policy, const QString& Link, qint64 Now, const TSignatureRecord& Record);
// CheckLink with the record file RecordPath (UsedSignatures::Use).
void CheckLink(const TTrustPolicy& Policy, const QString& Link, qint64 Now, const QString& RecordPath);

// Whether the download may fetch an address under Policy; empty when any address is allowed.
std::function<bool(const QUrl&)> SourceFilter(const TTrustPolicy& Policy);
