// The print options a link carries beside moduleaddress and pdfurl: query parameters named as the IPP job
// attributes (copies, sides, media, ...), URL-decoded. Other parameters are not print options and stay
// ignored.
#pragma once

#include "app/options/PrintOptions.h"

#include <QString>

// The print options of the invocation URL Url, named exactly as IPP spells them; none for a link without
// them. Raises EUrlError, naming the option, on a value that does not decode or holds a control character,
// and on an option given twice.
TOptionValues LinkPrintOptions(const QString& Url);
