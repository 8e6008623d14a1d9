// Lets GoogleTest show Qt texts as texts in its failure messages.
#pragma once

#include <QString>
#include <QStringList>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QStringList& texts, std::ostream* os) {
    *os << '{';
    for (qsizetype i = 0; i < texts.size(); ++i) {
        *os << (i ? ", " : "");
        PrintTo(texts[i], os);
    }
    *os << '}';
}
