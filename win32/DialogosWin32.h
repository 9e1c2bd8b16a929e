#pragma once

// The window's message boxes on Windows. MessageBox labels its buttons in the
// system's language, so these are dialogs of our own: "Sim", "Não" and "OK"
// whatever the language, the question or the error icon, the second text
// below the first, and wide enough to show the whole title. Each is modal
// over the window that is active when it opens.

#include "Dialogos.h"

class DialogosWin32 : public rotulos::form::DialogosJanela {
public:
    bool Confirmar(const std::string& pergunta, const std::string& detalhe) override;
    void Mensagem(const std::string& texto, const std::string& detalhe, rotulos::TipoMensagem tipo) override;
    void RelatarErro(const std::string& texto) override;
};
