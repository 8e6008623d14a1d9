// What a new trust policy would let through that the file in force refuses, so that a policy is never
// loosened, swapped or removed without the user's word.
#pragma once

#include "app/trust/TrustPolicy.h"

#include <QStringList>

// Each way in which After takes links that Before refuses, in a few words ("links need no signature"); empty
// when After is at least as strict. A broken Before refuses every link, so any After loosens it.
QStringList WhatItLoosens(const TTrustPolicy& Before, const TTrustPolicy& After);
