#pragma once

// Stands in for the operator and for the shell: answers the message boxes
// from a script and keeps what they said, and holds the timer's next call
// until the test fires it, as the event loop would once the wait is over.

#include <chrono>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "Dialogos.h"
#include "ImpressaoRotulos.h"

namespace rotulos::teste {

class DialogosRoteiro : public form::DialogosJanela {
public:
    struct Caixa {
        std::string texto;
        std::string detalhe;
        bool operator==(const Caixa&) const = default;
    };

    std::deque<bool> respostas;  // when it runs out, the answer is Não
    std::vector<Caixa> perguntas;
    std::vector<Caixa> mensagens;
    std::vector<TipoMensagem> tiposDasMensagens;
    std::vector<std::string> erros;
    // Runs while a question is open, as the event loop would behind the modal box.
    std::function<void()> enquantoPergunta;

    bool Confirmar(const std::string& pergunta, const std::string& detalhe) override {
        perguntas.push_back({pergunta, detalhe});
        if (enquantoPergunta) enquantoPergunta();
        if (respostas.empty()) return false;
        const bool resposta = respostas.front();
        respostas.pop_front();
        return resposta;
    }
    void Mensagem(const std::string& texto, const std::string& detalhe, TipoMensagem tipo) override {
        mensagens.push_back({texto, detalhe});
        tiposDasMensagens.push_back(tipo);
    }
    void RelatarErro(const std::string& texto) override { erros.push_back(texto); }

    std::vector<std::string> TextosDasPerguntas() const {
        std::vector<std::string> textos;
        for (const auto& p : perguntas) textos.push_back(p.texto);
        return textos;
    }
    std::vector<std::string> TextosDasMensagens() const {
        std::vector<std::string> textos;
        for (const auto& m : mensagens) textos.push_back(m.texto);
        return textos;
    }
};

class AgendaManual : public Agenda {
public:
    std::vector<std::chrono::milliseconds> esperas;

    void Agendar(std::chrono::milliseconds espera, std::function<void()> acao) override {
        esperas.push_back(espera);
        acao_ = std::move(acao);
    }
    void Cancelar() override { acao_ = nullptr; }
    bool Pendente() const { return static_cast<bool>(acao_); }
    // The wait is over: what was scheduled runs.
    void Disparar() {
        auto acao = std::move(acao_);
        acao_ = nullptr;
        if (acao) acao();
    }

private:
    std::function<void()> acao_;
};

}  // namespace rotulos::teste
