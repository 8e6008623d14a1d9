// kestrova-view [FILE] [--password P]: a PDF viewer on the component's page view; without a file it opens
// empty, for File > Open.
#include "ViewerWindow.h"

#include <QApplication>
#include <QCommandLineParser>

namespace {

// Reads the options under a core application, which needs no display, so that --help, --version and a wrong
// command line are answered (and the process ends) before the window's application wants one.
void ReadOptions(QCommandLineParser& parser, int argc, char** argv) {
    int readArgc = argc;
    const QCoreApplication reading(readArgc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kestrova-view"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KESTROVA_VERSION));
    parser.setApplicationDescription(
        QStringLiteral("Shows a PDF document: pages, outline, links, search and forms."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption(
        {QStringLiteral("password"), QStringLiteral("The document's password."), QStringLiteral("P")});
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The PDF document to show."),
                                 QStringLiteral("[FILE]"));
    parser.process(reading);
    if (parser.positionalArguments().size() > 1)
        parser.showHelp(2);
}

} // namespace

int main(int argc, char** argv) {
    QCommandLineParser parser;
    ReadOptions(parser, argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kestrova-view"));
    TViewerWindow window;
    window.show();
    if (!parser.positionalArguments().isEmpty())
        window.OpenFile(parser.positionalArguments().first(), parser.value(QStringLiteral("password")));
    return QApplication::exec();
}
