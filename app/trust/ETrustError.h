// The error raised when a link is refused by the trust policy, or when the policy itself cannot be read.
#pragma once

#include "pdf/Exception.h"

class ETrustError : public Exception {
public:
    using Exception::Exception;
};
