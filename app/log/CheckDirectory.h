// Makes sure that a folder exists, creating the missing levels of its path one after the other. Used for the
// log folder and the download folder; it never raises an error.
#pragma once

#include <QString>

// Path: a full path in the platform's form (drive prefix and "\" on Windows, "/" elsewhere), usually ending
// in the separator. Returns whether the whole path exists as a folder afterwards. Without Create it only
// looks. The walk stops at the first level that cannot be created; deeper levels are not tried.
bool CheckDirectory(const QString& Path, bool Create);
