// The web origins a PDF may come from: scheme, host and port, compared after normalising case, default ports
// and percent-encoding, so that "HTTPS://Erp.Example.test:443/" and "https://erp.example.test" are one
// origin.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

class TAllowedSources {
public:
    // Reads a list of origins, each an http or https address with a host and nothing after its port but an
    // optional "/". Raises ETrustError naming the first entry that is no such origin.
    static TAllowedSources Parse(const QStringList& Entries);

    // Whether Url lies within one of the origins. An address with user information never does: what a reader
    // takes for its host may be another's user name.
    bool Allows(const QUrl& Url) const;

    // The origins in their normal form, "scheme://host:port", in the order given.
    QStringList Origins() const { return FOrigins; }

private:
    QStringList FOrigins;
};

// Url's origin in its normal form, or an empty text when Url is no http or https address with a host.
QString NormalOrigin(const QUrl& Url);
