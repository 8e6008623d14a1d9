#include "app/table/AssignmentCommands.h"

#include "app/printing/Printer.h"
#include "app/table/AssignmentTable.h"
#include "app/uKestrovaEdit.h"
#include "app/ui/MessageBoxes.h"

#include <QComboBox>
#include <QLineEdit>

namespace AssignmentCommands {

namespace {

using namespace AssignmentTable;

// Shows the dialog until a pass of Store succeeds or the dialog is closed without OK. A failed pass is
// cancelled and its message shown in the "Error" dialog.
template <class Store>
void editLoop(TClientDataSet& cds, TPrintEdit& dialog, QWidget* mainForm, Store store) {
    if (mainForm != nullptr)
        dialog.move(mainForm->frameGeometry().center() - dialog.rect().center());
    while (dialog.exec() == QDialog::Accepted) {
        try {
            store();
            cds.SetFieldValue(fdModuleAddress, dialog.edModuleAddress->text());
            cds.SetFieldValue(fdModuleName, dialog.edModuleName->text());
            cds.SetFieldValue(fdSpecifyprintername, dialog.cbSpecifyprintername->currentText());
            cds.Post();
            return;
        } catch (const Exception& error) {
            cds.Cancel();
            MessageBoxes::ShowEditorError(mainForm, error.Message());
        }
    }
}

} // namespace

void Append(TClientDataSet& Cds, const QStringList& Printers, QWidget* MainForm) {
    TPrintEdit dialog(Printers);
    editLoop(Cds, dialog, MainForm, [&Cds] { Cds.Append(); });
}

void Editor(TClientDataSet& Cds, const QStringList& Printers, QWidget* MainForm) {
    if (Cds.IsEmpty())
        return;
    TPrintEdit dialog(Printers);
    dialog.edModuleAddress->setText(Cds.FieldValue(fdModuleAddress));
    dialog.edModuleName->setText(Cds.FieldValue(fdModuleName));
    dialog.cbSpecifyprintername->setCurrentIndex(FindPrinter(Printers, Cds.FieldValue(fdSpecifyprintername)));
    editLoop(Cds, dialog, MainForm, [&Cds] { Cds.Edit(); });
}

void Delete(TClientDataSet& Cds) {
    if (!Cds.IsEmpty())
        Cds.Delete();
}

} // namespace AssignmentCommands
