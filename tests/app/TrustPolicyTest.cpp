// The trust file as a job reads it: what each setting becomes, that whatever does not parse refuses every
// link with a message naming the file, that the administrator's file alone holds where it exists, and that
// the settings dialog writes only what a job can read.
#include "app/trust/TrustPolicy.h"
#include "TrustFixtures.h"

#include "app/trust/ETrustError.h"
#include "app/trust/LinkCheck.h"
#include "app/trust/TrustSummary.h"

#include <gtest/gtest.h>

namespace {

// The public key of an X25519 key: a real key, but not one that signs.
const QByteArray X25519Key = "MCowBQYDK2VuAyEAAAECAwQFBgcICQoLDA0ODxAREhMUFRYXGBkaGxwdHh8=";

class TrustFile : public TrustFolder {
protected:
    QString UserFile() const { return Folder.filePath("trust.ini"); }
};

struct FileCase {
    const char* Name;
    QByteArray Text; // "KEY" stands for the base64 of a real Ed25519 public key
    QString Error;   // empty: the file is taken
    QString Status;  // as the settings window shows it
};

class TrustFileReads : public TrustFile, public testing::WithParamInterface<FileCase> {};

TEST_P(TrustFileReads, AsAJobTakesIt) {
    const FileCase& file = GetParam();
    Write(UserFile(), QByteArray(file.Text).replace("KEY", Key.PublicKeyBase64()));
    const TTrustPolicy policy = CurrentTrustPolicy();
    EXPECT_EQ(policy.FilePath, UserFile());
    EXPECT_EQ(policy.Error, file.Error);
    EXPECT_EQ(TrustStatus(policy), file.Status);
    if (!file.Error.isEmpty()) {
        try {
            CheckLink(policy, "kestrova://print/?pdfurl=x", 0, Folder.filePath("used-signatures"));
            ADD_FAILURE() << "a broken policy took a link";
        } catch (const ETrustError& error) {
            EXPECT_EQ(error.Message(),
                      QStringLiteral("The trust file \"%1\" cannot be read: %2").arg(UserFile(), file.Error));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, TrustFileReads,
    testing::Values(
        FileCase{"WithComments",
                 "[sources]\nallow=https://erp.example.test, http://127.0.0.1:8080\n[signing]\n"
                 "public-key=KEY      ; the key\nmax-age=300 ; seconds\n",
                 "", "Signed\n2 sources"},
        FileCase{"SourcesOnly", "[sources]\nallow=https://erp.example.test\n", "", "Not signed\n1 source"},
        FileCase{"KeyOnly", "[signing]\npublic-key=KEY\n", "", "Signed\nany source"},
        FileCase{"Empty", "", "", "Not signed\nany source"},
        FileCase{"EmptyList", "[sources]\nallow=\n", "", "Not signed\n0 sources"},
        FileCase{"MisspeltKey", "[signing]\npublickey=KEY\n", "unknown key \"signing/publickey\"",
                 "Broken\ntrust file"},
        FileCase{"KeyOutsideItsSection", "public-key=KEY\n", "unknown key \"public-key\"",
                 "Broken\ntrust file"},
        FileCase{"KeyNotBase64", "[signing]\npublic-key=MCow*BQ\n",
                 "public-key is no Ed25519 public key in base64", "Broken\ntrust file"},
        FileCase{"KeyThatDoesNotSign", "[signing]\npublic-key=" + X25519Key + "\n",
                 "public-key is no Ed25519 public key in base64", "Broken\ntrust file"},
        FileCase{"MaxAgeZero", "[signing]\npublic-key=KEY\nmax-age=0\n",
                 "max-age \"0\" is no positive number of seconds", "Broken\ntrust file"},
        FileCase{"MaxAgeInWords", "[signing]\npublic-key=KEY\nmax-age=five minutes\n",
                 "max-age \"five minutes\" is no positive number of seconds", "Broken\ntrust file"},
        FileCase{"MaxAgeThatOverflows", "[signing]\npublic-key=KEY\nmax-age=9223372036854775807\n",
                 "max-age \"9223372036854775807\" is longer than a day (86400 seconds)",
                 "Broken\ntrust file"},
        FileCase{"SourceWithPath", "[sources]\nallow=https://erp.example.test/print\n",
                 "\"https://erp.example.test/print\" is not an origin (scheme://host[:port])",
                 "Broken\ntrust file"}),
    [](const testing::TestParamInfo<FileCase>& info) { return std::string(info.param.Name); });

TEST_F(TrustFile, NoneTakesEveryLink) {
    const TTrustPolicy policy = CurrentTrustPolicy();
    EXPECT_FALSE(policy.Present());
    EXPECT_NO_THROW(CheckLink(policy, "kestrova://print/?pdfurl=x", 0, Folder.filePath("used-signatures")));
    EXPECT_FALSE(SourceFilter(policy));
    EXPECT_EQ(TrustStatus(policy), "Any link");
}

TEST_F(TrustFile, ThatCannotBeReadRefusesEveryLink) {
    ASSERT_TRUE(QDir().mkpath(UserFile())); // a folder where the file should be
    EXPECT_FALSE(CurrentTrustPolicy().Error.isEmpty());
    ASSERT_TRUE(QDir().rmdir(UserFile()));
    ASSERT_TRUE(QFile::link(Folder.filePath("gone.ini"), UserFile()));
    const TTrustPolicy dangling = CurrentTrustPolicy();
    EXPECT_EQ(dangling.FilePath, UserFile());
    EXPECT_FALSE(dangling.Error.isEmpty());
}

// The administrator's file holds for every user; the user's own can neither loosen nor tighten it.
TEST_F(TrustFile, OfTheAdministratorAloneHoldsWhereItExists) {
    Write(UserFile(), "[sources]\nallow=https://user.example.test\n");
    Write(SystemTrustFilePath(), "[signing]\npublic-key=" + Key.PublicKeyBase64() + "\n");
    TTrustPolicy policy = CurrentTrustPolicy();
    EXPECT_EQ(policy.FilePath, SystemTrustFilePath());
    EXPECT_TRUE(policy.RequiresSignature());
    EXPECT_FALSE(policy.Sources);

    Write(SystemTrustFilePath(), "[signing]\npublic-key=broken\n");
    policy = CurrentTrustPolicy();
    EXPECT_EQ(policy.FilePath, SystemTrustFilePath());
    EXPECT_FALSE(policy.Error.isEmpty());

    ASSERT_TRUE(QFile::remove(SystemTrustFilePath()));
    EXPECT_EQ(CurrentTrustPolicy().FilePath, UserFile());
}

TEST_F(TrustFile, WrittenAsTheJobReadsItBack) {
    WriteTrustPolicy(UserFile(), QStringList{"HTTPS://Erp.example.test", "http://127.0.0.1:8080/"},
                     Key.PublicKeyBase64(), 120);
    const TTrustPolicy policy = CurrentTrustPolicy();
    EXPECT_EQ(policy.Error, "");
    ASSERT_TRUE(policy.Sources);
    EXPECT_EQ(policy.Sources->Origins(),
              (QStringList{"https://erp.example.test:443", "http://127.0.0.1:8080"}));
    EXPECT_EQ(policy.PublicKey.toBase64(), Key.PublicKeyBase64());
    EXPECT_EQ(policy.MaxAge, 120);

    WriteTrustPolicy(UserFile(), std::nullopt, QString(), 300);
    EXPECT_FALSE(QFile::exists(UserFile())) << "a policy that requires nothing is no file";
}

TEST_F(TrustFile, WithInputThatDoesNotParseIsNotWritten) {
    Write(UserFile(), "[sources]\nallow=https://erp.example.test\n");
    const QList<std::function<void()>> writes{
        [&] { WriteTrustPolicy(UserFile(), QStringList{"erp.example.test"}, QString(), 300); },
        [&] { WriteTrustPolicy(UserFile(), std::nullopt, QString::fromLatin1(X25519Key), 300); },
        [&] {
            WriteTrustPolicy(UserFile(), std::nullopt, QString::fromLatin1(Key.PublicKeyBase64()), 0);
        }};
    for (const auto& write : writes)
        EXPECT_THROW(write(), ETrustError);
    EXPECT_EQ(CurrentTrustPolicy().Sources->Origins(), QStringList{"https://erp.example.test:443"});
}

} // namespace
