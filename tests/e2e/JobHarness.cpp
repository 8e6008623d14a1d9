#include "JobHarness.h"

#include "app/log/DataFolder.h"
#include "app/uKestrova.h"
#include "app/ui/MessageBoxes.h"
#include "support/PrintSystem.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>
#include <QXmlStreamWriter>

QString JobLink(const QString& ModuleAddress, const QString& PdfUrl) {
    return QStringLiteral("kestrova://print/?moduleaddress=%1&pdfurl=%2")
        .arg(QString::fromLatin1(QUrl::toPercentEncoding(ModuleAddress)),
             QString::fromLatin1(QUrl::toPercentEncoding(PdfUrl)));
}

void WriteTable(const QString& Folder, const QList<TableRow>& Rows) {
    QFile file(QDir(Folder).filePath(QStringLiteral("cds.xml")));
    if (!file.open(QIODevice::WriteOnly))
        return;
    QXmlStreamWriter xml(&file);
    xml.writeStartDocument(QStringLiteral("1.0"), true);
    xml.writeStartElement(QStringLiteral("DATAPACKET"));
    xml.writeAttribute(QStringLiteral("Version"), QStringLiteral("2.0"));
    xml.writeStartElement(QStringLiteral("METADATA"));
    xml.writeStartElement(QStringLiteral("FIELDS"));
    for (const char* field : {"fdModuleAddress", "fdModuleName", "fdSpecifyprintername"}) {
        xml.writeEmptyElement(QStringLiteral("FIELD"));
        xml.writeAttribute(QStringLiteral("attrname"), QString::fromLatin1(field));
        xml.writeAttribute(QStringLiteral("fieldtype"), QStringLiteral("string.uni"));
        xml.writeAttribute(QStringLiteral("WIDTH"), QStringLiteral("512"));
    }
    xml.writeEndElement();
    xml.writeEmptyElement(QStringLiteral("PARAMS"));
    xml.writeEndElement();
    xml.writeStartElement(QStringLiteral("ROWDATA"));
    for (const TableRow& row : Rows) {
        xml.writeEmptyElement(QStringLiteral("ROW"));
        xml.writeAttribute(QStringLiteral("fdModuleAddress"), row.ModuleAddress);
        xml.writeAttribute(QStringLiteral("fdModuleName"), row.ModuleName);
        xml.writeAttribute(QStringLiteral("fdSpecifyprintername"), row.PrinterName);
    }
    xml.writeEndDocument();
}

int PrintedJobCount() {
    return PrintSystem::PrintingJobCount();
}

QStringList FilesIn(const QString& Folder) {
    return QDir(Folder).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
}

void FormJob::SetUp() {
    if (!PrintSystem::Shared().Started())
        GTEST_SKIP() << "no private print system: " << PrintSystem::Shared().Error().toStdString();
    ASSERT_TRUE(Folder.isValid());
    DataFolder::SetPath(Folder.path());
    MessageBoxes::SetRecorder([this](const MessageBoxes::Shown& box) { Boxes.append(box.text); });
}

void FormJob::TearDown() {
    MessageBoxes::SetRecorder({});
    DataFolder::SetPath(QString());
}

bool FormJob::RunJob(const QString& link) {
    JobsBefore = PrintedJobCount();
    TPrint form(link);
    form.show();
    QElapsedTimer clock;
    clock.start();
    while (form.isVisible() && clock.elapsed() < 120000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return !form.isVisible();
}

QString FormJob::Printed(const QString& printer) {
    return PrintSystem::Shared().WaitForOutput(printer, 60);
}
