// A signed link checked in the process at a fixed time, and the record of used signatures that several
// processes share: what it keeps, what it drops, what it makes of a record that was damaged, of a clock that
// jumps and of a lock left behind.
#include "app/trust/ETrustError.h"
#include "app/trust/LinkCheck.h"
#include "app/trust/SignedLink.h"
#include "app/trust/UsedSignatures.h"
#include "support/OpenSslKey.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

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

    // The message CheckLink refuses Link with at the time When; empty when it takes it.
    QString Refusal(const QString& link, qint64 when = Now) {
        try {
            CheckLink(Policy, link, when, Record());
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

// The sixteen spellings of one signature: an Ed25519 signature is 86 base64url characters, the last carrying
// four spare bits.
QStringList Spellings(const QString& link) {
    const QString alphabet =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_");
    const int last = int(alphabet.indexOf(link.back()));
    QStringList spellings;
    for (int spare = 0; spare < 16; ++spare)
        spellings.append(link.chopped(1) + alphabet[(last & 0b110000) | spare]);
    return spellings;
}

// Of the sixteen spellings only the one its bytes are written as is taken, so the link prints once, whether
// they are opened one after another or all at once.
TEST_F(TrustLink, TakesOnlyTheOneSpellingOfASignature) {
    const QString link = Key.SignedLink(Plain + "&expires=" + QString::number(Now + 300));
    const QString other = Key.SignedLink(Plain + "&expires=" + QString::number(Now + 299));
    const struct {
        const char* Name;
        QString Link;
        bool AtOnce;
    } cases[] = {{"one after another", link, false}, {"all at once", other, true}};
    for (const auto& opened : cases) {
        const QStringList spellings = Spellings(opened.Link);
        std::vector<QString> refusals(spellings.size());
        const auto open = [&](qsizetype i) {
            refusals[size_t(i)] = Refusal(spellings[i]);
        };
        if (opened.AtOnce) {
            std::vector<std::thread> processes;
            for (qsizetype i = 0; i < spellings.size(); ++i)
                processes.emplace_back(open, i);
            for (std::thread& process : processes)
                process.join();
        } else {
            for (qsizetype i = 0; i < spellings.size(); ++i)
                open(i);
        }
        EXPECT_EQ(std::count(refusals.begin(), refusals.end(), QString()), 1) << opened.Name;
        for (const QString& refusal : refusals)
            EXPECT_TRUE(refusal.isEmpty() || refusal == "The link's signature does not match")
                << opened.Name << ": " << refusal.toStdString();
        EXPECT_EQ(Refusal(opened.Link), "The link was used before") << opened.Name;
    }
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

// Signatures of 64 bytes, as an Ed25519 signature is, and their 86 characters in the record.
QByteArray Signature(char c) {
    return QByteArray(64, c);
}
QByteArray Written(char c) {
    return Signature(c).toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals);
}

constexpr qint64 Day = 86400;

// Each signature stays a day past its link's expiry.
TEST_F(TrustLink, RecordKeepsSignaturesADayPastTheirLinksExpiry) {
    EXPECT_TRUE(UsedSignatures::Use(Record(), Signature('a'), Now + 10, Now));
    EXPECT_TRUE(UsedSignatures::Use(Record(), Signature('b'), Now + 100, Now + 5));
    EXPECT_FALSE(UsedSignatures::Use(Record(), Signature('a'), Now + 10, Now + 6));
    EXPECT_TRUE(UsedSignatures::Use(Record(), Signature('c'), Now + Day + 200, Now + Day + 10));
    // In the order of their text: c's "Y2Nj..." before b's "YmJi...".
    EXPECT_EQ(RecordText(), QByteArray::number(Now + Day + 200) + ' ' + Written('c') + '\n' +
                                QByteArray::number(Now + 100) + ' ' + Written('b') + '\n');
}

// A run whose clock is ahead prunes the record with it; the link used before is still refused on the right
// clock.
TEST_F(TrustLink, ClockThatJumpsForwardReopensNoLink) {
    const QString used = Key.SignedLink(Plain + "&expires=" + QString::number(Now + 300));
    EXPECT_EQ(Refusal(used), "");
    for (const qint64 ahead : {600, 3600, 23 * 3600}) {
        const QString later = Key.SignedLink(Plain + "&expires=" + QString::number(Now + ahead + 60));
        EXPECT_EQ(Refusal(later, Now + ahead), "") << ahead;
        EXPECT_EQ(Refusal(used, Now + 1), "The link was used before") << ahead;
    }
}

// The lock is the operating system's, held by a running process only: a lock file left empty, or by a
// process that has ended, is taken at once.
TEST_F(TrustLink, LockFileLeftBehindIsTakenOver) {
    QProcess ended;
    ended.start("true");
    ASSERT_TRUE(ended.waitForStarted());
    const qint64 pid = ended.processId();
    ASSERT_TRUE(ended.waitForFinished());
    const QByteArray left[] = {"", QByteArray::number(pid) + "\nKestrova\nlocalhost\n"};
    char signature = 'a';
    for (const QByteArray& text : left) {
        QFile lock(Record() + ".lock");
        ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
        lock.write(text);
        ASSERT_TRUE(
            lock.setFileTime(QDateTime::currentDateTime().addDays(-1), QFileDevice::FileModificationTime));
        lock.close();
        EXPECT_TRUE(UsedSignatures::Use(Record(), Signature(signature++), Now + 10, Now))
            << text.toStdString();
    }
}

// A damaged record lets no signature it still holds be used again, and is written anew from what it holds.
TEST_F(TrustLink, DamagedRecordIsRebuiltWithoutForgettingWhatItHolds) {
    QFile file(Record());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\xff\xfe garbage\n17x " + Written('a') + " trailing\n" + QByteArray::number(Now + 5) + ' ' +
               Written('b') + "\n\0\0\0" + Written('d').left(40));
    file.close();
    EXPECT_FALSE(UsedSignatures::Use(Record(), Signature('a'), Now + 10, Now));
    EXPECT_TRUE(UsedSignatures::Use(Record(), Signature('c'), Now + 60, Now));
    EXPECT_EQ(RecordText(), QByteArray::number(Now + 60) + ' ' + Written('c') + '\n' +
                                QByteArray::number(Now + Day) + ' ' + Written('a') + '\n' +
                                QByteArray::number(Now + 5) + ' ' + Written('b') + '\n');
}

TEST_F(TrustLink, RecordThatCannotBeReadRefusesTheLink) {
    ASSERT_TRUE(QDir().mkpath(Record()));
    const QString link = Key.SignedLink(Plain + "&expires=" + QString::number(Now + 60));
    EXPECT_TRUE(
        Refusal(link).startsWith(QStringLiteral("The record of used links \"%1\" cannot be ").arg(Record())))
        << Refusal(link).toStdString();
}

} // namespace
