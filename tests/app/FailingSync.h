// Makes the system's fdatasync fail with EIO, as a dying disk does, for the lifetime of the object. The test
// program's own fdatasync stands in for the C library's, for the program's code and Qt's alike.
#pragma once

class FailingSync {
public:
    FailingSync();
    ~FailingSync();
    FailingSync(const FailingSync&) = delete;
    FailingSync& operator=(const FailingSync&) = delete;
};
