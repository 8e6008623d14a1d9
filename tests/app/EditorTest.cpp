// The editor dialog and the three commands: the dialog's layout and keys, its three checks, the loop that
// reopens it after a failed post, and Delete without asking. Boxes are recorded instead of shown.
#include "TableFixtures.h"

#include "app/table/AssignmentCommands.h"
#include "app/uKestrovaEdit.h"
#include "app/ui/MessageBoxes.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <deque>

using AssignmentTable::fdModuleAddress;
using AssignmentTable::fdModuleName;
using AssignmentTable::fdSpecifyprintername;

namespace {

const QStringList printers{"Lab", "Office Laser", "Label Printer"};

// Records every box that would be shown, for the lifetime of the object.
class RecordedBoxes {
public:
    RecordedBoxes() {
        MessageBoxes::SetRecorder([this](const MessageBoxes::Shown& box) { shown.push_back(box); });
    }
    ~RecordedBoxes() { MessageBoxes::SetRecorder({}); }

    std::vector<MessageBoxes::Shown> shown;
};

// Each step runs on the editor dialog the next time it is shown modally and must end that showing (Ok that
// passes the checks, or close). A showing without a step left is closed and counted as unexpected.
class DialogScript {
public:
    using Step = std::function<void(TPrintEdit&)>;

    explicit DialogScript(std::deque<Step> steps) : FSteps(std::move(steps)) {
        QObject::connect(&FTimer, &QTimer::timeout, [this] { poll(); });
        FTimer.start(0);
    }

    int unexpected = 0;
    bool finished() const { return FSteps.empty(); }

private:
    void poll() {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<TPrintEdit*>(widget);
            if (dialog == nullptr || !dialog->isVisible())
                continue;
            if (FSteps.empty()) {
                ++unexpected;
                dialog->close();
                return;
            }
            const Step step = std::move(FSteps.front());
            FSteps.pop_front();
            step(*dialog);
            return;
        }
    }

    std::deque<Step> FSteps;
    QTimer FTimer;
};

void fill(TPrintEdit& dialog, const QString& address, const QString& name, int printer) {
    dialog.edModuleAddress->setText(address);
    dialog.edModuleName->setText(name);
    dialog.cbSpecifyprintername->setCurrentIndex(printer);
}

struct Values {
    QString address;
    QString name;
    QString printer;
    bool operator==(const Values&) const = default;
};

Values valuesOf(const TPrintEdit& dialog) {
    return {dialog.edModuleAddress->text(), dialog.edModuleName->text(),
            dialog.cbSpecifyprintername->currentText()};
}

Values currentRow(const TClientDataSet& cds) {
    return {cds.FieldValue(fdModuleAddress), cds.FieldValue(fdModuleName),
            cds.FieldValue(fdSpecifyprintername)};
}

void PrintTo(const Values& v, std::ostream* os) {
    *os << '{' << v.address.toStdString() << ", " << v.name.toStdString() << ", " << v.printer.toStdString()
        << '}';
}

