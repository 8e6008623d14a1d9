// Entry point of the viewer's suite: every run gets an X server of its own before the application starts on
// it, so that windows are real, input goes through them and what they show can be read back from the screen.
#include "PrivateDisplay.h"
#include "ViewTestSupport.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

bool DisplayReady = false;

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (testing::GTEST_FLAG(list_tests))
        return RUN_ALL_TESTS();

    PrivateDisplay display;
    DisplayReady = display.Start();
    if (DisplayReady) {
        qputenv("QT_QPA_PLATFORM", "xcb");
        qputenv("DISPLAY", display.Display().toLocal8Bit());
        qputenv("XAUTHORITY", display.Authority().toLocal8Bit());
    } else {
        std::fprintf(stderr, "No private X server: %s\n", qPrintable(display.Error()));
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QTemporaryDir runtime;
    if (runtime.isValid()) {
        QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    }
    // Until a test starts the private print system, CUPS clients find none: the machine's own is never asked.
    if (qEnvironmentVariableIsEmpty("CUPS_SERVER"))
        qputenv("CUPS_SERVER", runtime.filePath("no-print-system.sock").toLocal8Bit());
    // The viewer's settings go to a folder of the run's own, never to the user's.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
