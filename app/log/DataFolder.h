// The folder where the program keeps its files: the table cds.xml, the download folder DownFile/, the run
// log log/ and trust.ini. It is the executable's folder when the user may write there, as for a copy
// unpacked anywhere; otherwise, as for an installed package, the user's data folder
// ($XDG_DATA_HOME/kestrova, else ~/.local/share/kestrova). Tests point it at a temporary folder so that
// nothing is written beside the test binary or into a home.
#pragma once

#include <QString>

namespace DataFolder {

// The folder in the platform's form, ending in its separator. The user's data folder is created when missing.
QString Path();

// The folder for an executable in ExecutableFolder: that folder when the user may write there and it is not
// an installed program's, else the user's data folder.
QString FolderFor(const QString& ExecutableFolder);

// Makes Path() return this folder (a separator is appended when missing); an empty folder restores the
// choice above for the executable's own folder.
void SetPath(const QString& folder);

} // namespace DataFolder
