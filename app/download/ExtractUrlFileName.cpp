#include "app/download/ExtractUrlFileName.h"

QString ExtractUrlFileName(const QString& Address) {
    qsizetype i = Address.size();
    while (i > 0 && Address[i - 1] != u'\\' && Address[i - 1] != u':' && Address[i - 1] != u'/')
        --i;
    return Address.mid(i);
}
