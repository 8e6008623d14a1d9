// Hands what a file holds to the disk itself, so that a save is reported done only once its bytes survive a
// power cut. Qt's own commit ignores a failed sync; a table save must not.
#pragma once

#include <QFileDevice>

// Syncs the data of the open File. On failure returns false and the system's text for the error in Problem.
bool SyncToDisk(QFileDevice& File, QString& Problem);
