// The editor dialog TPrintEdit: one row of the assignment table as a module address, a module name and a
// printer picked from the installed ones. Ok checks the input and closes the dialog with the OK result;
// closing the window dismisses it. There is no Cancel button, and Escape does nothing.
#pragma once

#include <QDialog>
#include <QStringList>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

class TPrintEdit : public QDialog {
    Q_OBJECT
public:
    // Printers: the printer list's entries, in the system's order; none is selected.
    explicit TPrintEdit(const QStringList& Printers, QWidget* Parent = nullptr);

    QFrame* pModuleAddress;
    QLabel* lModuleAddress;
    QLineEdit* edModuleAddress;
    QFrame* pModuleName;
    QLabel* lModuleName;
    QLineEdit* edModuleName;
    QFrame* pSpecifyprintername;
    QLabel* lSpecifyprintername;
    QComboBox* cbSpecifyprintername;
    QFrame* pButton;
    QPushButton* btOk;

    // Checks the input in order and raises Exception with the first failure's message; when all pass, the
    // dialog closes with the OK result.
    void btOkClick();

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
