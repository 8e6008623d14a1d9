#include "app/intake/GetParamStr.h"

namespace {

constexpr char16_t quote = u'"';

bool isSeparator(QChar c) {
    return c.unicode() >= 1 && c.unicode() <= 32;
}

} // namespace

const QChar* GetParamStr(const QChar* P, QString& Param) {
    for (;;) {
        while (isSeparator(*P))
            ++P;
        if (P[0] != quote || P[1] != quote)
            break;
        P += 2;
    }
    Param.clear();
    while (P->unicode() > 32) {
        if (*P != quote) {
            Param += *P++;
            continue;
        }
        ++P;
        while (!P->isNull() && *P != quote)
            Param += *P++;
        if (!P->isNull())
            ++P;
    }
    return P;
}
