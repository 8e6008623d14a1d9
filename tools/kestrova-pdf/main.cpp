// kestrova-pdf: shows what Kestrova's PDF component sees in a document, and edits it, for support and for
// scripts. One JSON document on standard output; errors on standard error with exit code 1; wrong usage exits
// with code 2.
#include "CommandLine.h"
#include "DocumentReports.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <cstdio>

namespace {

QJsonObject Run(const ToolInvocation& invocation) {
    PDFium::TPdf pdf;
    OpenInspected(pdf, invocation.File, invocation.Password, invocation.PageNumber);
    return invocation.Command->Run(pdf, invocation);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    ToolInvocation invocation;
    try {
        invocation = ParseCommandLine(application.arguments().mid(1));
    } catch (const UsageError& error) {
        std::fprintf(stderr, "kestrova-pdf: %s\n%s", error.what(), qPrintable(UsageText()));
        return 2;
    }
    try {
        const QByteArray json = QJsonDocument(Run(invocation)).toJson(QJsonDocument::Indented);
        std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "kestrova-pdf: %s\n", error.what());
        return 1;
    }
}
