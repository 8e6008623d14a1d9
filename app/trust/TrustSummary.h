// The trust policy in words, for the settings window: a few words for its status line and a sentence for
// its tooltip.
#pragma once

#include "app/trust/TrustPolicy.h"

#include <QString>

// "Any link", "Signed", "2 sources", "Signed, 2 src", or "Broken" for a file that refuses every link.
QString TrustStatus(const TTrustPolicy& Policy);

// Whether links must be signed, which sources are allowed, and which file says so.
QString TrustDescription(const TTrustPolicy& Policy);
