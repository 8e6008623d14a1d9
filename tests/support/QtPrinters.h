// Lets GoogleTest show Qt's values as Qt's debug stream shows them (a text quoted, a size as QSize(2, 3), an
// image by its size and format) in test parameters and failure messages, where it would show their bytes.
// Every test source includes it first (tests/CMakeLists.txt), so that a value prints alike in every test.
#pragma once

#include <QDebug>
#include <QString>
#include <ostream>

template <typename Value>
requires requires(QDebug debug, const Value& value) {
    debug << value;
}
void PrintTo(const Value& value, std::ostream* os) {
    QString text;
    QDebug(&text).nospace() << value;
    *os << text.toStdString();
}
