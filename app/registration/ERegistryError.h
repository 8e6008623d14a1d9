// The error raised when the protocol registration cannot store a value it has begun to write.
#pragma once

#include "pdf/Exception.h"

class ERegistryError : public Exception {
public:
    using Exception::Exception;
};
