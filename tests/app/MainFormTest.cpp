// The main form on the offscreen platform: the two mode layouts, the designed layout after a failed start,
// the error boxes a person would see, the one-shot timer and the Register and Delete buttons.
#include "RegistrationHome.h"

#include "app/log/DataFolder.h"
#include "app/table/AssignmentTable.h"
#include "app/table/ClientDataSet.h"
#include "app/table/DBGrid.h"
#include "app/uKestrova.h"
#include "app/ui/DesktopCentre.h"
#include "app/ui/ElidedLabel.h"
#include "app/ui/MessageBoxes.h"
#include "support/PrintSystem.h"

#include <QColor>
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>

namespace {

const QString validLink =
    QStringLiteral("kestrova://print/?moduleaddress=Desk%2001&pdfurl=http%3A%2F%2Fh%2Fa.pdf");

// A form in a temporary executable folder and home, with every message box recorded.
class MainForm : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Folder.isValid());
        DataFolder::SetPath(Folder.path());
        MessageBoxes::SetRecorder([this](const MessageBoxes::Shown& box) { Boxes.append(box); });
    }
    void TearDown() override {
        MessageBoxes::SetRecorder({});
        DataFolder::SetPath(QString());
    }

    void WriteTable(const QByteArray& content) {
        QFile file(Folder.filePath("cds.xml"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    QStringList MemoLines(const TPrint& form) const { return form.mmUrl->toPlainText().split('\n'); }

    // Whether each of the five parts of the layout is visible in the form.
    static std::vector<bool> Visibility(const TPrint& form) {
        return {form.pReg->isVisibleTo(&form), form.pButton->isVisibleTo(&form),
                form.Grid->isVisibleTo(&form), form.mmUrl->isVisibleTo(&form),
                form.pSchedule->isVisibleTo(&form)};
    }

    static void ExpectDesignedLayout(const TPrint& form) {
        EXPECT_EQ(Visibility(form), (std::vector<bool>{true, true, true, true, true}));
        EXPECT_EQ(form.size(), QSize(382, 389));
        EXPECT_FALSE(form.windowFlags().testFlag(Qt::FramelessWindowHint));
        EXPECT_EQ(form.pSchedule->geometry(), QRect(52, 184, 256, 50));
        EXPECT_FALSE(form.StartPrinting->isActive());
    }

    QString ApplicationTitle() const {
        return MessageBoxes::ApplicationTitle(QCoreApplication::applicationFilePath());
    }

    RegistrationHome Home;
    QTemporaryDir Folder;
    QList<MessageBoxes::Shown> Boxes;
};

TEST_F(MainForm, EveryControlUnderItsName) {
    TPrint form{QString()};
    for (const char* name :
         {"pReg", "Label2", "Label1", "edKestrovaKey", "btReg", "mmUrl", "pButton", "btAppend", "btDelete",
          "btEditor", "lTable", "Grid", "pSchedule", "lSchedule", "schedule"})
        EXPECT_NE(form.findChild<QWidget*>(name), nullptr) << name;
    for (const char* name : {"Pdf", "Cds", "Ds", "StartPrinting"})
        EXPECT_NE(form.findChild<QObject*>(name), nullptr) << name;
    EXPECT_EQ(form.Label2->text(), "Note: Writing the registry requires administrator privileges");
    EXPECT_EQ(form.Label2->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_EQ(form.Label1->text(), "protocol:");
    EXPECT_EQ(form.edKestrovaKey->text(), "Kestrova");
    EXPECT_TRUE(form.edKestrovaKey->isReadOnly());
    EXPECT_EQ(form.btReg->text(), "Register");
    EXPECT_EQ(form.btReg->size(), QSize(75, 23));
    EXPECT_EQ((QStringList{form.btAppend->text(), form.btDelete->text(), form.btEditor->text()}),
              (QStringList{"Append", "Delete", "Editor"}));
    EXPECT_EQ(form.lSchedule->text(), "Loading...");
    EXPECT_EQ(form.font().family(), "Tahoma");
    EXPECT_EQ(form.font().pointSize(), 8);
    EXPECT_EQ(form.StartPrinting->interval(), 10);
    EXPECT_TRUE(form.StartPrinting->isSingleShot());
}

TEST_F(MainForm, SettingsModeWithoutLink) {
    TPrint form{QString()};
    EXPECT_EQ(form.windowTitle(), "Print");
    EXPECT_EQ(form.size(), QSize(382, 389));
    EXPECT_FALSE(form.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(Visibility(form), (std::vector<bool>{true, true, true, true, false}));
    EXPECT_EQ(form.mmUrl->toPlainText(), "");
    EXPECT_FALSE(form.StartPrinting->isActive());
    EXPECT_TRUE(Boxes.isEmpty());
    EXPECT_FALSE(QDir(Folder.filePath("log")).exists()) << "nothing is logged without a link";

    form.show();
    EXPECT_EQ(form.mmUrl->height(), 130);
    EXPECT_EQ(form.pReg->height(), 48);
    EXPECT_EQ(form.pButton->height(), 35);
    EXPECT_EQ(form.pos(), CentredOn(DesktopRect(), form.frameGeometry().size()));
}

TEST_F(MainForm, PrintModeWithLink) {
    TPrint form(validLink);
    EXPECT_TRUE(form.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(form.size(), QSize(256, 50));
    EXPECT_EQ(form.pSchedule->geometry(), QRect(0, 0, 256, 50));
    EXPECT_EQ(Visibility(form), (std::vector<bool>{false, false, false, false, true}));
    EXPECT_EQ(form.schedule->value(), 0);
    EXPECT_EQ(form.schedule->minimum(), 0);
    EXPECT_EQ(form.schedule->maximum(), 100);
    EXPECT_TRUE(form.StartPrinting->isActive());
    EXPECT_EQ(form.ModuleAddress, "Desk 01");
    EXPECT_EQ(form.pdfurl, "http://h/a.pdf");
    EXPECT_EQ(MemoLines(form).size(), 6);
    EXPECT_EQ(QDir(Folder.filePath("log")).entryList(QDir::Files).size(), 1) << "the link is logged";
    EXPECT_TRUE(Boxes.isEmpty());

    form.show();
    EXPECT_EQ(form.pos(), CentredOn(DesktopRect(), QSize(256, 50)));
    EXPECT_TRUE(form.lSchedule->isVisible());
    EXPECT_TRUE(form.schedule->isVisible());
}

TEST_F(MainForm, TimerStartsThePrintJobOnceThroughTheGuard) {
    TPrint form(validLink);
    int runs = 0;
    QEventLoop loop;
    form.StartPrintingTimer = [&] {
        ++runs;
        loop.quit();
        throw Exception("Job failed");
    };
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    loop.exec();
    QCoreApplication::processEvents();
    EXPECT_EQ(runs, 1);
    EXPECT_FALSE(form.StartPrinting->isActive());
    ASSERT_EQ(Boxes.size(), 1);
    EXPECT_EQ(Boxes[0].kind, "error");
    EXPECT_EQ(Boxes[0].caption, ApplicationTitle());
    EXPECT_EQ(Boxes[0].text, "Job failed.");
}

struct FailedStart {
    const char* name;
    QString link;
    QByteArray table; // cds.xml, none when empty
    QString message;
    QStringList memo;
};

void PrintTo(const FailedStart& c, std::ostream* os) {
    *os << c.name;
}

class FailedStartUp : public MainForm, public testing::WithParamInterface<FailedStart> {};

// Started with a link, the run ends after the message, as a print job does; without one, the settings
// window stays in its designed layout.
TEST_P(FailedStartUp, ErrorBoxThenTheRunEndsOrTheDesignedLayout) {
    const FailedStart& c = GetParam();
    if (!c.table.isEmpty())
        WriteTable(c.table);
    TPrint form(c.link);
    ASSERT_EQ(Boxes.size(), 1);
    EXPECT_EQ(Boxes[0].kind, "error");
    EXPECT_EQ(Boxes[0].caption, ApplicationTitle());
    EXPECT_TRUE(Boxes[0].text.startsWith(c.message)) << Boxes[0].text.toStdString();
    ExpectDesignedLayout(form);
    EXPECT_EQ(MemoLines(form), c.memo);
    form.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(form.isVisible(), c.link.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FailedStartUp,
    testing::Values(
        FailedStart{
            "NoProtocol", "hello", {}, "Protocol field is empty.", {"protocol :", "Host :", "Path :"}},
        FailedStart{"NoHost",
                    "Kestrova://?moduleaddress=A1&pdfurl=X",
                    {},
                    "Host field is empty.",
                    {"protocol :Kestrova", "Host :", "Path :/"}},
        FailedStart{
            "BadEscape",
            "kestrova://print/?moduleaddress=a%zz",
            {},
            "The link's parameter \"moduleaddress\" is not well encoded: Invalid URL encoded character "
            "(%zz) at position 2.",
            {"protocol :kestrova", "Host :print", "Path :/", "URI :kestrova://print/?moduleaddress=a%zz",
             "Document :", "Params :moduleaddress=a%zz"}},
        FailedStart{
            "UnreadableTable", validLink, "not a data packet", "Cannot load the table file", {"Url Info"}},
        FailedStart{"UnreadableTableWithoutLink",
                    QString(),
                    "<DATAPACKET",
                    "Cannot load the table file",
                    {"Url Info"}}),
    [](const testing::TestParamInfo<FailedStart>& info) { return std::string(info.param.name); });

// The settings window names the table file, however long its path, in the designed window.
TEST_F(MainForm, SettingsWindowSaysWhereTheTableLives) {
    const QString folder = Folder.filePath(QString("a-long-folder-name/").repeated(8));
    ASSERT_TRUE(QDir().mkpath(folder));
    DataFolder::SetPath(folder);
    TPrint form{QString()};
    form.show();
    EXPECT_EQ(form.lTable->text(), form.FCdsFilePath);
    EXPECT_EQ(form.FCdsFilePath, QDir::toNativeSeparators(folder + "cds.xml"));
    EXPECT_EQ(form.size(), QSize(382, 389));
    EXPECT_EQ(form.pButton->height(), 35);
    EXPECT_GT(form.lTable->width(), 0);
    EXPECT_LE(form.lTable->geometry().right(), form.width());
}

TEST_F(MainForm, TableThatFailsIsLoggedNeither) {
    WriteTable("not a data packet");
    TPrint form(validLink);
    EXPECT_FALSE(QDir(Folder.filePath("log")).exists()) << "the link is neither logged nor printed";
    EXPECT_TRUE(form.ModuleAddress.isEmpty());
}

TEST_F(MainForm, RegisterButtonFollowsTheRegistration) {
    TPrint form{QString()};
    EXPECT_TRUE(form.btReg->isEnabled());
    form.btReg->click();
    EXPECT_TRUE(Boxes.isEmpty());
    EXPECT_FALSE(form.btReg->isEnabled());
    EXPECT_TRUE(QFile::exists(Home.DataHome() + "/applications/kestrova-protocol.desktop"));

    TPrint later{QString()};
    EXPECT_FALSE(later.btReg->isEnabled()) << "a later start finds the registration";
}

// The registration check asks the desktop's tools, which takes a tenth of a second; a print job has no
// Register button and does not wait for them.
TEST_F(MainForm, OnlySettingsModeChecksTheRegistration) {
    QTemporaryDir tools;
    const QString calls = tools.filePath("calls");
    QFile recorder(tools.filePath("xdg-mime"));
    ASSERT_TRUE(recorder.open(QIODevice::WriteOnly));
    recorder.write("#!/bin/sh\necho \"$*\" >>'" + calls.toLocal8Bit() + "'\nexec /usr/bin/xdg-mime \"$@\"\n");
    recorder.close();
    recorder.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    Home.Set("PATH", tools.path().toLocal8Bit() + ":" + qgetenv("PATH"));
    TPrint{QString()}.btReg->click();
    QFile::remove(calls);

    { TPrint printing(validLink); }
    EXPECT_FALSE(QFile::exists(calls)) << "print mode ran xdg-mime";
    { TPrint settings{QString()}; }
    EXPECT_TRUE(QFile::exists(calls)) << "settings mode did not check the registration";
}

TEST_F(MainForm, RegisterThatCannotWriteIsSilent) {
    QFile file(Home.DataHome() + "/applications");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    TPrint form{QString()};
    form.btReg->click();
    EXPECT_TRUE(Boxes.isEmpty());
    EXPECT_TRUE(form.btReg->isEnabled());
}

TEST_F(MainForm, RegisterErrorIsShownAndKeepsTheButton) {
    Home.InstallOtherHandler();
    Home.DenyDefaultHandlerChanges();
    TPrint form{QString()};
    form.btReg->click();
    ASSERT_EQ(Boxes.size(), 1);
    EXPECT_EQ(Boxes[0].text, "Failed to set data for 'x-scheme-handler/kestrova'")
        << "a quote sorts before the full stop";
    EXPECT_TRUE(form.btReg->isEnabled());
}

// Two settings windows would each save their own copy of the table, the later losing the other's rows: the
// second is refused while the first is open, and print jobs run beside a settings window.
TEST_F(MainForm, OneSettingsWindowAtATime) {
    auto first = std::make_unique<TPrint>(QString());
    EXPECT_TRUE(Boxes.isEmpty());
    {
        TPrint second{QString()};
        ASSERT_EQ(Boxes.size(), 1);
        EXPECT_EQ(Boxes[0].text, QStringLiteral("The assignment table is open in another settings window."));
        EXPECT_FALSE(second.Cds->Active()) << "a closed table cannot overwrite the file";
        EXPECT_FALSE(second.pButton->isEnabled());
        TPrint job(validLink);
        EXPECT_TRUE(job.StartPrinting->isActive());
        EXPECT_EQ(Boxes.size(), 1);
    }
    first.reset();
    TPrint third{QString()};
    EXPECT_EQ(Boxes.size(), 1);
    EXPECT_TRUE(third.Cds->Active());
    EXPECT_TRUE(third.pButton->isEnabled());
}

// A window whose link cannot be read ends after its message and never holds the table: a settings window
// opened beside it, before or after, takes the table and saves what is typed into it.
TEST_F(MainForm, AWindowWhoseLinkCannotBeReadLeavesTheTableToTheSettingsWindow) {
    for (const bool linkFirst : {true, false}) {
        SCOPED_TRACE(linkFirst ? "the window with the link first" : "the settings window first");
        QFile::remove(Folder.filePath("cds.xml"));
        Boxes.clear();
        {
            const QString noProtocol = QStringLiteral("hello");
            TPrint first(linkFirst ? noProtocol : QString());
            TPrint second(linkFirst ? QString() : noProtocol);
            ASSERT_EQ(Boxes.size(), 1);
            EXPECT_EQ(Boxes.first().text, "Protocol field is empty.");
            TPrint& settings = linkFirst ? second : first;
            EXPECT_TRUE(settings.pButton->isEnabled());
            settings.Cds->Append();
            settings.Cds->SetFieldValue(AssignmentTable::fdModuleAddress, QStringLiteral("A1"));
            settings.Cds->Post();
        }
        TClientDataSet saved;
        AssignmentTable::SetUp(saved, Folder.filePath("cds.xml"));
        EXPECT_EQ(saved.RecordCount(), 1);
        EXPECT_TRUE(saved.Locate(AssignmentTable::fdModuleAddress, QStringLiteral("A1"), {}));
    }
}

TEST_F(MainForm, DeleteRewritesTheTable) {
    {
        TClientDataSet cds;
        AssignmentTable::SetUp(cds, Folder.filePath("cds.xml"));
        for (const char* address : {"A1", "B2"}) {
            cds.Append();
            cds.SetFieldValue(AssignmentTable::fdModuleAddress, address);
            cds.Post();
        }
        cds.SaveToFile(Folder.filePath("cds.xml"));
    }
    TPrint form{QString()};
    ASSERT_EQ(form.Cds->RecordCount(), 2);
    form.btDelete->click();
    EXPECT_TRUE(Boxes.isEmpty());
    TClientDataSet reloaded;
    AssignmentTable::SetUp(reloaded, Folder.filePath("cds.xml"));
    EXPECT_EQ(reloaded.RecordCount(), 1);
}

// A row whose printer the print system no longer has is marked in red, saying where its module now prints;
// a row on a printer that exists, in any case, and one without a printer stay as they are.
TEST_F(MainForm, MarksTheRowsWhosePrinterIsGone) {
    PrintSystem& system = PrintSystem::Shared();
    if (!system.Started())
        GTEST_SKIP() << "no private print system: " << system.Error().toStdString();
    {
        TClientDataSet cds;
        AssignmentTable::SetUp(cds, Folder.filePath("cds.xml"));
        for (const auto& [address, printer] :
             {std::pair{"A1", system.Printers()[1].toLower()},
              std::pair{"B2", QStringLiteral("Kestrova_Deleted")}, std::pair{"C3", QString()},
              std::pair{"D4", system.Printers()[1] + "/nosuch"}}) {
            cds.Append();
            cds.SetFieldValue(AssignmentTable::fdModuleAddress, address);
            cds.SetFieldValue(AssignmentTable::fdSpecifyprintername, printer);
            cds.Post();
        }
        cds.SaveToFile(Folder.filePath("cds.xml"));
    }
    TPrint form{QString()};
    for (int column = 0; column < 3; ++column) {
        for (int row = 0; row < 4; ++row) {
            const QModelIndex cell = form.Ds->index(row, column);
            const bool gone = row == 1 || row == 3;
            EXPECT_EQ(cell.data(Qt::ForegroundRole), gone ? QVariant(QColor(Qt::red)) : QVariant());
            if (row == 1) {
                EXPECT_EQ(
                    cell.data(Qt::ToolTipRole).toString(),
                    "The printer \"Kestrova_Deleted\" does not exist: this module prints on the default "
                    "printer");
            } else if (row == 3) {
                EXPECT_EQ(
                    cell.data(Qt::ToolTipRole).toString(),
                    QString("The instance \"%1/nosuch\" was not found: this module prints on \"%1\" with "
                            "its own options")
                        .arg(system.Printers()[1]));
            }
        }
    }
}

struct TitleCase {
    const char* path;
    const char* title;
};

void PrintTo(const TitleCase& c, std::ostream* os) {
    *os << c.path;
}

class ApplicationTitle : public testing::TestWithParam<TitleCase> {};

TEST_P(ApplicationTitle, FileNameCutAtFirstDotAndLowered) {
    EXPECT_EQ(MessageBoxes::ApplicationTitle(GetParam().path), GetParam().title);
}

INSTANTIATE_TEST_SUITE_P(Cases, ApplicationTitle,
                         testing::Values(TitleCase{"/opt/kestrova/Kestrova", "Kestrova"},
                                         TitleCase{"C:/Apps/KESTROVA.EXE", "Kestrova"},
                                         TitleCase{"/x/MY.app.bin", "My"},
                                         TitleCase{"/x/app_tests", "app_tests"}, TitleCase{"/x/k", "k"}));

struct FullStopCase {
    const char* message;
    const char* shown;
};

void PrintTo(const FullStopCase& c, std::ostream* os) {
    *os << '"' << c.message << '"';
}

class FullStop : public testing::TestWithParam<FullStopCase> {};

TEST_P(FullStop, AddedAfterCharactersAboveTheFullStop) {
    EXPECT_EQ(MessageBoxes::WithFullStop(GetParam().message), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Cases, FullStop,
                         testing::Values(FullStopCase{"", ""}, FullStopCase{"Failed", "Failed."},
                                         FullStopCase{"Done.", "Done."}, FullStopCase{"Stop!", "Stop!"},
                                         FullStopCase{"(x)", "(x)"}, FullStopCase{"a-", "a-"},
                                         FullStopCase{"a/", "a/."}, FullStopCase{"7", "7."},
                                         FullStopCase{"\u4e2d", "\u4e2d."}));

} // namespace
