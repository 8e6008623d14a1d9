#include "PrintDialog.h"

#include "app/options/PageSelection.h"
#include "app/printing/EPrinter.h"
#include "app/printing/PrinterChoices.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

namespace {

QComboBox* comboBox(const QString& name) {
    auto* box = new QComboBox;
    box->setObjectName(name);
    return box;
}

// A choice that the printer does not offer shows what the job gets without it, and cannot be changed.
void offer(QComboBox* box, const QList<std::pair<QString, QByteArray>>& items, const QByteArray& current,
           const QString& without) {
    box->clear();
    for (const auto& [text, value] : items)
        box->addItem(text, value);
    if (items.isEmpty())
        box->addItem(without);
    box->setCurrentIndex(std::max(box->findData(current), 0));
    box->setEnabled(items.size() > 1);
}

} // namespace

TPrintDialog::TPrintDialog(const TPrinterList& Printers, int PageCount, QWidget* Parent)
    : QDialog(Parent), FPageCount(PageCount) {
    setWindowTitle(QStringLiteral("Print"));
    cbPrinter = comboBox(QStringLiteral("cbPrinter"));
    cbPrinter->addItems(Printers.Names);
    cbPrinter->setCurrentIndex(std::max(Printers.DefaultIndex, 0));
    seCopies = new QSpinBox;
    seCopies->setObjectName(QStringLiteral("seCopies"));
    cbSides = comboBox(QStringLiteral("cbSides"));
    cbPaper = comboBox(QStringLiteral("cbPaper"));
    edPageRanges = new QLineEdit;
    edPageRanges->setObjectName(QStringLiteral("edPageRanges"));
    edPageRanges->setPlaceholderText(QStringLiteral("All %1 pages, or such as 1-3,5").arg(PageCount));
    cbColor = comboBox(QStringLiteral("cbColor"));
    cbScaling = comboBox(QStringLiteral("cbScaling"));
    // Without a choice, the page is stretched to the printable width at its top-left, as every job prints.
    for (const auto& [text, value] : {std::pair{"Printable width", ""},
                                      {"Fit to the sheet", "fit"},
                                      {"Fill the sheet", "fill"},
                                      {"Actual size", "none"},
                                      {"Actual size where it fits", "auto"}})
        cbScaling->addItem(QString::fromLatin1(text), QByteArray(value));
    lError = new QLabel;
    lError->setObjectName(QStringLiteral("lError"));
    lError->setWordWrap(true);
    lError->setStyleSheet(QStringLiteral("color: #b00000"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->setObjectName(QStringLiteral("bbButtons"));
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Print"));
    buttons->button(QDialogButtonBox::Ok)->setEnabled(!Printers.Names.isEmpty());
    connect(buttons, &QDialogButtonBox::accepted, this, &TPrintDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TPrintDialog::reject);

    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("Printer"), cbPrinter);
    form->addRow(QStringLiteral("Copies"), seCopies);
    form->addRow(QStringLiteral("Two-sided"), cbSides);
    form->addRow(QStringLiteral("Paper"), cbPaper);
    form->addRow(QStringLiteral("Pages"), edPageRanges);
    form->addRow(QStringLiteral("Colour"), cbColor);
    form->addRow(QStringLiteral("Scaling"), cbScaling);
    form->addRow(lError);
    form->addRow(buttons);

    connect(cbPrinter, &QComboBox::currentIndexChanged, this, &TPrintDialog::ShowChoices);
    connect(edPageRanges, &QLineEdit::textChanged, lError, &QLabel::clear);
    ShowChoices();
    // Without a default, the first printer is chosen; why there is none is said.
    if (!Printers.Missing.isEmpty())
        lError->setText(Printers.Missing);
    else if (Printers.Names.isEmpty())
        lError->setText(QStringLiteral("There is no printer to print on"));
}

void TPrintDialog::ShowChoices() {
    TPrinterChoices choices;
    lError->clear();
    try {
        if (cbPrinter->count() > 0)
            choices = ReadPrinterChoices(cbPrinter->currentText());
    } catch (const EPrinter& error) {
        lError->setText(error.Message());
    }
    FDefaults = choices.Defaults;
    seCopies->setRange(1, choices.Copies);
    seCopies->setValue(FDefaults.value("copies", "1").toInt());
    const QMap<QByteArray, QString> sideNames{{"one-sided", QStringLiteral("One-sided")},
                                              {"two-sided-long-edge", QStringLiteral("Long edge")},
                                              {"two-sided-short-edge", QStringLiteral("Short edge")}};
    QList<std::pair<QString, QByteArray>> sides;
    for (const QByteArray& value : choices.Sides)
        sides.append({sideNames.value(value), value});
    offer(cbSides, sides, FDefaults.value("sides"), QStringLiteral("One-sided"));
    QList<std::pair<QString, QByteArray>> papers;
    for (const TPaper& paper : choices.Papers)
        papers.append({paper.Text, paper.Name});
    offer(cbPaper, papers, FDefaults.value("media"), QStringLiteral("The printer's own"));
    QList<std::pair<QString, QByteArray>> colors;
    if (choices.Color)
        colors = {{QStringLiteral("Gray"), "monochrome"}, {QStringLiteral("Colour"), "color"}};
    offer(cbColor, colors, FDefaults.value("print-color-mode"), QStringLiteral("Gray"));
    cbScaling->setCurrentIndex(std::max(cbScaling->findData(FDefaults.value("print-scaling")), 0));
}

TPrintRequest TPrintDialog::Request() const {
    TPrintRequest request{cbPrinter->currentText(), {}};
    // A choice left as the printer's default goes without the option, so that the job prints as one without
    // options does.
    const auto choose = [&](const QByteArray& option, const QByteArray& value) {
        if (!value.isEmpty() && value != FDefaults.value(option))
            request.Options.insert(option, value);
    };
    choose("copies", QByteArray::number(seCopies->value()));
    const std::pair<QByteArray, QComboBox*> choices[] = {
        {"sides", cbSides}, {"media", cbPaper}, {"print-color-mode", cbColor}, {"print-scaling", cbScaling}};
    for (const auto& [option, box] : choices)
        choose(option, box->currentData().toByteArray());
    choose("page-ranges", edPageRanges->text().trimmed().toUtf8());
    return request;
}

void TPrintDialog::accept() {
    try {
        PagesToPrint(ReadPrintOptions(Request().Options).PageRanges, FPageCount);
    } catch (const EPrinter& error) {
        lError->setText(error.Message());
        edPageRanges->setFocus();
        return;
    }
    QDialog::accept();
}
