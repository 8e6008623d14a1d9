#include "app/intake/InvocationUrl.h"

#include <QCoreApplication>
#include <QStringList>

// The platform splits the command line itself, so its first argument after the program's path is the token
// that the command-line reader would return second.
QString InvocationUrl() {
    return QCoreApplication::arguments().value(1);
}
