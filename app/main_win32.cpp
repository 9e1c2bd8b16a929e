// Start-up on Windows: the one window, the message loop until it closes.
// No arguments, environment or registry are read.

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include "AgendaWin32.h"
#include "DialogosWin32.h"
#include "JanelaWin32.h"
#include "uImprimeEtiqLumbertovaLab.h"

int WINAPI WinMain(HINSTANCE instancia, HINSTANCE, LPSTR, int comoMostrar) {
    // The common controls of the manifest's version 6, drawn in the system's style.
    INITCOMMONCONTROLSEX controles{sizeof controles, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controles);

    DialogosWin32 dialogos;
    try {
        AgendaWin32 agenda;
        rotulos::form::TfoImprimeEtiqLumbertovaLab janela(dialogos, agenda);
        rotulos::form::foImprimeEtiqLumbertovaLab = &janela;
        JanelaWin32 shell(instancia, janela, agenda);
        shell.Mostrar(comoMostrar);
        const int status = shell.Executar();
        rotulos::form::foImprimeEtiqLumbertovaLab = nullptr;
        return status;
    } catch (const std::exception& erro) {
        // Nothing else can report a window that could not be made.
        dialogos.RelatarErro(erro.what());
        return 1;
    }
}
