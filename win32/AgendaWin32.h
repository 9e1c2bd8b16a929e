#pragma once

// The window's timer on Windows: a WM_TIMER of the window, one call at a time.
// SetTimer counts in ticks of about 16 ms and may come early by one; the
// printer's pause is never shorter than asked, so an early tick waits on.

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <chrono>
#include <functional>

#include "ImpressaoRotulos.h"

class AgendaWin32 : public rotulos::Agenda {
public:
    static constexpr UINT_PTR kTemporizador = 1;

    // The window whose WM_TIMER comes back to Disparar.
    void Ligar(HWND janela) { janela_ = janela; }

    void Agendar(std::chrono::milliseconds espera, std::function<void()> acao) override {
        acao_ = std::move(acao);
        prazo_ = Relogio::now() + espera;
        SetTimer(janela_, kTemporizador, static_cast<UINT>(espera.count()), nullptr);
    }
    void Cancelar() override {
        if (janela_) KillTimer(janela_, kTemporizador);
        acao_ = nullptr;
    }
    // WM_TIMER.
    void Disparar() {
        KillTimer(janela_, kTemporizador);
        const auto resta = std::chrono::ceil<std::chrono::milliseconds>(prazo_ - Relogio::now());
        if (resta.count() > 0) {
            SetTimer(janela_, kTemporizador, static_cast<UINT>(resta.count()), nullptr);
            return;
        }
        auto acao = std::move(acao_);
        acao_ = nullptr;
        if (acao) acao();
    }

private:
    using Relogio = std::chrono::steady_clock;
    HWND janela_ = nullptr;
    std::function<void()> acao_;
    Relogio::time_point prazo_{};
};
