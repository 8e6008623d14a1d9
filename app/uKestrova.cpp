#include "app/uKestrova.h"

#include "app/download/DownloadProgress.h"
#include "app/intake/InvocationUrlParts.h"
#include "app/intake/LinkPrintOptions.h"
#include "app/job/PrintJob.h"
#include "app/log/RunLog.h"
#include "app/printing/Printer.h"
#include "app/registration/ProtocolRegistration.h"
#include "app/table/AssignmentCommands.h"
#include "app/table/AssignmentTable.h"
#include "app/table/DBGrid.h"
#include "app/trust/TrustSummary.h"
#include "app/uKestrovaTrust.h"
#include "app/ui/DesktopCentre.h"
#include "app/ui/ElidedLabel.h"
#include "app/ui/EventGuard.h"
#include "pdf/Pdf.h"

#include <QCoreApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLockFile>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

template <class Control> Control* named(Control* control, const char* name) {
    control->setObjectName(QLatin1String(name));
    return control;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption, int width, int height) {
    QPushButton* control = named(new QPushButton(caption, parent), name);
    control->setFixedSize(width, height);
    return control;
}

void setTextColor(QWidget* control, const QColor& color) {
    QPalette palette = control->palette();
    palette.setColor(QPalette::WindowText, color);
    control->setPalette(palette);
}

} // namespace

TPrint::TPrint(QString InvocationUrl, QWidget* parent)
    : QWidget(parent), FInvocationUrl(std::move(InvocationUrl)) {
    CreateControls();
    // A run started with a link ends after any message, as a print job does: only a run without one is a
    // settings window.
    if (!EventGuard::Run([this] { FormCreate(); }) && !FInvocationUrl.isEmpty())
        QTimer::singleShot(0, this, &QWidget::close);
}

TPrint::~TPrint() = default;

