// The name under which a downloaded document is saved: the last segment of its address.
#pragma once

#include <QString>

// The text after the last "\", ":" or "/" of Address, query included; Address itself when it holds none.
QString ExtractUrlFileName(const QString& Address);
