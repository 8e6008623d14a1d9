// kestrova-pdf: shows what Kestrova's PDF component sees in a document, and edits it, for support and for
// scripts. One JSON document on standard output, unless the command wrote its document or picture there
// (OUT /dev/stdout); errors on standard error with exit code 1; wrong usage exits with code 2.
#include "CommandLine.h"
#include "DocumentReports.h"

#include "pdf/editing/SaveTarget.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <cstdio>
#include <optional>

namespace {

QJsonObject Run(const ToolInvocation& invocation) {
    PDFium::TPdf pdf;
    OpenInspected(pdf, invocation.File, invocation.Password, invocation.PageNumber);
    return invocation.Command->Run(pdf, invocation);
}

// The report would follow the bytes of a document or picture written to standard output, and spoil them.
bool WroteToStandardOutput(const ToolInvocation& invocation) {
    for (const QString& output : {invocation.Edit.Output, invocation.Output})
        if (!output.isEmpty() && PDFium::IsStandardOutput(output))
            return true;
    return false;
}

// --help (or -h) and --version in place of a command: the usage or the version on standard output.
std::optional<int> AnswerInformation(const QStringList& arguments) {
    if (arguments.size() != 1)
        return std::nullopt;
    if (arguments.first() == u"--help" || arguments.first() == u"-h") {
        std::fputs(qPrintable(UsageText() + QStringLiteral("\n  -h, --help    this usage\n"
                                                           "  --version     the program's version\n")),
                   stdout);
        return 0;
    }
    if (arguments.first() == u"--version") {
        std::printf("kestrova-pdf %s\n", KESTROVA_VERSION);
        return 0;
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    if (const std::optional<int> exitCode = AnswerInformation(application.arguments().mid(1)))
        return *exitCode;
    ToolInvocation invocation;
    try {
        invocation = ParseCommandLine(application.arguments().mid(1));
    } catch (const UsageError& error) {
        std::fprintf(stderr, "kestrova-pdf: %s\n%s", error.what(), qPrintable(UsageText()));
        return 2;
    }
    try {
        const QByteArray json = QJsonDocument(Run(invocation)).toJson(QJsonDocument::Indented);
        if (!WroteToStandardOutput(invocation))
            std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "kestrova-pdf: %s\n", error.what());
        return 1;
    }
}
