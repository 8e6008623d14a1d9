// The trust policy in words, for the settings window: a few words for its status line and a sentence for
// its tooltip.
#pragma once

#include "app/trust/TrustPolicy.h"

#include <QString>

// Two short lines: "Signed" or "Not signed", then "any source" or the number of sources; "Any link" without
// a trust file, and "Broken" over "trust file" for one that refuses every link.
QString TrustStatus(const TTrustPolicy& Policy);

// Whether links must be signed, which sources are allowed, and which file says so.
QString TrustDescription(const TTrustPolicy& Policy);