void TPrint::CreateControls() {
    setObjectName(QStringLiteral("Print"));
    setWindowTitle(QStringLiteral("Print"));
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Button));
    setPalette(palette);
    setAutoFillBackground(true);
    resize(382, 389);

    auto* form = new QVBoxLayout(this);
    form->setContentsMargins(0, 0, 0, 0);
    form->setSpacing(0);

    pReg = named(new QFrame(this), "pReg");
    pReg->setFixedHeight(48);
    Label2 = named(
        new QLabel(QStringLiteral("Note: Writing the registry requires administrator privileges"), pReg),
        "Label2");
    Label2->setContentsMargins(3, 3, 3, 3);
    setTextColor(Label2, Qt::red);
    Label1 = named(new QLabel(QStringLiteral("protocol:"), pReg), "Label1");
    edKestrovaKey = named(new QLineEdit(QStringLiteral("Kestrova"), pReg), "edKestrovaKey");
    edKestrovaKey->setReadOnly(true);
    btReg = button(pReg, "btReg", QStringLiteral("Register"), 75, 23);
    auto* regRows = new QVBoxLayout(pReg);
    regRows->setContentsMargins(0, 0, 0, 0);
    regRows->setSpacing(0);
    regRows->addWidget(Label2);
    auto* keyRow = new QHBoxLayout;
    keyRow->setContentsMargins(3, 4, 3, 4);
    keyRow->setSpacing(3);
    keyRow->addWidget(Label1);
    keyRow->addWidget(edKestrovaKey, 1);
    keyRow->addWidget(btReg);
    regRows->addLayout(keyRow);
    form->addWidget(pReg);

    pButton = named(new QFrame(this), "pButton");
    pButton->setFrameStyle(QFrame::Panel | QFrame::Raised);
    pButton->setFixedHeight(35);
    btAppend = button(pButton, "btAppend", QStringLiteral("Append"), 75, 27);
    btDelete = button(pButton, "btDelete", QStringLiteral("Delete"), 75, 27);
    btEditor = button(pButton, "btEditor", QStringLiteral("Editor"), 75, 27);
    auto* buttons = new QHBoxLayout(pButton);
    buttons->setContentsMargins(4, 4, 4, 4);
    buttons->setSpacing(4);
    buttons->addWidget(btAppend);
    buttons->addWidget(btDelete);
    buttons->addWidget(btEditor);
    // In the room the buttons leave, never widening the window: the tooltip has the whole policy.
    lTrust = named(new QLabel(pButton), "lTrust");
    lTrust->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    lTrust->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    btTrust = button(pButton, "btTrust", QStringLiteral("Trust..."), 75, 27);
    buttons->addWidget(lTrust, 1);
    buttons->addWidget(btTrust);
    form->addWidget(pButton);

    Cds = named(new TClientDataSet(this), "Cds");
    Cds->AfterPost = [this](TClientDataSet* dataSet) {
        CdsAfterPost(dataSet);
    };
    Cds->AfterDelete = [this](TClientDataSet* dataSet) {
        CdsAfterDelete(dataSet);
    };
    Ds = named(new TDataSource(Cds, AssignmentTable::GridColumns(), this), "Ds");
    Grid = named(new TDBGrid(this), "Grid");
    Grid->SetDataSource(Ds);
    form->addWidget(Grid, 1);

    mmUrl = named(new QPlainTextEdit(QStringLiteral("Url Info"), this), "mmUrl");
    mmUrl->setFixedHeight(130);
    auto* memo = new QVBoxLayout;
    memo->setContentsMargins(3, 3, 3, 3);
    // Where the table file lives, on a line of its own under the grid, shortened in the middle when long.
    lTable = named(new TElidedLabel(this), "lTable");
    memo->addWidget(lTable);
    memo->addWidget(mmUrl);
    form->addLayout(memo);

    // Not in the layout: as designed it lies over the grid; in print mode it covers the whole window.
    pSchedule = named(new QFrame(this), "pSchedule");
    pSchedule->setFrameStyle(QFrame::Panel | QFrame::Raised);
    pSchedule->setGeometry(52, 184, 256, 50);
    lSchedule = named(new QLabel(QStringLiteral("Loading..."), pSchedule), "lSchedule");
    schedule = named(new QProgressBar(pSchedule), "schedule");
    schedule->setRange(0, 100);
    schedule->setValue(0);
    auto* progress = new QVBoxLayout(pSchedule);
    progress->setContentsMargins(0, 4, 0, 4);
    progress->setSpacing(0);
    progress->addWidget(lSchedule);
    progress->addWidget(schedule, 1);
    pSchedule->raise();

    Pdf = named(new PDFium::TPdf(this), "Pdf");
    StartPrinting = named(new QTimer(this), "StartPrinting");
    StartPrinting->setSingleShot(true);
    StartPrinting->setInterval(10);
    connect(StartPrinting, &QTimer::timeout, this,
            [this] { EventGuard::Run([this] { StartPrintingTimer(); }); });
    StartPrintingTimer = [this] {
        StartPrinting->stop();
        const TPrintJob job{
            FInvocationUrl,
            pdfurl,
            ModuleAddress,
            PrintOptions,
            windowTitle(),
            DownloadFolder(),
            Cds,
            Pdf,
            [this](qint64 received, qint64 total) { ShowDownloadProgress(*schedule, received, total); },
            [this] {
                close();
            }};
        RunPrintJob(job, FPdfPath);
    };
    connect(btReg, &QPushButton::clicked, this, [this] { EventGuard::Run([this] { btRegClick(); }); });
    connect(btAppend, &QPushButton::clicked, this, [this] { EventGuard::Run([this] { btAppendClick(); }); });
    connect(btEditor, &QPushButton::clicked, this, [this] { EventGuard::Run([this] { btEditorClick(); }); });
    connect(btDelete, &QPushButton::clicked, this, [this] { EventGuard::Run([this] { btDeleteClick(); }); });
    connect(btTrust, &QPushButton::clicked, this, [this] { EventGuard::Run([this] { btTrustClick(); }); });
}

