// Where the shared test documents live, and a skip for suites run on a clone without them.
#pragma once

#include <QDir>
#include <QFileInfo>
#include <QString>
#include <gtest/gtest.h>

inline QString testDataPath(const QString& relative) {
    return QDir(QStringLiteral(KESTROVA_TESTDATA_DIR)).filePath(relative);
}

// Skips the current test when a shared document is absent.
#define REQUIRE_TESTDATA(relative)                                                                           \
    do {                                                                                                     \
        if (!QFileInfo::exists(testDataPath(relative)))                                                      \
            GTEST_SKIP() << "shared test data not found: " << testDataPath(relative).toStdString();          \
    } while (0)
