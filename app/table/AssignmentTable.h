// The printer assignment table: which printer serves which module. Its three fields, its set-up from the
// table file at start, the grid's columns, and the lookup of the printer for a module address.
#pragma once

#include "app/table/ClientDataSet.h"
#include "app/table/DataSource.h"

#include <QLockFile>

#include <functional>
#include <memory>

namespace AssignmentTable {

inline const QString fdModuleAddress = QStringLiteral("fdModuleAddress");
inline const QString fdModuleName = QStringLiteral("fdModuleName");
inline const QString fdSpecifyprintername = QStringLiteral("fdSpecifyprintername");
inline const QString IndexName = QStringLiteral("cds_ix1");
inline constexpr int FieldSize = 256;

// The table file cds.xml in the program's data folder (app/log/DataFolder.h).
QString CdsFilePath();

// Defines the three fields, loads the file when it exists and orders the rows by the unique index on the
// module address. A file that cannot be loaded raises EDatabaseError naming the file and the problem, and
// leaves the table closed, so that no later save can overwrite the file.
void SetUp(TClientDataSet& Cds, const QString& CdsFilePath);

// Holds the table file for one settings window: while it is held, no other settings window, in this process
// or another, can change the table, so that no one's rows are lost to another's save. Print jobs only read
// the table and need no hold. A process that ends lets its hold go, however it ends. Raises EDatabaseError
// "The assignment table is open in another settings window" when another window holds it.
std::unique_ptr<QLockFile> HoldForEditing(const QString& CdsFilePath);

// The grid's columns: address, name and printer with their titles and widths.
QList<TGridColumn> GridColumns();

// The note of a row whose printer, named and not empty, is not among Printers: its module prints on the
// default printer, or, for a CUPS instance not found, on its queue. Empty for any other row, and for every
// row while the printers are not known (an empty list).
QString MissingPrinterNote(const QString& PrinterName, const QStringList& Printers);

// The printer of the first row, in index order, whose address begins with ModuleAddress without regard to
// case (an empty address finds only the row "*"); that row becomes current. Without such a row, the
// printing interface's current printer, as CurrentPrinter names it (its errors pass through).
QString GetPrintName(TClientDataSet& Cds, const QString& ModuleAddress,
                     const std::function<QString()>& CurrentPrinter);

} // namespace AssignmentTable
