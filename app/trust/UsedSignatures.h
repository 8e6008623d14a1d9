// The record of link signatures already used, so that a signed link prints once. It is the file
// used-signatures beside the user's trust file, one line per signature, "expiry signature", kept until the
// link it signed has expired. Every Kestrova process shares it under its lock file ("used-signatures.lock"),
// so that of two processes started with one link at once, only one takes it.
//
// A record damaged by whatever means is rebuilt from what can still be read: a signature found anywhere in
// it, on a damaged line too, counts as used; a damaged line's signature is kept as long as any link may live.
#pragma once

#include <QString>

namespace UsedSignatures {

// The record beside the user's trust file.
QString RecordPath();

// Records Signature, the signature text of a link that expires at Expires; false when the record holds it
// already. Entries of links that have expired by Now are dropped; MaxAge is the longest a link may live.
// Raises ETrustError "The record of used links \"path\" cannot be ...: reason" when it cannot be locked,
// read or written: a link is then not taken.
bool Use(const QString& RecordPath, const QString& Signature, qint64 Expires, qint64 Now, qint64 MaxAge);

} // namespace UsedSignatures
