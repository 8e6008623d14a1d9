// The three commands of the settings window on the assignment table: Append and Editor through the editor
// dialog, which reopens with the typed values after every failed post until a post succeeds or the user
// closes it; Delete at once, without asking.
#pragma once

#include "app/table/ClientDataSet.h"

#include <QStringList>

class QWidget;

namespace AssignmentCommands {

// Printers: the printer list, in the system's order. MainForm: the window the dialog is centred on.
void Append(TClientDataSet& Cds, const QStringList& Printers, QWidget* MainForm);

// Does nothing on an empty table.
void Editor(TClientDataSet& Cds, const QStringList& Printers, QWidget* MainForm);

// Does nothing on an empty table; an error of the delete or its save leaves it.
void Delete(TClientDataSet& Cds);

} // namespace AssignmentCommands
