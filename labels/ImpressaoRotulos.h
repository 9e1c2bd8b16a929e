#pragma once

// The print run behind "Imprimir": confirm, check that labels wait, open the
// printer, send one label per row with a pause after each, close the window.
// It goes label by label from the window's timer, so the window lives on
// while labels print: it repaints, shows how far the run is, and can be asked
// to stop between two labels.

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "ComandosRotulo.h"
#include "TTable.h"
#include "platform/Plataforma.h"

namespace rotulos {

// The label data table, filled by the other program of the installation.
inline constexpr const char* kCaminhoRotulos = "C:\\TARVEL\\TMP239.DB";

inline constexpr const char* kConfirmaImpressao = "Confirma Impressão ?";
inline constexpr const char* kArquivoVazio = "Arquivo vazio.";
inline constexpr const char* kNaoAbriuImpressora = "Não conseguiu abrir impressora!";
inline constexpr const char* kInterromperImpressao = "Interromper a impressão?";
inline constexpr const char* kImpressaoInterrompida = "Impressão interrompida.";

inline constexpr std::chrono::milliseconds kPausaEntreRotulos{2000};
inline constexpr std::chrono::milliseconds kLimiteImpressoraParada{30000};

// What the run reads from the window and tells it. Setting texts and the port
// are the 8-bit texts as shown in the edit boxes, read when needed.
class JanelaImpressao {
public:
    virtual ~JanelaImpressao() = default;
    virtual ConfiguracaoImpressora Configuracao() = 0;
    virtual std::string PortaImpressora() = 0;
    // The same port text as the operator reads it (UTF-8), for messages.
    virtual std::string PortaExibida() = 0;
    virtual int TamanhoSelecionado() = 0;
    // Label `rotulo` of `total` goes to the printer now; 0 of 0 once the run has ended.
    virtual void Progresso(std::uint32_t rotulo, std::uint32_t total) = 0;
    // Closing runs the window's closing sequence before it returns.
    virtual void Fechar() = 0;
};

enum class TipoMensagem { Informacao, Falha };

// The operator's side: a Yes/No question and a message with OK, each with an
// optional second text shown below the first.
class Dialogos {
public:
    virtual ~Dialogos() = default;
    virtual bool Confirmar(const std::string& pergunta, const std::string& detalhe) = 0;
    virtual void Mensagem(const std::string& texto, const std::string& detalhe, TipoMensagem tipo) = 0;
};

// The window's timer: runs `acao` once, `espera` from now, from the event
// loop; scheduling again replaces what was pending.
class Agenda {
public:
    virtual ~Agenda() = default;
    virtual void Agendar(std::chrono::milliseconds espera, std::function<void()> acao) = 0;
    virtual void Cancelar() = 0;
};

// The printer port opened for one run, in rewrite mode; closed when it goes.
class CanalImpressora : public SaidaLinhas {
public:
    CanalImpressora(const std::string& porta, const std::string& portaExibida, std::chrono::milliseconds limiteParada);
    void EscreverLinha(std::string_view linha) override;

private:
    plataforma::Dispositivo dispositivo_;
};

// What the confirmation says below its question: how many labels wait, and
// that answering Não discards them. Empty when the table could not be read.
std::string RotulosAguardando(std::optional<std::uint32_t> quantos);

class ImpressaoRotulos {
public:
    ImpressaoRotulos(JanelaImpressao& janela, TTable& tbTmp, Dialogos& dialogos, Agenda& agenda,
                     std::chrono::milliseconds limiteImpressoraParada = kLimiteImpressoraParada);
    ~ImpressaoRotulos();
    ImpressaoRotulos(const ImpressaoRotulos&) = delete;
    ImpressaoRotulos& operator=(const ImpressaoRotulos&) = delete;

    // Asks, checks the table and its columns, opens the port and sends the
    // first label; the others follow from the timer, 2000 ms apart, and the
    // window closes 2000 ms after the last. A failure (the table cannot be
    // opened, a column is missing, a write fails) ends the run, leaves the
    // window open and reaches the caller as Erro; a port that does not open is
    // told to the operator.
    void Iniciar();
    bool EmAndamento() const { return canal_ != nullptr; }
    // The window was asked to close while labels print: the operator is asked
    // "Interromper a impressão?". Sim stops before the next label, never in
    // the middle of one; the run then ends as a failed one, the labels left in
    // the table and the window open.
    void PedidoDeFechar();

private:
    void Enviar();
    void Continuar();
    void Terminar();
    // A step that fails ends the run (timer, port, progress) before its error goes on.
    void TerminarSeFalhar(const std::function<void()>& passo);

    JanelaImpressao& janela_;
    TTable& tbTmp_;
    Dialogos& dialogos_;
    Agenda& agenda_;
    std::chrono::milliseconds limite_;
    std::unique_ptr<CanalImpressora> canal_;
    std::uint32_t enviados_ = 0;
    bool perguntando_ = false;      // the close question is open
    bool continuarDepois_ = false;  // the timer came while it was
};

}  // namespace rotulos
