#include "FilterMessages.h"

#include <cstdio>

void Tell(const char* Kind, const QString& Text) {
    // One line each: a line break inside a message would start a line that CUPS reads as a message of its
    // own.
    QString line = Text;
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    std::fprintf(stderr, "%s: %s\n", Kind, line.toUtf8().constData());
}
