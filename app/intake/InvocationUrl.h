// The invocation URL: the process's first argument after the program's own path, the link that a web page
// opened. Empty when there is none.
#pragma once

#include <QString>

QString InvocationUrl();
