// Splits an invocation URL into its parts and builds the URI shown to the user from them.
#pragma once

#include <QString>

struct TUriParts {
    QString Protocol;
    QString UserName;
    QString Password;
    QString Host;
    QString Port;
    QString Path;
    QString Document;
    QString Params;
    QString Bookmark;
    bool IPv6 = false;
};

// Backslashes after the scheme become slashes up to the query; the first "://" anywhere divides the protocol
// from the rest. Never fails.
TUriParts SplitUri(const QString& Uri);

// Protocol "://" host [":" port] path document ["?" params]; the port only when it is not the protocol's
// default. Raises EUrlError when Protocol or Host is empty.
QString RebuildUri(const TUriParts& Parts);
