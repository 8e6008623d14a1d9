// The trust file as a job reads it: what each setting becomes, that a file that does not parse as a whole or
// sets nothing refuses every link with a message naming the file and the line, that the administrator's file
// alone holds where it exists, and that the settings dialog writes only what a job can read.
#include "app/trust/TrustPolicy.h"
#include "TrustFixtures.h"

#include "app/trust/ETrustError.h"
#include "app/trust/LinkCheck.h"
#include "app/trust/TrustSummary.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

// The public key of an X25519 key: a real key, but not one that signs.
const QByteArray X25519Key = "MCowBQYDK2VuAyEAAAECAwQFBgcICQoLDA0ODxAREhMUFRYXGBkaGxwdHh8=";

class TrustFile : public TrustFolder {
protected:
    QString UserFile() const { return Folder.filePath("trust.ini"); }
};

struct FileCase {
    const char* Name;
    QByteArray Text; // "KEY" stands for the base64 of a real Ed25519 public key, here and in Error
    QString Error;   // empty: the file is taken
    QString Status = QStringLiteral("Broken\ntrust file"); // as the settings window shows it
};

void PrintTo(const FileCase& c, std::ostream* os) {
    *os << c.Name;
}

class TrustFileReads : public TrustFile, public testing::WithParamInterface<FileCase> {};

