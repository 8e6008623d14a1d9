// What the trust tests share: an executable folder of their own, where the user's trust file lies, an
// administrator's trust file path inside it, and an Ed25519 key made by openssl.
#pragma once

#include "app/log/DataFolder.h"
#include "app/trust/TrustPolicy.h"
#include "support/OpenSslKey.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

class TrustFolder : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Folder.isValid());
        DataFolder::SetPath(Folder.path());
        SetSystemTrustFilePath(Folder.filePath("etc/trust.ini"));
        ASSERT_FALSE(Key.PublicKeyBase64().isEmpty()) << "openssl made no key";
    }
    void TearDown() override {
        DataFolder::SetPath(QString());
        SetSystemTrustFilePath(QString());
    }

    // Writes Text to the file Path, making its folder.
    static void Write(const QString& path, const QByteArray& text) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    QTemporaryDir Folder;
    OpenSslKey Key{Folder.path()};
};