TEST(Editor, DialogLayout) {
    TPrintEdit dialog(printers);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("PrintEdit"));
    EXPECT_EQ(dialog.size(), QSize(294, 121));
    EXPECT_FALSE(dialog.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(dialog.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(dialog.lModuleAddress->text(), QStringLiteral("Module Address"));
    EXPECT_EQ(dialog.lModuleName->text(), QStringLiteral("Module Name"));
    EXPECT_EQ(dialog.lSpecifyprintername->text(), QStringLiteral("Specify printer name"));
    EXPECT_EQ(dialog.btOk->text(), QStringLiteral("Ok"));
    EXPECT_EQ(dialog.btOk->size(), QSize(75, 26));
    EXPECT_FALSE(dialog.btOk->isDefault());
    EXPECT_FALSE(dialog.btOk->autoDefault());
    EXPECT_FALSE(dialog.cbSpecifyprintername->isEditable());
    EXPECT_EQ(dialog.cbSpecifyprintername->count(), printers.size());
    EXPECT_EQ(dialog.cbSpecifyprintername->currentIndex(), -1);
    for (const char* name : {"pModuleAddress", "pModuleName", "pSpecifyprintername", "pButton",
                             "edModuleAddress", "edModuleName", "cbSpecifyprintername", "btOk"})
        EXPECT_NE(dialog.findChild<QWidget*>(QLatin1String(name)), nullptr) << name;

    dialog.show();
    EXPECT_EQ(dialog.lModuleAddress->width(), 120);
    EXPECT_LT(dialog.pModuleAddress->geometry().bottom(), dialog.pModuleName->geometry().top());
    EXPECT_LT(dialog.pModuleName->geometry().bottom(), dialog.pSpecifyprintername->geometry().top());
    EXPECT_EQ(dialog.btOk->mapTo(&dialog, QPoint(dialog.btOk->width(), 0)).x(), 294 - 3)
        << "Ok sits at the right";
    QWidget* stop = dialog.edModuleAddress;
    QStringList tabOrder;
    do {
        tabOrder.append(stop->objectName());
        do
            stop = stop->nextInFocusChain();
        while (!(stop->focusPolicy() & Qt::TabFocus));
    } while (stop != dialog.edModuleAddress);
    EXPECT_EQ(tabOrder, QStringList({"edModuleAddress", "edModuleName", "btOk", "cbSpecifyprintername"}));
}

TEST(Editor, EscapeAndEnterOutsideOkDoNothing) {
    TPrintEdit dialog(printers);
    fill(dialog, QStringLiteral("A1"), QStringLiteral("n"), 0);
    dialog.show();
    dialog.edModuleName->setFocus();
    for (const int key : {int(Qt::Key_Escape), int(Qt::Key_Return), int(Qt::Key_Enter)}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(dialog.edModuleName, &press);
    }
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), 0);

    dialog.btOk->setFocus();
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(dialog.btOk, &enter);
    EXPECT_FALSE(dialog.isVisible()) << "Enter presses Ok while it has the focus";
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

struct CheckCase {
    const char* name;
    QString address;
    QString nameText;
    int printer;
    QString shown;          // empty: the checks pass
    const char* focusAfter; // objectName of the focused widget after Ok
};

void PrintTo(const CheckCase& c, std::ostream* os) {
    *os << c.name;
}

const CheckCase checkCases[] = {
    {"BlankAddress", "   ", "n", 0, "Module Address Cannot be empty.", "edModuleAddress"},
    {"ControlCharactersOnlyAddress", "\t\x01 ", "n", 0, "Module Address Cannot be empty.", "edModuleAddress"},
    {"BlankName", "A1", " \t", 0, "Module Name Cannot be empty.", "edModuleName"},
    {"AddressCheckedFirst", "", "", -1, "Module Address Cannot be empty.", "edModuleAddress"},
    {"NoPrinter", "A1", "n", -1, "Please select a specified printer.", "btOk"},
    {"AllGiven", " A1", "n ", 2, "", "btOk"},
};

class EditorCheck : public testing::TestWithParam<CheckCase> {};

TEST_P(EditorCheck, OkChecksInOrder) {
    const CheckCase& c = GetParam();
    RecordedBoxes boxes;
    TPrintEdit dialog(printers);
    fill(dialog, c.address, c.nameText, c.printer);
    dialog.show();
    dialog.btOk->setFocus();
    dialog.btOk->click();
    if (c.shown.isEmpty()) {
        EXPECT_TRUE(boxes.shown.empty());
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_FALSE(dialog.isVisible());
        return;
    }
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].kind, QStringLiteral("error")) << "the standard error box";
    EXPECT_EQ(boxes.shown[0].text, c.shown);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(valuesOf(dialog).address, c.address) << "the dialog keeps its contents";
    EXPECT_EQ(dialog.focusWidget()->objectName(), QLatin1String(c.focusAfter));
}

INSTANTIATE_TEST_SUITE_P(Editor, EditorCheck, testing::ValuesIn(checkCases),
                         [](const testing::TestParamInfo<CheckCase>& info) {
                             return std::string(info.param.name);
                         });

class EditorCommand : public TableTest {
protected:
    RecordedBoxes boxes;
};

