#include "support/Programs.h"

#include <QJsonArray>
#include <QJsonDocument>
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

QJsonObject QpdfField(const QString& Path, const QString& FullName) {
    const QJsonObject json = QJsonDocument::fromJson(RunProgram(QStringLiteral("qpdf"),
                                                                {QStringLiteral("--json"),
                                                                 QStringLiteral("--json-key=acroform"), Path})
                                                         .toUtf8())
                                 .object();
    for (const QJsonValue& field : json[QStringLiteral("acroform")][QStringLiteral("fields")].toArray())
        if (field[QStringLiteral("fullname")].toString() == FullName)
            return field.toObject();
    return {};
}
