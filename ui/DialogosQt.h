#pragma once

// The window's message boxes on Qt. Each is modal over the window that is
// active when it opens, and wide enough to show its title whole.

#include "Dialogos.h"

class DialogosQt : public rotulos::form::DialogosJanela {
public:
    // "Sim" is the default, Esc answers "Não"; the second text goes below the question.
    bool Confirmar(const std::string& pergunta, const std::string& detalhe) override;
    void Mensagem(const std::string& texto, const std::string& detalhe, rotulos::TipoMensagem tipo) override;
    void RelatarErro(const std::string& texto) override;
};
