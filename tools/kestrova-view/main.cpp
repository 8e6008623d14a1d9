// kestrova-view FILE [--password P]: a PDF viewer on the component's page view.
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
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The PDF document to show."));
    parser.process(app);
    if (parser.positionalArguments().size() != 1)
        parser.showHelp(2);

    TViewerWindow window;
    window.show();
    window.OpenFile(parser.positionalArguments().first(), parser.value(QStringLiteral("password")));
    return QApplication::exec();
}
