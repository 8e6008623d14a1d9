// The error raised when an invocation URL cannot be split or its parameters cannot be decoded.
#pragma once

#include "pdf/Exception.h"

class EUrlError : public Exception {
public:
    using Exception::Exception;
};
