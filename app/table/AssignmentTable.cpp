#include "app/table/AssignmentTable.h"

#include "app/log/DataFolder.h"
#include "app/printing/Printer.h"

#include <QFileInfo>

namespace AssignmentTable {

namespace {

void loadFile(TClientDataSet& cds, const QString& path) {
    cds.LoadFromFile(path);
    for (const QString& field : {fdModuleAddress, fdModuleName, fdSpecifyprintername})
        if (cds.FieldIndex(field) < 0)
            throw EDatabaseError(QStringLiteral("it has no field %1").arg(field));
}

} // namespace

QString CdsFilePath() {
    return DataFolder::Path() + QStringLiteral("cds.xml");
}

void SetUp(TClientDataSet& Cds, const QString& CdsFilePath) {
    Cds.Close();
    Cds.ClearFieldDefs();
    for (const QString& field : {fdModuleAddress, fdModuleName, fdSpecifyprintername})
        Cds.AddFieldDef(field, FieldSize);
    Cds.CreateDataSet();
    try {
        if (QFileInfo::exists(CdsFilePath))
            loadFile(Cds, CdsFilePath);
        Cds.AddIndex(IndexName, fdModuleAddress);
    } catch (const EDatabaseError& error) {
        Cds.Close();
        throw EDatabaseError(
            QStringLiteral("Cannot load the table file \"%1\": %2").arg(CdsFilePath, error.Message()));
    }
    Cds.SetIndexName(IndexName);
}

std::unique_ptr<QLockFile> HoldForEditing(const QString& CdsFilePath) {
    auto hold = std::make_unique<QLockFile>(CdsFilePath + QStringLiteral(".lock"));
    hold->setStaleLockTime(0); // a settings window may stay open for days
    if (!hold->tryLock(0)) {
        if (hold->error() == QLockFile::LockFailedError)
            throw EDatabaseError(QStringLiteral("The assignment table is open in another settings window"));
        // Where no lock can be made, neither can the table be saved: its save will say why.
        return nullptr;
    }
    return hold;
}

QList<TGridColumn> GridColumns() {
    return {{fdModuleAddress, QStringLiteral("Module Address"), 82},
            {fdModuleName, QStringLiteral("Module Name"), 107},
            {fdSpecifyprintername, QStringLiteral("Specify printer name"), 154}};
}

QString MissingPrinterNote(const QString& PrinterName, const QStringList& Printers) {
    if (PrinterName.isEmpty() || Printers.isEmpty() || FindPrinter(Printers, PrinterName) >= 0)
        return {};
    if (const int queue = FindJobPrinter(Printers, PrinterName); queue >= 0)
        return QStringLiteral("The instance \"%1\" was not found: this module prints on \"%2\" with its own "
                              "options")
            .arg(PrinterName, Printers[queue]);
    return QStringLiteral("The printer \"%1\" does not exist: this module prints on the default printer")
        .arg(PrinterName);
}

QString GetPrintName(TClientDataSet& Cds, const QString& ModuleAddress,
                     const std::function<QString()>& CurrentPrinter) {
    if (Cds.Locate(fdModuleAddress, ModuleAddress, loCaseInsensitive | loPartialKey))
        return Cds.FieldValue(fdSpecifyprintername);
    return CurrentPrinter();
}

} // namespace AssignmentTable
