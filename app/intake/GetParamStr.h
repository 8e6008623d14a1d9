// Reads one token of a whole command line, as the platform hands it over where it does not split it itself:
// separators are the characters U+0001 to U+0020, double quotes group characters and are dropped, and an
// empty pair of quotes counts as a separator.
#pragma once

#include <QChar>
#include <QString>

// P points into a NUL-terminated text. Fills Param with the next token and returns the position just after
// it.
const QChar* GetParamStr(const QChar* P, QString& Param);
