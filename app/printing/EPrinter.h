// The error raised by the printing interface.
#pragma once

#include "pdf/Exception.h"

class EPrinter : public Exception {
public:
    using Exception::Exception;
};
