#include "app/trust/TrustSummary.h"

QString TrustStatus(const TTrustPolicy& Policy) {
    if (!Policy.Present())
        return QStringLiteral("Any link");
    if (!Policy.Error.isEmpty())
        return QStringLiteral("Broken\ntrust file");
    const QString signing =
        Policy.RequiresSignature() ? QStringLiteral("Signed") : QStringLiteral("Not signed");
    if (!Policy.Sources)
        return signing + QStringLiteral("\nany source");
    const qsizetype sources = Policy.Sources->Origins().size();
    return signing +
           (sources == 1 ? QStringLiteral("\n1 source") : QStringLiteral("\n%1 sources").arg(sources));
}

QString TrustDescription(const TTrustPolicy& Policy) {
    if (!Policy.Present())
        return QStringLiteral("Every link is taken: there is no trust file.");
    if (!Policy.Error.isEmpty())
        return BrokenPolicyMessage(Policy) + QStringLiteral(". Every link is refused.");
    const QString signing =
        Policy.RequiresSignature()
            ? QStringLiteral("Links must be signed and live at most %1 seconds.").arg(Policy.MaxAge)
            : QStringLiteral("Links need no signature.");
    const QString sources =
        !Policy.Sources ? QStringLiteral("PDFs may come from any source.")
        : Policy.Sources->Origins().isEmpty()
            ? QStringLiteral("No source is allowed.")
            : QStringLiteral("PDFs only from: %1.").arg(Policy.Sources->Origins().join(QStringLiteral(", ")));
    return QStringLiteral("%1 %2 (%3)").arg(signing, sources, Policy.FilePath);
}
