// The program Kestrova: started with a link it prints the linked PDF, without one it shows its settings.
#include "app/intake/InvocationUrl.h"
#include "app/intake/StartArguments.h"
#include "app/job/Termination.h"
#include "app/uKestrova.h"
#include "app/ui/MessageBoxes.h"

#include <QApplication>

int main(int argc, char** argv) {
    if (const std::optional<int> exitCode = AnswerCommandLine(argc, argv, KESTROVA_VERSION))
        return *exitCode;
    QApplication application(argc, argv);
    const QString link = InvocationUrl();
    if (!link.isEmpty())
        EndCleanlyOnTermination();
    TPrint form(link);
    form.show();
    application.exec();
    // The process ends with 0 however the run went, except where an error could not be shown: then its
    // message went to standard error, and the exit code says that the run failed.
    return MessageBoxes::ShownWithoutDisplay() ? 1 : 0;
}
