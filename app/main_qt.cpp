// Start-up: the application object, the one window, the event loop until the
// window closes. No arguments, environment or registry are read.

#include <QApplication>

#include "AgendaQt.h"
#include "DialogosQt.h"
#include "JanelaQt.h"
#include "uImprimeEtiqLumbertovaLab.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("imprime-rotulos"));
    QApplication::setDesktopFileName(QStringLiteral("imprime-rotulos"));

    DialogosQt dialogos;
    AgendaQt agenda;
    rotulos::form::TfoImprimeEtiqLumbertovaLab janela(dialogos, agenda);
    rotulos::form::foImprimeEtiqLumbertovaLab = &janela;
    JanelaQt shell(janela);
    shell.show();
    const int status = QApplication::exec();
    rotulos::form::foImprimeEtiqLumbertovaLab = nullptr;
    return status;
}
