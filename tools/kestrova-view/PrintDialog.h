// kestrova-view's print dialog: the printer, with the system's default chosen, and the print options for the
// document (copies, two-sided, paper, page range, colour, scaling) as the chosen printer offers them. A page
// range is read as the print path reads it; one that is malformed or names no page of the document keeps the
// dialog open with the reason shown.
#pragma once

#include "app/options/PrintOptions.h"
#include "app/printing/PrinterList.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;

// What the dialog asks to print: on which printer, with which options.
struct TPrintRequest {
    QString PrinterName;
    TOptionValues Options;
};

class TPrintDialog : public QDialog {
    Q_OBJECT

public:
    TPrintDialog(const TPrinterList& Printers, int PageCount, QWidget* Parent = nullptr);

    TPrintRequest Request() const;
    void accept() override;

private:
    // Offers what the chosen printer supports.
    void ShowChoices();

    int FPageCount;
    // What a job on the chosen printer gets without options.
    TOptionValues FDefaults;
    QComboBox* cbPrinter;
    QSpinBox* seCopies;
    QComboBox* cbSides;
    QComboBox* cbPaper;
    QLineEdit* edPageRanges;
    QComboBox* cbColor;
    QComboBox* cbScaling;
    QLabel* lError;
};
