// The error raised when the job's document cannot be fetched or saved.
#pragma once

#include "pdf/Exception.h"

class EDownloadError : public Exception {
public:
    using Exception::Exception;
};
