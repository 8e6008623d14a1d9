// The protocol registration against the real XDG tools, in a temporary home: the check, the click's work, and
// a link opened through xdg-open arriving at the registered program as its only argument.
#include "RegistrationHome.h"

#include "app/registration/ERegistryError.h"
#include "app/registration/ProtocolRegistration.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <gtest/gtest.h>

namespace {

const QString key = QStringLiteral("Kestrova");
const QString entryId = QStringLiteral("kestrova-protocol.desktop");
const QString link =
    QStringLiteral("kestrova://print/?moduleaddress=Desk%2001&pdfurl=http%3A%2F%2Fh%2Fa b.pdf&x=$HOME;'\"`*");

QString runTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

QString defaultHandler() {
    return runTool("xdg-mime", {"query", "default", "x-scheme-handler/kestrova"});
}

// A program that writes the number of its arguments and each of them, NUL-terminated, into a file.
QString makeRecorder(const QString& folder, const QString& output) {
    QDir().mkpath(folder);
    const QString path = folder + "/record";
    QFile script(path);
    script.open(QIODevice::WriteOnly);
    script.write(
        QStringLiteral("#!/bin/sh\n{ printf '%s\\0' \"$#\"; for a in \"$@\"; do printf '%s\\0' \"$a\"; "
                       "done; } > '%1.part' && mv '%1.part' '%1'\n")
            .arg(output)
            .toLocal8Bit());
    script.close();
    script.setPermissions(script.permissions() | QFile::ExeOwner);
    return path;
}

// The arguments the recorder received; empty when it did not run within a minute.
QStringList recordedArguments(const QString& output) {
    QDeadlineTimer deadline(60000);
    while (!QFile::exists(output) && !deadline.hasExpired())
        QThread::msleep(20);
    QFile file(output);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList fields = QString::fromLocal8Bit(file.readAll()).split(QChar(0));
    fields.removeLast();
    return fields;
}

class Registration : public testing::Test {
protected:
    void SetUp() override {
        if (QStandardPaths::findExecutable("xdg-mime").isEmpty() ||
            QStandardPaths::findExecutable("xdg-open").isEmpty())
            GTEST_SKIP() << "xdg-utils is not installed";
    }
    RegistrationHome Home;
};

TEST_F(Registration, MissingUntilRegistered) {
    EXPECT_FALSE(IsExistRegistryKey(key));
    RegisterProtocol(key, "/opt/kestrova/Kestrova");
    EXPECT_TRUE(IsExistRegistryKey(key));
    EXPECT_EQ(defaultHandler(), entryId);
    const QString entry = Home.DataHome() + "/applications/" + entryId;
    if (const QString validate = QStandardPaths::findExecutable("desktop-file-validate");
        !validate.isEmpty()) {
        QProcess process;
        process.start(validate, {entry});
        process.waitForFinished(60000);
        EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardOutput().toStdString();
    }
}

TEST_F(Registration, ExistingEntryThatIsNotTheDefaultHandlerCountsAsMissing) {
    RegisterProtocol(key, "/opt/kestrova/Kestrova");
    Home.InstallOtherHandler();
    runTool("xdg-mime", {"default", "other.desktop", "x-scheme-handler/kestrova"});
    EXPECT_FALSE(IsExistRegistryKey(key));
}

TEST_F(Registration, DefaultHandlerWithoutItsEntryCountsAsMissing) {
    RegisterProtocol(key, "/opt/kestrova/Kestrova");
    QFile::remove(Home.DataHome() + "/applications/" + entryId);
    EXPECT_FALSE(IsExistRegistryKey(key));
}

// Root ignores permission bits, so the folder of the entries is made a file to deny the registration.
TEST_F(Registration, FolderThatCannotBeWrittenLeavesEverythingAsItWas) {
    QFile file(Home.DataHome() + "/applications");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_NO_THROW(RegisterProtocol(key, "/opt/kestrova/Kestrova"));
    EXPECT_FALSE(IsExistRegistryKey(key));
    EXPECT_EQ(defaultHandler(), QString());
}

TEST_F(Registration, DefaultHandlerThatCannotBeStoredRaises) {
    Home.InstallOtherHandler();
    Home.DenyDefaultHandlerChanges();
    try {
        RegisterProtocol(key, "/opt/kestrova/Kestrova");
        FAIL() << "no error";
    } catch (const ERegistryError& error) {
        EXPECT_EQ(error.Message(), "Failed to set data for 'x-scheme-handler/kestrova'");
    }
    EXPECT_FALSE(IsExistRegistryKey(key));
}

// The installed program has the package's entry, which a new user's desktop takes from the system's
// applications; registering makes it the user's choice again and writes no entry of the user's own.
TEST_F(Registration, InstalledProgramIsRegisteredThroughThePackagesEntry) {
    const QString program = QCoreApplication::applicationFilePath();
    Home.InstallPackageEntry(program);
    EXPECT_TRUE(IsExistRegistryKey(key));
    Home.InstallOtherHandler();
    EXPECT_FALSE(IsExistRegistryKey(key));
    RegisterProtocol(key, program);
    EXPECT_TRUE(IsExistRegistryKey(key));
    EXPECT_EQ(defaultHandler(), "kestrova.desktop");
    EXPECT_FALSE(QFile::exists(Home.DataHome() + "/applications/" + entryId));
}

// A copy unpacked elsewhere, on a machine with the package installed, registers itself as before.
TEST_F(Registration, CopyBesideAnInstalledPackageRegistersItsOwnEntry) {
    Home.InstallPackageEntry("/opt/kestrova/Kestrova");
    EXPECT_FALSE(IsExistRegistryKey(key));
    RegisterProtocol(key, QCoreApplication::applicationFilePath());
    EXPECT_TRUE(IsExistRegistryKey(key));
    EXPECT_EQ(defaultHandler(), entryId);
}

// Without a desktop environment xdg-open reads the entry itself; it wants a display to be named.
TEST_F(Registration, XdgOpenStartsTheProgramWithTheLinkAsItsOnlyArgument) {
    const QString output = Home.Path("arguments");
    RegisterProtocol(key, makeRecorder(Home.Path("bin"), output));
    Home.Set("DISPLAY", ":99");
    runTool("xdg-open", {link});
    EXPECT_EQ(recordedArguments(output), (QStringList{"1", link}));
}

// A desktop environment parses the entry by the Desktop Entry rules, quoting and escapes included.
TEST_F(Registration, ProgramPathWithReservedCharactersSurvivesQuoting) {
    if (QStandardPaths::findExecutable("gio").isEmpty())
        GTEST_SKIP() << "gio is not installed, so no desktop environment's launcher is at hand";
    const QString output = Home.Path("arguments");
    RegisterProtocol(key, makeRecorder(Home.Path("dir with space $HOME \"q\" 'a' back\\slash `x`"), output));
    Home.Set("XDG_CURRENT_DESKTOP", "GNOME");
    runTool("xdg-open", {link});
    EXPECT_EQ(recordedArguments(output), (QStringList{"1", link}));
}

} // namespace
