// kestrova-view [FILE] [--password P]: a PDF viewer on the component's page view; without a file it opens
// empty, for File > Open.
#include "ViewerWindow.h"

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kestrova-view"));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Shows a PDF document: pages, outline, links, search and forms."));
    parser.addHelpOption();
    parser.addOption(
        {QStringLiteral("password"), QStringLiteral("The document's password."), QStringLiteral("P")});
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The PDF document to show."),
                                 QStringLiteral("[FILE]"));
    parser.process(app);
    if (parser.positionalArguments().size() > 1)
        parser.showHelp(2);

    TViewerWindow window;
    window.show();
    if (!parser.positionalArguments().isEmpty())
        window.OpenFile(parser.positionalArguments().first(), parser.value(QStringLiteral("password")));
    return QApplication::exec();
}
