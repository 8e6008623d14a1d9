// The private print system of a test process: scripts/print-system.sh started in a folder of its own, with
// two 300 dpi queues whose printed documents land as PDF files, driverless printers whose received PWG
// raster lands as .pwg files, and queues on printer drivers and a raw queue whose printers keep what they
// receive. The process's CUPS clients (Qt's printing among them) see only it.
//
// The CUPS client library keeps the server it first talked to for the rest of the process, so a process has
// one print system: Shared() starts it on first use, and it is stopped when the process ends. Processes that
// run at the same time (ctest -j) each start their own in a temporary folder of their own.
#pragma once

#include <QString>
#include <QStringList>

class PrintSystem {
public:
    static PrintSystem& Shared();

    PrintSystem(const PrintSystem&) = delete;
    PrintSystem& operator=(const PrintSystem&) = delete;
    ~PrintSystem();

    // Whether it runs; when not, Error() says why.
    bool Started() const { return FError.isEmpty(); }
    const QString& Error() const { return FError; }

    // The queues, the default first.
    const QStringList& Printers() const { return FPrinters; }
    const QString& DefaultPrinter() const { return FPrinters.first(); }
    const QString& OutputFolder() const { return FOutput; }
    // The driverless printer's queue; empty when it could not start, and DriverlessError() says why.
    const QString& DriverlessPrinter() const { return FDriverless; }
    const QString& DriverlessError() const { return FDriverlessError; }
    // The two-sided colour driverless printer's queue, with two trays; empty with the other.
    const QString& DuplexPrinter() const { return FDuplex; }
    // The driverless printer again as its own printer, reached without compression (compression=none on the
    // queue's device URI); empty with the other.
    const QString& DriverlessPlainPrinter() const { return FDriverlessPlain; }
    // The label printer's queue, on CUPS's sample Zebra ZPL driver.
    const QString& LabelPrinter() const { return FLabel; }
    // Queues whose printers take a raw TCP socket as an AppSocket printer does, and keep each job as
    // "<queue>-<n>.<ext>", its modification time when its last byte arrived: on CUPS's generic PostScript
    // driver (.ps), on its sample HP LaserJet driver at 300 dpi (.pcl), and a raw queue, which passes on what
    // it is given as it is (.raw).
    const QString& PostScriptPrinter() const { return FPostScript; }
    const QString& LaserJetPrinter() const { return FLaserJet; }
    const QString& RawPrinter() const { return FRaw; }
    // Makes the driverless printer take Seconds to print each job it receives from now on; 0 for no delay.
    bool SetDriverlessDelay(int Seconds);
    // Holds the jobs of Printer (one of the queues that print to PDF) at its printer from now on, the
    // printer reporting BackendLines (such as "STATE: +media-jam-error") meanwhile; an empty list lets them
    // go.
    bool HoldJobs(const QString& Printer, const QStringList& BackendLines);

    // Waits until a document printed on Printer lands ("<Printer>-<n>.<ext>" in the output folder) that no
    // earlier call returned, and returns its path; an empty string when none comes within TimeoutSeconds.
    QString WaitForOutput(const QString& Printer, int TimeoutSeconds = 60);
    // The title of the newest job on Printer, as the print queue shows it.
    static QString LastJobTitle(const QString& Printer);
    // How many jobs the print system has taken and not cancelled or aborted, on every queue.
    static int PrintingJobCount();
    // Waits until Printer has no job pending, held or printing, so that a change to the queue (lpadmin)
    // restarts none, which its printer would then receive again; false when one is left after
    // TimeoutSeconds.
    static bool WaitUntilIdle(const QString& Printer, int TimeoutSeconds = 60);

    // Adds a queue like the second one, or removes a queue. Both return whether lpadmin succeeded. A queue
    // may be given a default resolution other than 300 dpi, and a filter line of its own (the PPD's
    // cupsFilter2) in place of the one that takes PDF.
    bool AddPrinter(const QString& Name, int DefaultDpi = 300, const QByteArray& Filter = {});
    bool RemovePrinter(const QString& Name);
    // Ends the cupsd at once, as a crash would: for the rest of the process there is no print system to
    // reach.
    bool KillServer();
    // Makes the default queue again, as it was at the start, and the default.
    bool RestoreDefaultPrinter();
    // Runs a CUPS command (cupsreject, cupsdisable, lp, ...) with Arguments; whether it succeeded.
    static bool Administer(const QString& Command, const QStringList& Arguments);

private:
    PrintSystem();
    bool lpadmin(const QStringList& arguments);

    QString FFolder;
    QString FOutput;
    QStringList FPrinters;
    QStringList FSeen;
    QString FError;
    QString FDriverless;
    QString FDuplex;
    QString FLabel;
    QString FDriverlessPlain;
    QString FPostScript;
    QString FLaserJet;
    QString FRaw;
    QString FDriverlessError;
};

// While it lives, the print system has no default printer: its default queue is removed, and made again,
// as the default, when it ends.
class NoDefaultPrinter {
public:
    explicit NoDefaultPrinter(PrintSystem& System = PrintSystem::Shared());
    ~NoDefaultPrinter();
    NoDefaultPrinter(const NoDefaultPrinter&) = delete;
    NoDefaultPrinter& operator=(const NoDefaultPrinter&) = delete;

private:
    PrintSystem& FSystem;
};
