// A signed link checked in the process at a fixed time, and the record of used signatures that several
// processes share: what it keeps, what it drops, and what it makes of a record that was damaged.
#include "app/trust/ETrustError.h"
#include "app/trust/LinkCheck.h"
#include "app/trust/SignedLink.h"
#include "app/trust/UsedSignatures.h"
#include "support/OpenSslKey.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

constexpr qint64 Now = 1'800'000'000;

class TrustLink : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Folder.isValid());
        Policy.FilePath = Folder.filePath("trust.ini");
        Policy.PublicKey = QByteArray::fromBase64(Key.PublicKeyBase64());
        ASSERT_FALSE(Policy.PublicKey.isEmpty()) << "openssl made no key";
    }

    // The message CheckLink refuses Link with; empty when it takes it.
    QString Refusal(const QString& link) {
        try {
            CheckLink(Policy, link, Now, Record());
            return QString();
        } catch (const ETrustError& error) {
            return error.Message();
        }
    }
    QString Record() const { return Folder.filePath("used-signatures"); }
    QByteArray RecordText() const {
        QFile file(Record());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir Folder;
    OpenSslKey Key{Folder.path()};
    TTrustPolicy Policy;
};

const QString Plain = QStringLiteral("kestrova://print/?moduleaddress=Desk&pdfurl=http%3A%2F%2Fh%2Fa.pdf");

TEST_F(TrustLink, IsTakenOnceWhileItLives) {
    const QString link = Key.SignedLink(Plain + "&expires=" + QString::number(Now + 300));
    EXPECT_EQ(Refusal(link), "");
    EXPECT_EQ(Refusal(link), "The link was used before");
}

TEST_F(TrustLink, IsRefusedWithTheReason) {
    const struct {
        QString Link;
        QString Message;
    } cases[] = {
        {Plain, "The link is not signed"},
        {Plain + "&expires=" + QString::number(Now + 60) + "&signature=", "The link is not signed"},
        {Plain + "&expires=" + QString::number(Now + 60) + "&signature=%%%",
         "The link's signature does not match"},
        {Key.SignedLink(Plain + "&expires=" + QString::number(Now + 60)) + "=",
         "The link's signature does not match"},
        {Key.SignedLink(Plain + "&expires=" + QString::number(Now + 60)) + "#top",
         "The link's signature does not match"},
        {Key.SignedLink(Plain), "The link carries no expiry time"},
        {Key.SignedLink(Plain + "&expires=+" + QString::number(Now + 60)), "The link carries no expiry time"},
        {Key.SignedLink(Plain + "&expires=" + QString::number(Now)), "The link has expired"},
        {Key.SignedLink(Plain + "&expires=" + QString::number(Now + 301)),
         "The link expires more than 300 seconds ahead"},
    };
    for (const auto& refused : cases)
        EXPECT_EQ(Refusal(refused.Link), refused.Message) << refused.Link.toStdString();
    EXPECT_EQ(RecordText(), "") << "a refused link uses up nothing";
}

// An Ed25519 signature is 86 base64url characters, the last carrying four spare bits: of the sixteen
// spellings of one signature only the one its bytes are written as is taken, so the link prints once.
TEST_F(TrustLink, TakesOnlyTheOneSpellingOfASignature) {
    const QString link = Key.SignedLink(Plain + "&expires=" + QString::number(Now + 300));
    const QString alphabet =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_");
    const int last = int(alphabet.indexOf(link.back()));
    int taken = 0;
    for (int spare = 0; spare < 16; ++spare) {
        QString spelling = link;
        spelling.back() = alphabet[(last & 0b110000) | spare];
        const QString refusal = Refusal(spelling);
        taken += refusal.isEmpty();
        EXPECT_TRUE(refusal.isEmpty() || refusal == "The link's signature does not match" ||
                    refusal == "The link was used before")
            << refusal.toStdString();
    }
    EXPECT_EQ(taken, 1);
    EXPECT_EQ(Refusal(link), "The link was used before");
}

TEST_F(TrustLink, SignatureIsTheLastParameterOfTheTextAsGiven) {
    const QString link = Key.SignedLink(Plain + "&expires=" + QString::number(Now + 60));
    const std::optional<TSignedLink> signedLink = SplitSignedLink(link);
    ASSERT_TRUE(signedLink);
    EXPECT_EQ(signedLink->SignedText, (Plain + "&expires=" + QString::number(Now + 60)).toUtf8());
    EXPECT_EQ(signedLink->Signature.size(), 64);
    EXPECT_EQ(signedLink->Expires, Now + 60);
    EXPECT_FALSE(SplitSignedLink(Plain));
}

// Signatures of 86 characters, as an Ed25519 signature is in base64url.
QString Signature(char c) {
    return QString(86, QLatin1Char(c));
}

TEST_F(TrustLink, RecordKeepsSignaturesUntilTheirLinkExpires) {
    EXPECT_TRUE(UsedSignatures::Use(Record(), Signature('a'), Now + 10, Now, 300));
    EXPECT_TRUE(UsedSignatures::Use(Record(), Signature('b'), Now + 100, Now + 5, 300));
    EXPECT_FALSE(UsedSignatures::Use(Record(), Signature('a'), Now + 10, Now + 6, 300));
    EXPECT_TRUE(UsedSignatures::Use(Record(), Signature('c'), Now + 200, Now + 50, 300));
    EXPECT_EQ(RecordText(), QByteArray::number(Now + 100) + ' ' + Signature('b').toLatin1() + '\n' +
                                QByteArray::number(Now + 200) + ' ' + Signature('c').toLatin1() + '\n');
}

// A damaged record lets no signature it still holds be used again, and is written anew from what it holds.
TEST_F(TrustLink, DamagedRecordIsRebuiltWithoutForgettingWhatItHolds) {
    QFile file(Record());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\xff\xfe garbage\n17x " + Signature('a').toLatin1() + " trailing\n" +
               QByteArray::number(Now + 5) + ' ' + Signature('b').toLatin1() + "\n\0\0\0" +
               Signature('d').toLatin1().left(40));
    file.close();
    EXPECT_FALSE(UsedSignatures::Use(Record(), Signature('a'), Now + 10, Now, 300));
    EXPECT_TRUE(UsedSignatures::Use(Record(), Signature('c'), Now + 60, Now, 300));
    EXPECT_EQ(RecordText(), QByteArray::number(Now + 300) + ' ' + Signature('a').toLatin1() + '\n' +
                                QByteArray::number(Now + 5) + ' ' + Signature('b').toLatin1() + '\n' +
                                QByteArray::number(Now + 60) + ' ' + Signature('c').toLatin1() + '\n');
}

TEST_F(TrustLink, RecordThatCannotBeReadRefusesTheLink) {
    ASSERT_TRUE(QDir().mkpath(Record()));
    const QString link = Key.SignedLink(Plain + "&expires=" + QString::number(Now + 60));
    EXPECT_TRUE(
        Refusal(link).startsWith(QStringLiteral("The record of used links \"%1\" cannot be ").arg(Record())))
        << Refusal(link).toStdString();
}

} // namespace
