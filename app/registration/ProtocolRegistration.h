// The registration of the program's URL protocol with the system, so that opening a link of the protocol
// starts the executable with the whole link as its only argument. Windows keeps it in the registry under
// HKEY_CLASSES_ROOT; elsewhere it is a desktop entry of the current user that is the default handler of the
// protocol's x-scheme-handler type. An installed package's program has the package's system-wide entry
// (kestrova.desktop) instead: its registration is that entry being the user's default handler.
#pragma once

#include <QString>

// True when the registration of protocol Key exists and the current user may change it (elsewhere than on
// Windows: and it is the protocol's default handler; for the installed program, when the package's entry is).
bool IsExistRegistryKey(const QString& Key);

// Registers protocol Key for the executable at ExecutablePath. A registration that may not be created or
// opened for writing is left alone without a message; a value that cannot be stored raises ERegistryError
// "Failed to set data for '<value name>'".
void RegisterProtocol(const QString& Key, const QString& ExecutablePath);
