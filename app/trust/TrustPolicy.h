// Who may print here: the trust file trust.ini beside the table file, and the administrator's system-wide
// one.
//
//     [sources]
//     allow=https://erp.example.test, http://127.0.0.1:8080
//     [signing]
//     public-key=MCowBQYDK2VwAyEA...   ; base64 of the Ed25519 key's DER SubjectPublicKeyInfo
//     max-age=300                       ; seconds a signed link may live, at most
//
// Without a file every link is taken. When the system file exists, it alone holds, for every user: a user's
// own file can then neither loosen nor tighten it, and it is taken only while no one but root may change it
// (AdministratorFile.h). A file that cannot be read, does not parse as a whole (TrustFileText.h), sets
// nothing or holds a value that does not parse refuses every link: a broken policy never opens the door.
#pragma once

#include "app/trust/AllowedSources.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

struct TTrustPolicy {
    static constexpr qint64 DefaultMaxAge = 300;
    // A day at most is plenty for a link, and keeps every time the record of used signatures works out
    // within range.
    static constexpr qint64 LongestMaxAge = 86400;

    QString FilePath;                       // the file read; empty when there is none
    QString Error;                          // why the file cannot be taken; empty when it can
    std::optional<TAllowedSources> Sources; // without a list, any source
    QByteArray PublicKey;                   // DER; empty when links need no signature
    qint64 MaxAge = DefaultMaxAge;

    bool Present() const { return !FilePath.isEmpty(); }
    bool RequiresSignature() const { return !PublicKey.isEmpty(); }
};

// Reads the trust file at Path, as the administrator's when it is SystemTrustFilePath(); a policy without
// FilePath when there is no file there.
TTrustPolicy ReadTrustPolicy(const QString& Path);
// The policy that Text means, as the trust file FilePath would hold it.
TTrustPolicy TrustPolicyOfText(const QString& FilePath, const QByteArray& Text);

// The policy that the sources (none when absent) and the public key in base64 with its max-age (no signing
// when the key is empty) make, as a job would read it back from the file WriteTrustPolicy writes. Raises
// ETrustError saying which when a source is no origin, the key no Ed25519 public key or MaxAge out of range.
TTrustPolicy TrustPolicyOf(const std::optional<QStringList>& Sources, const QString& PublicKey,
                           qint64 MaxAge);

// Writes Policy as the trust file at Path: a [sources] section when it has sources, a [signing] section when
// it has a key; a policy that requires neither removes the file, so that every link is taken again. Raises
// ETrustError "The trust file \"path\" cannot be written: reason" when the file cannot be written or removed.
void WriteTrustPolicy(const QString& Path, const TTrustPolicy& Policy);

// The user's trust file: trust.ini in the table file's folder.
QString TrustFilePath();

// The administrator's trust file, /etc/kestrova/trust.ini unless the build names another.
QString SystemTrustFilePath();
// For tests: makes SystemTrustFilePath() return Path; an empty path restores the built-in one.
void SetSystemTrustFilePath(const QString& Path);

// The trust file in force: the system file when it exists, else the user's.
QString TrustFileInForce();
// The policy of the trust file in force.
TTrustPolicy CurrentTrustPolicy();

// The message of a broken policy: "The trust file \"path\" cannot be used: reason".
QString BrokenPolicyMessage(const TTrustPolicy& Policy);