TEST_F(EditorCommand, AppendStoresTheTypedValuesUntrimmedAndSaves) {
    DialogScript script({[](TPrintEdit& d) {
        EXPECT_EQ(valuesOf(d), (Values{"", "", ""})) << "a new dialog starts empty";
        fill(d, QStringLiteral(" A1"), QStringLiteral("Front desk "), 1);
        d.btOk->click();
    }});
    AssignmentCommands::Append(cds, printers, nullptr);
    EXPECT_TRUE(script.finished());
    EXPECT_EQ(script.unexpected, 0);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(currentRow(cds), (Values{" A1", "Front desk ", "Office Laser"}));
    TClientDataSet restarted;
    AssignmentTable::SetUp(restarted, path);
    EXPECT_EQ(currentRow(restarted), (Values{" A1", "Front desk ", "Office Laser"}));
}

TEST_F(EditorCommand, AppendOfAnExistingAddressShowsTheErrorAndReopensWithTheTypedValues) {
    appendRow(cds, QStringLiteral("A1"), QStringLiteral("first"), QStringLiteral("Lab"));
    DialogScript script({[](TPrintEdit& d) {
                             fill(d, QStringLiteral("A1"), QStringLiteral("second"), 2);
                             d.btOk->click();
                         },
                         [this](TPrintEdit& d) {
                             EXPECT_EQ(valuesOf(d), (Values{"A1", "second", "Label Printer"}));
                             EXPECT_EQ(cds.RecordCount(), 1) << "the appended row was cancelled";
                             EXPECT_EQ(cds.State(), TDataSetState::dsBrowse);
                             d.edModuleAddress->setText(QStringLiteral("a1"));
                             d.btOk->click();
                         }});
    AssignmentCommands::Append(cds, printers, nullptr);
    EXPECT_TRUE(script.finished());
    EXPECT_EQ(script.unexpected, 0);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].kind, QStringLiteral("editorError"));
    EXPECT_EQ(boxes.shown[0].caption, QStringLiteral("Error"));
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("Key violation."));
    EXPECT_EQ(addresses(cds), QStringList({"A1", "a1"}));
}

TEST_F(EditorCommand, ClosingAfterAnErrorLeavesTheTableAsItWas) {
    appendRow(cds, QStringLiteral("A1"), QStringLiteral("first"), QStringLiteral("Lab"));
    const QByteArray file = readWhole(path);
    DialogScript script({[](TPrintEdit& d) {
                             fill(d, QStringLiteral("A1"), QStringLiteral("second"), 0);
                             d.btOk->click();
                         },
                         [](TPrintEdit& d) {
                             d.close();
                         }});
    AssignmentCommands::Append(cds, printers, nullptr);
    EXPECT_TRUE(script.finished());
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(addresses(cds), QStringList({"A1"}));
    EXPECT_EQ(currentRow(cds).name, QStringLiteral("first"));
    EXPECT_EQ(readWhole(path), file);
}

TEST_F(EditorCommand, FailedSaveIsShownAndUndoneSoOkAgainSaves) {
    const QString missing = folder.filePath(QStringLiteral("missing"));
    SaveOnChange(cds, missing + QStringLiteral("/cds.xml"));
    DialogScript script({[](TPrintEdit& d) {
                             fill(d, QStringLiteral("A1"), QStringLiteral("n"), 0);
                             d.btOk->click();
                         },
                         [&](TPrintEdit& d) {
                             EXPECT_TRUE(cds.IsEmpty()) << "the row that could not be saved is gone";
                             ASSERT_TRUE(QDir().mkdir(missing));
                             d.btOk->click();
                         }});
    AssignmentCommands::Append(cds, printers, nullptr);
    EXPECT_TRUE(script.finished());
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_TRUE(boxes.shown[0].text.startsWith(QStringLiteral("Cannot save the table to")))
        << boxes.shown[0].text.toStdString();
    EXPECT_EQ(addresses(cds), QStringList({"A1"}));
    EXPECT_TRUE(readWhole(missing + QStringLiteral("/cds.xml")).contains("A1"));
}

