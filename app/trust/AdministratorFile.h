// Whether the administrator's trust file can be trusted to be the administrator's: a file of its own (no
// symbolic link), which it and its folder let no one but root change, as ssh and sudo take their own files.
// A file that others may write could be emptied or swapped by any of them, so it holds no policy.
#pragma once

#include <QString>

// What makes the file at Path, which exists, no file of the administrator's alone; empty when nothing does.
QString AdministratorFileFault(const QString& Path);
