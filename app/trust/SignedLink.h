// A signed link: its signature is the last parameter, "&signature=" and the base64url text (no padding) of
// the Ed25519 signature of everything before "&signature=", exactly as the link was given; among the signed
// parameters is "expires=", the Unix time in seconds after which the link is no longer taken.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

struct TSignedLink {
    QByteArray SignedText;         // the link before "&signature=", in UTF-8
    QString SignatureText;         // the signature as written in the link
    QByteArray Signature;          // its bytes; empty when the text is no base64url
    std::optional<qint64> Expires; // absent when the link has no expires or it is no number
};

// The parts of a signed link; nothing when Link carries no signature.
std::optional<TSignedLink> SplitSignedLink(const QString& Link);
