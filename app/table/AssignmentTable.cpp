#include "app/table/AssignmentTable.h"

#include "app/log/ExecutableFolder.h"

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
    return ExecutableFolder::Path() + QStringLiteral("cds.xml");
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

QList<TGridColumn> GridColumns() {
    return {{fdModuleAddress, QStringLiteral("Module Address"), 82},
            {fdModuleName, QStringLiteral("Module Name"), 107},
            {fdSpecifyprintername, QStringLiteral("Specify printer name"), 154}};
}

QString GetPrintName(TClientDataSet& Cds, const QString& ModuleAddress,
                     const std::function<QString()>& CurrentPrinter) {
    if (Cds.Locate(fdModuleAddress, ModuleAddress, loCaseInsensitive | loPartialKey))
        return Cds.FieldValue(fdSpecifyprintername);
    return CurrentPrinter();
}

} // namespace AssignmentTable
