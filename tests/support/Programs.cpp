#include "support/Programs.h"

#include <QProcess>
#include <QRegularExpression>

QString RunProgram(const QString& Program, const QStringList& Arguments) {
    QProcess process;
    process.start(Program, Arguments);
    process.waitForFinished(120000);
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

QString PdfInfoField(const QString& Path, const QString& Field) {
    const QRegularExpression line(QStringLiteral("^%1:\\s*(.*)$").arg(QRegularExpression::escape(Field)),
                                  QRegularExpression::MultilineOption);
    return line.match(RunProgram(QStringLiteral("pdfinfo"), {Path})).captured(1).trimmed();
}
