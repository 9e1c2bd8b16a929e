// Start-up: the application object, the one window, the event loop until the
// window closes. No arguments, environment or registry are read.

#include <QApplication>

#include "DialogosJanela.h"
#include "ImpressaoRotulos.h"
#include "uImprimeEtiqLumbertovaLab.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("imprime-rotulos"));
    QApplication::setDesktopFileName(QStringLiteral("imprime-rotulos"));

    DialogosQt dialogos;
    rotulos::PausaReal pausa;
    TfoImprimeEtiqLumbertovaLab janela(dialogos, pausa);
    foImprimeEtiqLumbertovaLab = &janela;
    janela.show();
    const int status = QApplication::exec();
    foImprimeEtiqLumbertovaLab = nullptr;
    return status;
}
