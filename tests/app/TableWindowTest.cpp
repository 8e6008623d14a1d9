// The table in the settings window: held before it is read, so that no other window's row is lost, and a
// table that cannot be loaded leaves its commands disabled, saying why.
#include "RegistrationHome.h"
#include "TableFixtures.h"

#include "app/log/DataFolder.h"
#include "app/uKestrova.h"
#include "app/ui/MessageBoxes.h"

#include <QFrame>
#include <QLockFile>
#include <QPushButton>
#include <cups/cups.h>
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <atomic>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

// A print system on 127.0.0.1 that takes connections and never answers: each is closed again once
// OnConnection, run on a thread of its own, has returned, which ends the client's wait.
class SilentPrintSystem {
public:
    explicit SilentPrintSystem(std::function<void()> OnConnection) {
        FSocket = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (bind(FSocket, reinterpret_cast<sockaddr*>(&address), length) != 0 || listen(FSocket, 8) != 0 ||
            getsockname(FSocket, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            return;
        FPort = ntohs(address.sin_port);
        FThread = std::thread([this, onConnection = std::move(OnConnection)] {
            for (int connection; (connection = accept(FSocket, nullptr, nullptr)) >= 0;) {
                onConnection();
                close(connection);
            }
        });
    }
    ~SilentPrintSystem() {
        shutdown(FSocket, SHUT_RDWR); // ends the accept
        if (FThread.joinable())
            FThread.join();
        close(FSocket);
    }
    SilentPrintSystem(const SilentPrintSystem&) = delete;
    SilentPrintSystem& operator=(const SilentPrintSystem&) = delete;

    // "127.0.0.1:port"; empty where no socket could listen.
    QByteArray Server() const { return FPort ? "127.0.0.1:" + QByteArray::number(FPort) : QByteArray(); }

private:
    int FSocket = -1;
    int FPort = 0;
    std::thread FThread;
};

class TableWindow : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Folder.isValid());
        DataFolder::SetPath(Folder.path());
        MessageBoxes::SetRecorder([this](const MessageBoxes::Shown& box) { Boxes.append(box.text); });
    }
    void TearDown() override {
        MessageBoxes::SetRecorder({});
        DataFolder::SetPath(QString());
    }

    QString TablePath() const { return Folder.filePath(QStringLiteral("cds.xml")); }

    RegistrationHome Home;
    QTemporaryDir Folder;
    QStringList Boxes;
};

// A window that reads the table and only then takes it may have missed a row that another window saved in
// the meantime, as while it waits for a slow print system: the window holds the table before anything else.
TEST_F(TableWindow, HoldsTheTableBeforeItWaitsForThePrintSystem) {
    std::atomic<int> probes = 0;
    std::atomic<int> taken = 0;
    SilentPrintSystem printSystem([&] {
        QLockFile other(TablePath() + QStringLiteral(".lock"));
        ++probes;
        if (other.tryLock(0))
            ++taken;
    });
    ASSERT_FALSE(printSystem.Server().isEmpty());
    Home.Set("CUPS_SERVER", printSystem.Server());
    cupsSetServer(nullptr); // read again from the environment
    {
        TPrint form{QString()};
        EXPECT_GT(probes.load(), 0) << "the window did not ask the print system";
        EXPECT_EQ(taken.load(), 0) << "another window took the table while this one waited";
        EXPECT_TRUE(form.Cds->Active());
    }
    cupsSetServer(nullptr); // the print system of the tests that follow, once Home has put it back
}

// A table file that cannot be loaded cannot be changed: Append, Editor and Delete are disabled and say why,
// and the file stays as it was.
TEST_F(TableWindow, ATableThatCannotBeLoadedDisablesItsCommandsAndSaysWhy) {
    writeWhole(TablePath(), "<DATAPACKET");
    TPrint form{QString()};
    ASSERT_EQ(Boxes.size(), 1);
    EXPECT_TRUE(Boxes[0].startsWith(QStringLiteral("Cannot load the table file"))) << Boxes[0].toStdString();
    for (QPushButton* command : {form.btAppend, form.btEditor, form.btDelete}) {
        SCOPED_TRACE(command->objectName().toStdString());
        EXPECT_FALSE(command->isEnabled());
        EXPECT_TRUE(
            command->toolTip().startsWith(QStringLiteral("The table cannot be changed here: Cannot load")))
            << command->toolTip().toStdString();
    }
    EXPECT_FALSE(form.Cds->Active());
    EXPECT_EQ(readWhole(TablePath()), "<DATAPACKET");
}

// Refused because another window holds it, a window does not read the table at all, and says so on its
// commands.
TEST_F(TableWindow, AWindowRefusedTheTableSaysWhyOnItsCommands) {
    TPrint first{QString()};
    TPrint second{QString()};
    ASSERT_EQ(Boxes, QStringList{"The assignment table is open in another settings window."});
    EXPECT_FALSE(second.Cds->Active());
    EXPECT_EQ(second.btAppend->toolTip(),
              "The table cannot be changed here: The assignment table is open in another settings window");
    EXPECT_FALSE(second.pSchedule->isVisibleTo(&second)) << "the settings window is laid out as such";
}

} // namespace
