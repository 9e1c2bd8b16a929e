#pragma once

// The print run behind "Imprimir": confirm, check that labels wait, open the
// printer, send one label per row with a pause after each, close the window.

#include <chrono>
#include <string>

#include "ComandosRotulo.h"
#include "TTable.h"

namespace rotulos {

// The label data table, filled by the other program of the installation.
inline constexpr const char* kCaminhoRotulos = "C:\\TARVEL\\TMP239.DB";

inline constexpr const char* kConfirmaImpressao = "Confirma Impressão ?";
inline constexpr const char* kArquivoVazio = "Arquivo vazio.";
inline constexpr const char* kNaoAbriuImpressora = "Não conseguiu abrir impressora!";

inline constexpr std::chrono::milliseconds kPausaEntreRotulos{2000};
inline constexpr std::chrono::milliseconds kLimiteImpressoraParada{30000};

// What the run reads from the window and asks of it. Setting texts and the port
// are the 8-bit texts as shown in the edit boxes, read when needed.
class JanelaImpressao {
public:
    virtual ~JanelaImpressao() = default;
    virtual ConfiguracaoImpressora Configuracao() = 0;
    virtual std::string PortaImpressora() = 0;
    virtual int TamanhoSelecionado() = 0;
    // Closing runs the window's closing sequence before it returns.
    virtual void Fechar() = 0;
};

// The operator's side: a Yes/No question and a plain message with OK.
class Dialogos {
public:
    virtual ~Dialogos() = default;
    virtual bool Confirmar(const std::string& pergunta) = 0;
    virtual void Mensagem(const std::string& texto) = 0;
};

class Pausa {
public:
    virtual ~Pausa() = default;
    virtual void Esperar(std::chrono::milliseconds duracao) = 0;
};

// Blocks the calling thread, as the printer needs the time to print.
class PausaReal : public Pausa {
public:
    void Esperar(std::chrono::milliseconds duracao) override;
};

// The printer port opened for one run, in rewrite mode; closed when it goes.
class CanalImpressora : public SaidaLinhas {
public:
    CanalImpressora(const std::string& porta, std::chrono::milliseconds limiteParada);
    void EscreverLinha(std::string_view linha) override;

private:
    plataforma::Dispositivo dispositivo_;
};

// Failures other than opening the printer (the label table cannot be opened,
// a column is missing, a write fails) leave the window open and reach the
// caller as Erro.
void ImprimirRotulos(JanelaImpressao& janela, TTable& tbTmp, Dialogos& dialogos, Pausa& pausa,
                     std::chrono::milliseconds limiteImpressoraParada = kLimiteImpressoraParada);

}  // namespace rotulos
