// The program Kestrova: started with a link it prints the linked PDF, without one it shows its settings.
#include "app/intake/InvocationUrl.h"
#include "app/uKestrova.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    TPrint form(InvocationUrl());
    form.show();
    application.exec();
    // The process ends with 0 however the run went.
    return 0;
}
