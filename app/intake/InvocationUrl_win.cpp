#include "app/intake/InvocationUrl.h"

#include "app/intake/GetParamStr.h"

#include <windows.h>

// The platform hands over one command line: its first token is the program's path, the second the link.
QString InvocationUrl() {
    const QString commandLine = QString::fromWCharArray(GetCommandLineW());
    QString token;
    GetParamStr(GetParamStr(commandLine.constData(), token), token);
    return token;
}
