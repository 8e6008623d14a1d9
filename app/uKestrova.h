// The main form TPrint: the settings window (protocol registration, the printer assignment table, the link's
// parts) and, when started with a link, the small borderless progress window of a print job. The form only
// wires the units that do the work.
#pragma once

#include "app/options/PrintOptions.h"

#include <QString>
#include <QWidget>
#include <functional>
#include <memory>

class QFrame;
class QLockFile;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTimer;
class TClientDataSet;
class TDataSource;
class TDBGrid;
class TElidedLabel;
namespace PDFium {
class TPdf;
}

class TPrint : public QWidget {
    Q_OBJECT
public:
    // InvocationUrl: the link the process was started with; empty without one. FormCreate runs here.
    explicit TPrint(QString InvocationUrl, QWidget* parent = nullptr);
    ~TPrint() override;

    // Controls, named as the form holds them.
    QFrame* pReg;
    QLabel* Label2;
    QLabel* Label1;
    QLineEdit* edKestrovaKey;
    QPushButton* btReg;
    QPlainTextEdit* mmUrl;
    QFrame* pButton;
    QPushButton* btAppend;
    QPushButton* btDelete;
    QPushButton* btEditor;
    QLabel* lTrust; // who may print here, in a few words; the whole sentence as its tooltip
    QPushButton* btTrust;
    TElidedLabel* lTable; // where the table file lives
    TDBGrid* Grid;
    QFrame* pSchedule;
    QLabel* lSchedule;
    QProgressBar* schedule;

    // Components without a visual.
    PDFium::TPdf* Pdf;
    TClientDataSet* Cds;
    TDataSource* Ds;
    QTimer* StartPrinting;

    QString FCdsFilePath;
    QString FPdfPath;
    QString ModuleAddress;
    QString pdfurl;
    TOptionValues PrintOptions; // the link's print options

    // The tick handler of StartPrinting: the print job. The timer fires once, 10 ms after the message loop
    // has begun, in print mode only; the handler runs inside the event guard. Tests may put another job here.
    std::function<void()> StartPrintingTimer;

    // Takes the link apart into the memo and the two fields; false when the process was given no link.
    bool ReadUrl(QString& ModuleAddress, QString& pdfurl);
    void btRegClick();
    void btAppendClick();
    void btEditorClick();
    void btDeleteClick();
    // Edits the user's trust file in its dialog; the administrator's file, when there is one, is not edited.
    void btTrustClick();
    // Shows the trust policy in force.
    void ShowTrust();
    // Every change of the table is saved at once.
    void CdsAfterPost(TClientDataSet* DataSet);
    void CdsAfterDelete(TClientDataSet* DataSet);

    void setVisible(bool visible) override;

private:
    void CreateControls();
    void FormCreate();
    // Holds the table for this window's changes, before it is read. Refused while another window holds it:
    // the table stays closed, its buttons are disabled, and the refusal is returned (empty when held).
    QString HoldTable();
    // Sets the table up from its file; one that cannot be loaded stays closed, its buttons disabled.
    void LoadTable();
    // Closes the table and disables Append, Editor and Delete, each saying why as its tooltip.
    void DisableTable(const QString& Reason);

    QString FInvocationUrl;
    bool FPlaced = false;
    std::unique_ptr<QLockFile> FTableHold; // the table, held by a window that can change it
};
