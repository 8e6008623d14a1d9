// The record of link signatures already used, so that a signed link prints once. It is the file
// used-signatures, one line per signature, "expiry signature", the signature's bytes in base64url: under the
// administrator's policy one record serves the whole machine (in MachineRecordFolder(), which every user may
// write), otherwise each user keeps one beside their own trust file. Every Kestrova process shares it under
// its lock file ("used-signatures.lock", FileLock.h), so that of two processes started with one link at once,
// only one takes it.
//
// Each signature is kept a day past its link's expiry, whatever the clock says when the record is pruned, so
// that a clock running ahead by up to a day drops no signature whose link could still be taken on the right
// clock. A record damaged by whatever means is rebuilt from what can still be read: a signature found
// anywhere in it, on a damaged line too, counts as used, and is kept as if its link lived as long as any may.
#pragma once

#include <QByteArray>
#include <QString>

namespace UsedSignatures {

// The machine's folder for the record, /var/lib/kestrova unless the build names another.
QString MachineRecordFolder();
// For tests: makes MachineRecordFolder() return Folder; an empty one restores the built-in folder.
void SetMachineRecordFolder(const QString& Folder);

// The record that serves the trust file TrustFile: the machine's for the administrator's file, else the one
// beside TrustFile.
QString RecordPathFor(const QString& TrustFile);
// The record that serves the trust file in force.
QString RecordPath();

// Takes Signature (its bytes), of a link that expires at Expires, into Record, the record's text: false, and
// Record as it was, when Record holds it already; otherwise Record gains it and loses the signatures kept
// long enough by the time Now.
bool Take(QByteArray& Record, const QByteArray& Signature, qint64 Expires, qint64 Now);

// Take on the record file RecordPath, under its lock. The files it makes may be written by whoever may write
// their folder. Raises ETrustError "The record of used links \"path\" cannot be ...: reason" when it cannot
// be locked, read or written: a link is then not taken.
bool Use(const QString& RecordPath, const QByteArray& Signature, qint64 Expires, qint64 Now);

} // namespace UsedSignatures
