// kestrova-link end to end: the keys it makes are the keys openssl reads, the links it signs verify with
// `openssl pkeyutl -verify`, the trust files it checks are read as the program reads them, and what it
// refuses goes to standard error with its exit code. (The administrator's file: e2e TrustTest.)
#include "support/OpenSslKey.h"
#include "tests/tools/ToolRun.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <QUrlQuery>
#include <gtest/gtest.h>

namespace {

const QString Tool = QStringLiteral("kestrova-link");

TEST(KestrovaLinkTool, KeygenWritesAPrivateKeyOpenSslReadsAndPrintsItsPublicKey) {
    QTemporaryDir folder;
    const QString key = folder.filePath("signing.pem");
    const ToolRun keygen = RunTool({"keygen", key}, Tool);
    ASSERT_EQ(keygen.ExitCode, 0) << keygen.Errors.toStdString();
    EXPECT_EQ(keygen.Output, "public-key=" + OpenSslPublicKeyBase64(key) + "\n");
    EXPECT_EQ(QFile::permissions(key) &
                  (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup | QFile::WriteOther),
              QFile::Permissions());
    const QByteArray publicKey = OpenSslPublicKeyBase64(key);
    EXPECT_EQ(RunTool({"keygen", key}, Tool).ExitCode, 1);
    EXPECT_EQ(OpenSslPublicKeyBase64(key), publicKey) << "an existing key is never replaced";
}

TEST(KestrovaLinkTool, SignsTheLinkBeforeItsSignatureAsOpenSslVerifiesIt) {
    QTemporaryDir folder;
    const OpenSslKey key(folder.path());
    const qint64 before = QDateTime::currentSecsSinceEpoch();
    const ToolRun sign = RunTool({"sign", key.PrivateKeyPath(), "--module", "Desk 01/a&b", "--url",
                                  "https://erp.example.test/doc?id=7&x=ä", "--ttl", "90", "--option",
                                  "copies=1", "--option", "media=iso_a4_210x297mm"},
                                 Tool);
    ASSERT_EQ(sign.ExitCode, 0) << sign.Errors.toStdString();
    const QString link = QString::fromUtf8(sign.Output).trimmed();
    const qsizetype at = link.lastIndexOf("&signature=");
    ASSERT_GT(at, 0);
    const QByteArray signature =
        QByteArray::fromBase64(link.mid(at + 11).toLatin1(), QByteArray::Base64UrlEncoding);
    EXPECT_TRUE(OpenSslVerify(folder.path(), key.PublicKeyBase64(), link.left(at).toUtf8(), signature));
    EXPECT_FALSE(OpenSslVerify(folder.path(), key.PublicKeyBase64(), link.left(at - 1).toUtf8(), signature));

    ASSERT_TRUE(link.startsWith("kestrova://print/?"));
    const QList<QPair<QString, QString>> items =
        QUrlQuery(link.mid(18).left(at - 18)).queryItems(QUrl::FullyDecoded);
    ASSERT_EQ(items.size(), 5);
    EXPECT_EQ(items[0], (QPair<QString, QString>{"moduleaddress", "Desk 01/a&b"}));
    EXPECT_EQ(items[1], (QPair<QString, QString>{"pdfurl", "https://erp.example.test/doc?id=7&x=ä"}));
    EXPECT_EQ(items[2], (QPair<QString, QString>{"copies", "1"}));
    EXPECT_EQ(items[3], (QPair<QString, QString>{"media", "iso_a4_210x297mm"}));
    EXPECT_EQ(items[4].first, "expires");
    const qint64 expires = items[4].second.toLongLong();
    EXPECT_GE(expires, before + 90);
    EXPECT_LE(expires, QDateTime::currentSecsSinceEpoch() + 90);
}

TEST(KestrovaLinkTool, RefusesWhatItCannotDoWithItsExitCode) {
    QTemporaryDir folder;
    const OpenSslKey key(folder.path());
    QFile notKey(folder.filePath("not.pem"));
    ASSERT_TRUE(notKey.open(QIODevice::WriteOnly));
    notKey.write("not a key\n");
    notKey.close();
    const struct {
        QStringList Arguments;
        int ExitCode;
        QString Error;
    } cases[] = {
        {{}, 2, "kestrova-link: no command"},
        {{"verify"}, 2, "kestrova-link: unknown command verify"},
        {{"sign", key.PrivateKeyPath(), "--url", "https://h/a.pdf"},
         2,
         "kestrova-link: sign needs PRIVATE.pem, --module and --url"},
        {{"sign", key.PrivateKeyPath(), "--module", "M", "--url", "u", "--ttl", "0"},
         2,
         "kestrova-link: --ttl needs a positive number of seconds"},
        {{"sign", key.PrivateKeyPath(), "--module", "M", "--url", "u", "--option", "copies"},
         2,
         "kestrova-link: --option needs NAME=VALUE"},
        {{"sign", key.PrivateKeyPath(), "--module", "M", "--url", "u", "--option",
          "pdfurl=http://other/x.pdf"},
         2,
         "kestrova-link: --option cannot give pdfurl, which the link itself holds"},
        {{"sign", key.PrivateKeyPath(), "--module", "M", "--url", "u", "--option", "copies=1", "--option",
          "copies=2"},
         2,
         "kestrova-link: --option copies is given twice"},
        {{"sign", key.PrivateKeyPath(), "--module"}, 2, "kestrova-link: --module needs a value"},
        {{"sign", notKey.fileName(), "--module", "M", "--url", "u"},
         1,
         "kestrova-link: " + notKey.fileName() + " holds no Ed25519 private key in PEM"},
        {{"keygen", folder.filePath("no/such/folder/key.pem")}, 1, "kestrova-link: cannot write *"},
    };
    for (const auto& refused : cases) {
        const ToolRun run = RunTool(refused.Arguments, Tool);
        EXPECT_EQ(run.ExitCode, refused.ExitCode) << refused.Arguments.join(' ').toStdString();
        const QString firstLine = run.Errors.section('\n', 0, 0);
        if (refused.Error.endsWith('*'))
            EXPECT_TRUE(firstLine.startsWith(refused.Error.chopped(1))) << firstLine.toStdString();
        else
            EXPECT_EQ(firstLine, refused.Error);
        EXPECT_EQ(run.Output, "");
    }
}

TEST(KestrovaLinkTool, CheckSaysWhatAUsersTrustFileMeansAndWhereItsRecordIs) {
    QTemporaryDir folder;
    const QString file = folder.filePath("trust.ini");
    const auto write = [&](const QByteArray& text) {
        QFile trust(file);
        ASSERT_TRUE(trust.open(QIODevice::WriteOnly));
        trust.write(text);
    };
    write("[sources]\nallow=https://erp.example.test, http://127.0.0.1:8080\n");
    ToolRun check = RunTool({"check", file}, Tool);
    EXPECT_EQ(check.ExitCode, 0) << check.Errors.toStdString();
    EXPECT_EQ(check.Output, "trust file: " + file.toUtf8() +
                                "\nsigned links: not required\n"
                                "sources: https://erp.example.test:443, http://127.0.0.1:8080\n");

    const OpenSslKey key(folder.path());
    write("[signing]\npublic-key=" + key.PublicKeyBase64() + "\nmax-age=60\n");
    check = RunTool({"check", file}, Tool);
    EXPECT_EQ(check.ExitCode, 0) << check.Errors.toStdString();
    EXPECT_TRUE(check.Output.contains(", max-age 60 seconds\nsources: any\nrecord of used links: " +
                                      folder.filePath("used-signatures").toUtf8() + "\n"))
        << check.Output.toStdString();
}

TEST(KestrovaLinkTool, CheckNamesTheLineOfABrokenTrustFile) {
    QTemporaryDir folder;
    const QString file = folder.filePath("trust.ini");
    const OpenSslKey key(folder.path());
    const struct {
        QByteArray Text;
        QString Reason;
    } cases[] = {
        {"[signing]\npublic-key=KEY\n\n[signing]\nmax-age=60\n",
         "line 4: a second [signing] section; the first is on line 1"},
        {"[signing]\npublic-key=KEY\npublic-key=KEY\n",
         "line 3: a second public-key=; the first is on line 2"},
        {"[signing]\n-----BEGIN PUBLIC KEY-----\nKEY\n-----END PUBLIC KEY-----\n",
         "line 2: a key in PEM form; expected public-key= followed on the same line by the base64 between "
         "its "
         "BEGIN and END lines"},
    };
    for (const auto& broken : cases) {
        QFile trust(file);
        ASSERT_TRUE(trust.open(QIODevice::WriteOnly));
        trust.write(QByteArray(broken.Text).replace("KEY", key.PublicKeyBase64()));
        trust.close();
        const ToolRun check = RunTool({"check", file}, Tool);
        EXPECT_EQ(check.ExitCode, 1);
        EXPECT_EQ(check.Errors,
                  "kestrova-link: The trust file \"" + file + "\" cannot be used: " + broken.Reason + "\n");
        EXPECT_EQ(check.Output, "");
    }
    const ToolRun missing = RunTool({"check", folder.filePath("none.ini")}, Tool);
    EXPECT_EQ(missing.ExitCode, 1);
    EXPECT_EQ(missing.Errors, "kestrova-link: there is no trust file \"" + folder.filePath("none.ini") +
                                  "\"; without one every link is taken\n");
}

} // namespace
