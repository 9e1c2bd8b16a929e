#pragma once

// The message boxes of the window. The window is built with them, so a test
// can answer for the operator; the program uses DialogosQt.

#include <string>

#include "ImpressaoRotulos.h"

class DialogosJanela : public rotulos::Dialogos {
public:
    // The application's default error report: every failure no handler
    // catches ends up here, and the window goes on as it was.
    virtual void RelatarErro(const std::string& texto) = 0;
};

class DialogosQt : public DialogosJanela {
public:
    // "Sim" is the default, Esc answers "Não".
    bool Confirmar(const std::string& pergunta) override;
    void Mensagem(const std::string& texto) override;
    void RelatarErro(const std::string& texto) override;
};

inline constexpr const char* kTituloConfirmacao = "Confirmação";
inline constexpr const char* kTituloMensagem = "Impressão de Rótulos";
inline constexpr const char* kTituloErro = "Erro";
