// What the trust tests share: an executable folder of their own, where the user's trust file lies, an
// administrator's trust file path and the machine's record folder inside it, and an Ed25519 key made by
// openssl.
#pragma once

#include "app/log/DataFolder.h"
#include "app/trust/TrustPolicy.h"
#include "app/trust/UsedSignatures.h"
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
        UsedSignatures::SetMachineRecordFolder(Folder.filePath("var"));
        ASSERT_FALSE(Key.PublicKeyBase64().isEmpty()) << "openssl made no key";
    }
    void TearDown() override {
        DataFolder::SetPath(QString());
        SetSystemTrustFilePath(QString());
        UsedSignatures::SetMachineRecordFolder(QString());
    }

    // Writes Text to the file Path, making its folder.
    static void Write(const QString& path, const QByteArray& text) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    // Writes the administrator's file as an administrator would: only its owner may change it or its folder.
    // Taken as the administrator's only where the tests run as root.
    void WriteSystemFile(const QByteArray& text) {
        Write(SystemTrustFilePath(), text);
        const auto readable = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;
        QFile::setPermissions(SystemTrustFilePath(), readable);
        QFile::setPermissions(QFileInfo(SystemTrustFilePath()).absolutePath(),
                              readable | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther);
    }

    QTemporaryDir Folder;
    OpenSslKey Key{Folder.path()};
};