void TPrint::FormCreate() {
    // Print mode shows no Register button, and a print job should not wait for the desktop's tools.
    if (FInvocationUrl.isEmpty())
        btReg->setEnabled(!IsExistRegistryKey(edKestrovaKey->text()));
    FCdsFilePath = AssignmentTable::CdsFilePath();
    lTable->setText(FCdsFilePath);
    lTable->setToolTip(FCdsFilePath);
    // Before any step that may fail, so that in whatever layout the window ends, Trust is never enabled under
    // the administrator's policy.
    ShowTrust();
    // A settings window holds the table before it reads it: a row that another window saved in between would
    // be missing from this window's copy, and lost at its next save.
    const QString refusal = FInvocationUrl.isEmpty() ? HoldTable() : QString();
    if (refusal.isEmpty())
        LoadTable();
    const bool printMode = ReadUrl(ModuleAddress, pdfurl);
    if (printMode)
        PrintOptions = LinkPrintOptions(FInvocationUrl);
    pReg->setVisible(!printMode);
    pButton->setVisible(!printMode);
    Grid->setVisible(!printMode);
    mmUrl->setVisible(!printMode);
    lTable->setVisible(!printMode);
    pSchedule->setVisible(printMode);
    if (!printMode) {
        // Rows whose printer has gone are marked: their modules now print on the default printer.
        Ds->SetRowNote([this, printers = TPrinter().Printers()](int row) {
            return AssignmentTable::MissingPrinterNote(
                Cds->FieldValue(row, Cds->FieldIndex(AssignmentTable::fdSpecifyprintername)), printers);
        });
        if (!refusal.isEmpty())
            throw EDatabaseError(refusal);
        return;
    }
    setWindowFlag(Qt::FramelessWindowHint, true);
    resize(pSchedule->size());
    pSchedule->move(0, 0);
    StartPrinting->start();
}

QString TPrint::HoldTable() {
    try {
        FTableHold = AssignmentTable::HoldForEditing(FCdsFilePath);
        return QString();
    } catch (const EDatabaseError& error) {
        // The other window's rows must not be lost to a save from this one.
        DisableTable(error.Message());
        pButton->setEnabled(false);
        return error.Message();
    }
}

void TPrint::LoadTable() {
    try {
        AssignmentTable::SetUp(*Cds, FCdsFilePath);
    } catch (const EDatabaseError& error) {
        DisableTable(error.Message());
        throw;
    }
}

void TPrint::DisableTable(const QString& Reason) {
    Cds->Close();
    for (QPushButton* command : {btAppend, btEditor, btDelete}) {
        command->setEnabled(false);
        command->setToolTip(QStringLiteral("The table cannot be changed here: %1").arg(Reason));
    }
}

bool TPrint::ReadUrl(QString& ModuleAddress, QString& pdfurl) {
    mmUrl->clear();
    if (FInvocationUrl.isEmpty())
        return false;
    WriteLog(FInvocationUrl);
    ReadInvocationUrl(
        FInvocationUrl, [this](const QString& line) { mmUrl->appendPlainText(line); }, ModuleAddress, pdfurl);
    return true;
}

void TPrint::btRegClick() {
    const QString key = edKestrovaKey->text();
    RegisterProtocol(key, QCoreApplication::applicationFilePath());
    btReg->setEnabled(!IsExistRegistryKey(key));
}

void TPrint::btAppendClick() {
    AssignmentCommands::Append(*Cds, TPrinter().Printers(), this);
}

void TPrint::btEditorClick() {
    AssignmentCommands::Editor(*Cds, TPrinter().Printers(), this);
}

void TPrint::btDeleteClick() {
    AssignmentCommands::Delete(*Cds);
}

void TPrint::btTrustClick() {
    TTrustEdit dialog(ReadTrustPolicy(TrustFilePath()), TrustFilePath(), this);
    dialog.exec();
    ShowTrust();
}

void TPrint::ShowTrust() {
    const TTrustPolicy policy = CurrentTrustPolicy();
    lTrust->setText(TrustStatus(policy));
    lTrust->setToolTip(TrustDescription(policy));
    const bool administered = policy.FilePath == SystemTrustFilePath();
    btTrust->setEnabled(!administered);
    btTrust->setToolTip(administered ? QStringLiteral("Set by the administrator in %1").arg(policy.FilePath)
                                     : QString());
}

void TPrint::CdsAfterPost(TClientDataSet* DataSet) {
    DataSet->SaveToFile(FCdsFilePath);
}

void TPrint::CdsAfterDelete(TClientDataSet* DataSet) {
    DataSet->SaveToFile(FCdsFilePath);
}

void TPrint::setVisible(bool visible) {
    // Centred on the desktop at its size when first shown.
    if (visible && !FPlaced) {
        FPlaced = true;
        create(); // the platform window knows the frame's size
        move(CentredOn(DesktopRect(), frameGeometry().size()));
    }
    QWidget::setVisible(visible);
}
