#include "app/trust/TrustChange.h"

QStringList WhatItLoosens(const TTrustPolicy& Before, const TTrustPolicy& After) {
    if (!Before.Present())
        return {};
    if (!Before.Error.isEmpty())
        return {QStringLiteral("the broken file, which refuses every link, is replaced")};
    QStringList loosened;
    if (Before.RequiresSignature()) {
        if (!After.RequiresSignature())
            loosened.append(QStringLiteral("links need no signature"));
        else if (After.PublicKey != Before.PublicKey)
            loosened.append(QStringLiteral("links signed with another key are taken"));
        else if (After.MaxAge > Before.MaxAge)
            loosened.append(QStringLiteral("links may live %1 seconds instead of %2")
                                .arg(After.MaxAge)
                                .arg(Before.MaxAge));
    }
    if (Before.Sources) {
        QStringList added;
        if (After.Sources)
            for (const QString& origin : After.Sources->Origins())
                if (!Before.Sources->Origins().contains(origin))
                    added.append(origin);
        if (!After.Sources)
            loosened.append(QStringLiteral("PDFs may come from any source"));
        else if (!added.isEmpty())
            loosened.append(
                QStringLiteral("PDFs may also come from %1").arg(added.join(QStringLiteral(", "))));
    }
    return loosened;
}