TEST_P(TrustFileReads, AsAJobTakesIt) {
    const FileCase& file = GetParam();
    Write(UserFile(), QByteArray(file.Text).replace("KEY", Key.PublicKeyBase64()));
    const TTrustPolicy policy = CurrentTrustPolicy();
    EXPECT_EQ(policy.FilePath, UserFile());
    EXPECT_EQ(policy.Error, QString(file.Error).replace("KEY", Key.PublicKeyBase64()));
    EXPECT_EQ(TrustStatus(policy), file.Status);
    if (!file.Error.isEmpty()) {
        try {
            CheckLink(policy, "kestrova://print/?pdfurl=x", 0, Folder.filePath("used-signatures"));
            ADD_FAILURE() << "a broken policy took a link";
        } catch (const ETrustError& error) {
            EXPECT_EQ(
                error.Message(),
                QStringLiteral("The trust file \"%1\" cannot be used: %2").arg(UserFile(), policy.Error));
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
        FileCase{"EmptyList", "[sources]\nallow=\n", "", "Not signed\n0 sources"},
        FileCase{"WindowsLineEnds", "[sources]\r\nallow=https://erp.example.test\r\n", "",
                 "Not signed\n1 source"},
        FileCase{"Empty", "",
                 "the file sets nothing; expected [sources] with allow= or [signing] with public-key="},
        FileCase{"CommentsOnly", "; to do\n\n",
                 "the file sets nothing; expected [sources] with allow= or [signing] with public-key="},
        FileCase{
            "ProseOnly", "Print only from the ERP, please.\n",
            "line 1: \"Print only from the ERP, please.\" is no setting; expected [section], name=value or "
            "a comment"},
        FileCase{"BinaryBytes",
                 QByteArray("\x7f"
                            "ELF\x02\x01\0\n",
                            8),
                 "line 1: a line of binary bytes; expected [section], name=value or a comment"},
        FileCase{"SectionOnly", "[sources]\n", "line 1: [sources] sets nothing; expected allow="},
        FileCase{
            "AllowWithAColon", "[sources]\nallow: https://erp.example.test\n",
            "line 2: \"allow: https://erp.example.test\" is no setting; expected [section], name=value or "
            "a comment"},
        FileCase{"CutAfterItsAllowLine", "[sources]\nallow=https://erp.example.test\n[signing]\n",
                 "line 3: [signing] sets nothing; expected public-key= or max-age="},
        FileCase{"CutInALine", "[sources]\nallow=https://erp.example.test\n[signing]\npublic-key=MCow",
                 "line 4: the line has no line end; the file was cut short"},
        FileCase{"MaxAgeWithoutKey", "[signing]\nmax-age=60\n", "line 1: [signing] sets no public-key="},
        FileCase{"TwoSigningSections", "[signing]\npublic-key=KEY\n[signing]\nmax-age=60\n",
                 "line 3: a second [signing] section; the first is on line 1"},
        FileCase{"TwoKeys", "[signing]\npublic-key=KEY\npublic-key=KEY\n",
                 "line 3: a second public-key=; the first is on line 2"},
        FileCase{"KeyInPemForm",
                 "[signing]\npublic-key=\n-----BEGIN PUBLIC KEY-----\nKEY\n-----END PUBLIC KEY-----\n",
                 "line 3: a key in PEM form; expected public-key= followed on the same line by the base64 "
                 "between its BEGIN and END lines"},
        FileCase{"KeyOnTheNextLine", "[signing]\npublic-key=\nKEY\n",
                 "line 3: \"KEY\" is base64 on a line of its own; expected public-key= followed on the same "
                 "line by the key"},
        FileCase{"UnknownSection", "[trust]\nallow=https://erp.example.test\n",
                 "line 1: unknown section \"[trust]\"; expected [sources] or [signing]"},
        FileCase{"MisspeltKey", "[signing]\npublickey=KEY\n",
                 "line 2: unknown setting \"publickey\" in [signing]; expected public-key= or max-age="},
        FileCase{"KeyOutsideItsSection", "public-key=KEY\n",
                 "line 1: public-key= stands outside a section; expected it under [signing]"},
        FileCase{"KeyNotBase64", "[signing]\npublic-key=MCow*BQ\n",
                 "line 2: public-key is no Ed25519 public key in base64"},
        FileCase{"KeyThatDoesNotSign", "[signing]\npublic-key=" + X25519Key + "\n",
                 "line 2: public-key is no Ed25519 public key in base64"},
        FileCase{"MaxAgeZero", "[signing]\npublic-key=KEY\nmax-age=0\n",
                 "line 3: max-age \"0\" is no positive number of seconds"},
        FileCase{"MaxAgeInWords", "[signing]\npublic-key=KEY\nmax-age=five minutes\n",
                 "line 3: max-age \"five minutes\" is no positive number of seconds"},
        FileCase{"MaxAgeThatOverflows", "[signing]\npublic-key=KEY\nmax-age=9223372036854775807\n",
                 "line 3: max-age \"9223372036854775807\" is longer than a day (86400 seconds)"},
        FileCase{"SourceWithPath", "[sources]\nallow=https://erp.example.test/print\n",
                 "line 2: \"https://erp.example.test/print\" is not an origin (scheme://host[:port])"}),
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
    EXPECT_EQ(CurrentTrustPolicy().Error, "it is no regular file");
    ASSERT_TRUE(QDir().rmdir(UserFile()));
    ASSERT_TRUE(QFile::link(Folder.filePath("gone.ini"), UserFile()));
    const TTrustPolicy dangling = CurrentTrustPolicy();
    EXPECT_EQ(dangling.FilePath, UserFile());
    EXPECT_EQ(dangling.Error, "it is no regular file");
    ASSERT_TRUE(QFile::remove(UserFile()));
    ASSERT_TRUE(QFile::link("/etc/passwd", UserFile()));
    EXPECT_TRUE(CurrentTrustPolicy().Error.startsWith("line 1: "))
        << CurrentTrustPolicy().Error.toStdString();
    ASSERT_TRUE(QFile::remove(UserFile()));
    Write(UserFile(), "[sources]\nallow=https://erp.example.test\n" + QByteArray(64 * 1024, ';') + "\n");
    EXPECT_EQ(CurrentTrustPolicy().Error, "it is larger than 64 KiB");
}

// The administrator's file holds for every user; the user's own can neither loosen nor tighten it. Its owner
// and mode are checked end to end (TrustTest), in namespaces of their own.
TEST_F(TrustFile, OfTheAdministratorAloneHoldsWhereItExists) {
    if (getuid() != 0)
        GTEST_SKIP() << "the administrator's file is taken only from root";
    Write(UserFile(), "[sources]\nallow=https://user.example.test\n");
    WriteSystemFile("[signing]\npublic-key=" + Key.PublicKeyBase64() + "\n");
    TTrustPolicy policy = CurrentTrustPolicy();
    EXPECT_EQ(policy.FilePath, SystemTrustFilePath());
    EXPECT_TRUE(policy.RequiresSignature());
    EXPECT_FALSE(policy.Sources);

    EXPECT_EQ(UsedSignatures::RecordPath(), Folder.filePath("var/used-signatures")) << "one for the machine";

    WriteSystemFile("[signing]\npublic-key=broken\n");
    policy = CurrentTrustPolicy();
    EXPECT_EQ(policy.FilePath, SystemTrustFilePath());
    EXPECT_FALSE(policy.Error.isEmpty());
    ASSERT_TRUE(QFile::setPermissions(SystemTrustFilePath(), QFile::ReadOwner | QFile::WriteOwner |
                                                                 QFile::ReadOther | QFile::WriteOther));
    EXPECT_TRUE(CurrentTrustPolicy().Error.startsWith("it may be written by others than root (mode 0606)"))
        << CurrentTrustPolicy().Error.toStdString();

    ASSERT_TRUE(QFile::remove(SystemTrustFilePath()));
    EXPECT_EQ(CurrentTrustPolicy().FilePath, UserFile());
    EXPECT_EQ(UsedSignatures::RecordPath(), Folder.filePath("used-signatures")) << "one for the user";
}

TEST_F(TrustFile, WrittenAsTheJobReadsItBack) {
    WriteTrustPolicy(UserFile(),
                     TrustPolicyOf(QStringList{"HTTPS://Erp.example.test", "http://127.0.0.1:8080/"},
                                   Key.PublicKeyBase64(), 120));
    const TTrustPolicy policy = CurrentTrustPolicy();
    EXPECT_EQ(policy.Error, "");
    ASSERT_TRUE(policy.Sources);
    EXPECT_EQ(policy.Sources->Origins(),
              (QStringList{"https://erp.example.test:443", "http://127.0.0.1:8080"}));
    EXPECT_EQ(policy.PublicKey.toBase64(), Key.PublicKeyBase64());
    EXPECT_EQ(policy.MaxAge, 120);

    WriteTrustPolicy(UserFile(), TrustPolicyOf(std::nullopt, QString(), 300));
    EXPECT_FALSE(QFile::exists(UserFile())) << "a policy that requires nothing is no file";
}

TEST_F(TrustFile, WithInputThatDoesNotParseMakesNoPolicy) {
    const QList<std::function<void()>> policies{
        [&] { TrustPolicyOf(QStringList{"erp.example.test"}, QString(), 300); },
        [&] { TrustPolicyOf(std::nullopt, QString::fromLatin1(X25519Key), 300); },
        [&] {
            TrustPolicyOf(std::nullopt, QString::fromLatin1(Key.PublicKeyBase64()), 0);
        }};
    for (const auto& policy : policies)
        EXPECT_THROW(policy(), ETrustError);
}

} // namespace
