#pragma once

// The window on Windows: native controls drawn from the form's description
// at the screen's DPI, each shown as its component in the core says and
// drawn again when it changes; clicks, choices, typing, showing, closing and
// the timer passed in. Nothing is decided here.

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "AgendaWin32.h"
#include "uImprimeEtiqLumbertovaLab.h"

class JanelaWin32 {
public:
    // The core and the timer must outlive the shell.
    JanelaWin32(HINSTANCE instancia, rotulos::form::TfoImprimeEtiqLumbertovaLab& janela, AgendaWin32& agenda);
    ~JanelaWin32();
    JanelaWin32(const JanelaWin32&) = delete;
    JanelaWin32& operator=(const JanelaWin32&) = delete;

    // Shows the window; the core's show step follows once it is on screen.
    void Mostrar(int comoMostrar);
    // The message loop, until the window is gone; the program's exit status.
    int Executar();

private:
    // A component and the native controls that show it.
    struct Nativo {
        rotulos::form::TControl* componente;
        HWND janela;
        std::vector<HWND> itens;  // a group of options: its radio buttons
    };

    static LRESULT CALLBACK Procedimento(HWND janela, UINT mensagem, WPARAM w, LPARAM l);
    LRESULT Tratar(UINT mensagem, WPARAM w, LPARAM l);
    void CriarFonte();
    void CriarControles();
    HWND Criar(const wchar_t* classe, const std::wstring& texto, DWORD estilo, DWORD estiloEstendido,
               const rotulos::form::Retangulo& posicao, int id);
    void Renderizar(const Nativo& controle);
    void Comando(int id, int notificacao, HWND origem);
    void DevolverFoco();
    int Escala(int valor) const { return MulDiv(valor, dpi_, 96); }

    rotulos::form::TfoImprimeEtiqLumbertovaLab& janela_;
    AgendaWin32& agenda_;
    HINSTANCE instancia_;
    HWND hwnd_ = nullptr;
    HFONT fonte_ = nullptr;
    int dpi_ = 96;
    std::vector<Nativo> controles_;
    std::map<int, std::pair<Nativo*, int>> porId_;  // control id: the control and the item it is
    bool renderizando_ = false;                     // our own text changes are not typing
    HWND focoAoSair_ = nullptr;                     // the control that had the keyboard when the window lost it
};
