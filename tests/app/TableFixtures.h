// What the table and editor tests share: a table set up in a temporary folder with every change saved, and
// reading and writing a file whole.
#pragma once

#include "app/table/AssignmentTable.h"
#include "app/table/ClientDataSet.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

inline QByteArray readWhole(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void writeWhole(const QString& path, const QByteArray& content) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(content), content.size());
}

// Adds a row with the table's own operations (no save unless AfterPost is set).
inline void appendRow(TClientDataSet& cds, const QString& address, const QString& name,
                      const QString& printer) {
    cds.Append();
    cds.SetFieldValue(AssignmentTable::fdModuleAddress, address);
    cds.SetFieldValue(AssignmentTable::fdModuleName, name);
    cds.SetFieldValue(AssignmentTable::fdSpecifyprintername, printer);
    cds.Post();
}

// The addresses in row order.
inline QStringList addresses(const TClientDataSet& cds) {
    QStringList result;
    const int field = cds.FieldIndex(AssignmentTable::fdModuleAddress);
    for (int row = 0; row < cds.RecordCount(); ++row)
        result.append(cds.FieldValue(row, field));
    return result;
}

// A table set up as at start-up, with its file in a fresh temporary folder and every change saved at once.
class TableTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        path = folder.filePath(QStringLiteral("cds.xml"));
        AssignmentTable::SetUp(cds, path);
        SaveOnChange(cds, path);
    }

    static void SaveOnChange(TClientDataSet& table, const QString& file) {
        table.AfterPost = [file](TClientDataSet* dataSet) {
            dataSet->SaveToFile(file);
        };
        table.AfterDelete = [file](TClientDataSet* dataSet) {
            dataSet->SaveToFile(file);
        };
    }

    QTemporaryDir folder;
    QString path;
    TClientDataSet cds;
};
