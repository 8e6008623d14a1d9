#include "app/trust/AdministratorFile.h"

// On Windows the administrator guards the file with the folder's access control list, which the program
// does not judge.
QString AdministratorFileFault(const QString&) {
    return QString();
}