TEST_F(EditorCommand, FailedSaveOfAnEditRestoresTheRowSoOkAgainEditsIt) {
    appendRow(cds, QStringLiteral("A1"), QStringLiteral("first"), QStringLiteral("Lab"));
    appendRow(cds, QStringLiteral("B1"), QStringLiteral("other"), QStringLiteral("Lab"));
    cds.SetCurrentIndex(0);
    const QString missing = folder.filePath(QStringLiteral("missing"));
    SaveOnChange(cds, missing + QStringLiteral("/cds.xml"));
    DialogScript script({[](TPrintEdit& d) {
                             fill(d, QStringLiteral("C1"), QStringLiteral("renamed"), 0);
                             d.btOk->click();
                         },
                         [&](TPrintEdit& d) {
                             EXPECT_EQ(currentRow(cds), (Values{"A1", "first", "Lab"}));
                             ASSERT_TRUE(QDir().mkdir(missing));
                             d.btOk->click();
                         }});
    AssignmentCommands::Editor(cds, printers, nullptr);
    EXPECT_TRUE(script.finished());
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(addresses(cds), QStringList({"B1", "C1"}));
}

TEST_F(EditorCommand, EditorChangesTheCurrentRow) {
    appendRow(cds, QStringLiteral("A1"), QStringLiteral("one"), QStringLiteral("LAB"));
    appendRow(cds, QStringLiteral("B1"), QStringLiteral("two"), QStringLiteral("Lab"));
    cds.SetCurrentIndex(0);
    DialogScript script({[](TPrintEdit& d) {
        EXPECT_EQ(valuesOf(d), (Values{"A1", "one", "Lab"})) << "the printer is found without regard to case";
        fill(d, QStringLiteral("C1"), QStringLiteral("three"), 1);
        d.btOk->click();
    }});
    AssignmentCommands::Editor(cds, printers, nullptr);
    EXPECT_TRUE(script.finished());
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(addresses(cds), QStringList({"B1", "C1"}));
    EXPECT_EQ(currentRow(cds), (Values{"C1", "three", "Office Laser"}));
    EXPECT_TRUE(readWhole(path).contains("C1"));
}

TEST_F(EditorCommand, EditorToAnExistingAddressRestoresTheRow) {
    appendRow(cds, QStringLiteral("A1"), QStringLiteral("one"), QStringLiteral("Lab"));
    appendRow(cds, QStringLiteral("B1"), QStringLiteral("two"), QStringLiteral("Uninstalled"));
    DialogScript script({[](TPrintEdit& d) {
                             EXPECT_EQ(d.cbSpecifyprintername->currentIndex(), -1)
                                 << "an uninstalled printer";
                             fill(d, QStringLiteral("A1"), QStringLiteral("changed"), 0);
                             d.btOk->click();
                         },
                         [this](TPrintEdit& d) {
                             EXPECT_EQ(valuesOf(d), (Values{"A1", "changed", "Lab"}));
                             EXPECT_EQ(currentRow(cds), (Values{"B1", "two", "Uninstalled"}));
                             d.close();
                         }});
    AssignmentCommands::Editor(cds, printers, nullptr);
    EXPECT_TRUE(script.finished());
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("Key violation."));
    EXPECT_EQ(addresses(cds), QStringList({"A1", "B1"}));
}

TEST_F(EditorCommand, EditorAndDeleteOnAnEmptyTableDoNothing) {
    DialogScript script({});
    AssignmentCommands::Editor(cds, printers, nullptr);
    AssignmentCommands::Delete(cds);
    QCoreApplication::processEvents();
    EXPECT_EQ(script.unexpected, 0);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_FALSE(QFileInfo::exists(path));
}

TEST_F(EditorCommand, DeleteRemovesTheCurrentRowAtOnce) {
    for (const char* address : {"A1", "B1", "C1"})
        appendRow(cds, QString::fromLatin1(address), QStringLiteral("n"), QStringLiteral("Lab"));
    cds.SetCurrentIndex(1);
    AssignmentCommands::Delete(cds);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(addresses(cds), QStringList({"A1", "C1"}));
    TClientDataSet restarted;
    AssignmentTable::SetUp(restarted, path);
    EXPECT_EQ(addresses(restarted), QStringList({"A1", "C1"}));
}

} // namespace
