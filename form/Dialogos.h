#pragma once

// The window's message boxes, as every shell draws them: Portuguese titles
// and buttons whatever the system's language, "Sim" the default, Esc "Não".

#include <string>

#include "ImpressaoRotulos.h"

namespace rotulos::form {

class DialogosJanela : public Dialogos {
public:
    // The application's default error report: every failure no handler
    // catches ends up here, under the error icon, and the window goes on.
    virtual void RelatarErro(const std::string& texto) = 0;
};

inline constexpr const char* kTituloConfirmacao = "Confirmação";
inline constexpr const char* kTituloMensagem = "Impressão de Rótulos";
inline constexpr const char* kTituloErro = "Erro";
inline constexpr const char* kSim = "Sim";
inline constexpr const char* kNao = "Não";
inline constexpr const char* kOk = "OK";

}  // namespace rotulos::form
