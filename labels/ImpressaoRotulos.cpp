#include "ImpressaoRotulos.h"

#include "Erro.h"

namespace rotulos {

namespace {

// The count for the confirmation, from a table of its own: tbTmp is opened
// only once the operator has answered, as before. A table that cannot be read
// has no count to show; opening tbTmp after the answer reports why.
std::optional<std::uint32_t> ContarRotulos(const std::string& caminho) {
    TTable tabela(caminho);
    try {
        tabela.Open();
        return tabela.RecordCount();
    } catch (const Erro&) {
        return std::nullopt;
    }
}

}  // namespace

std::string RotulosAguardando(std::optional<std::uint32_t> quantos) {
    if (!quantos) return {};
    if (*quantos == 0) return "Nenhum rótulo aguardando.";
    if (*quantos == 1) return "1 rótulo aguardando. Respondendo Não, ele será descartado.";
    return std::to_string(*quantos) + " rótulos aguardando. Respondendo Não, eles serão descartados.";
}

CanalImpressora::CanalImpressora(const std::string& porta, const std::string& portaExibida,
                                 std::chrono::milliseconds limiteParada)
    : dispositivo_(plataforma::ResolverPorta(porta, portaExibida), portaExibida, limiteParada) {}

void CanalImpressora::EscreverLinha(std::string_view linha) {
    // One write per line: each line reaches the printer before the next is written.
    std::string comFim(linha);
    comFim += "\r\n";
    dispositivo_.Escrever(comFim);
}

ImpressaoRotulos::ImpressaoRotulos(JanelaImpressao& janela, TTable& tbTmp, Dialogos& dialogos, Agenda& agenda,
                                   std::chrono::milliseconds limiteImpressoraParada)
    : janela_(janela), tbTmp_(tbTmp), dialogos_(dialogos), agenda_(agenda), limite_(limiteImpressoraParada) {}

ImpressaoRotulos::~ImpressaoRotulos() = default;

void ImpressaoRotulos::Iniciar() {
    if (EmAndamento()) return;
    if (!dialogos_.Confirmar(kConfirmaImpressao, RotulosAguardando(ContarRotulos(tbTmp_.TableName)))) {
        janela_.Fechar();
        return;
    }

    tbTmp_.Open();
    if (tbTmp_.RecordCount() == 0) {
        dialogos_.Mensagem(kArquivoVazio, "", TipoMensagem::Informacao);
        janela_.Fechar();
        return;
    }
    ExigirColunas(tbTmp_, janela_.TamanhoSelecionado());

    try {
        canal_ = std::make_unique<CanalImpressora>(janela_.PortaImpressora(), janela_.PortaExibida(), limite_);
    } catch (const std::exception& erro) {
        // The fixed message, the port and why under it; the window stays open for another try.
        dialogos_.Mensagem(kNaoAbriuImpressora, erro.what(), TipoMensagem::Falha);
        return;
    }
    enviados_ = 0;
    TerminarSeFalhar([this] { tbTmp_.First(); });
    Enviar();
}

void ImpressaoRotulos::Enviar() {
    TerminarSeFalhar([this] {
        const int tamanho = janela_.TamanhoSelecionado();
        janela_.Progresso(enviados_ + 1, tbTmp_.RecordCount());
        // Composed whole first: a value that cannot be read sends nothing of its label.
        SaidaEmMemoria rotulo;
        EscreverRotulo(rotulo, tamanho, janela_.Configuracao(), tbTmp_);
        for (const std::string& linha : rotulo.Linhas()) canal_->EscreverLinha(linha);
        ++enviados_;
    });
    // The printer needs the time to print; the pause also follows the last label.
    agenda_.Agendar(kPausaEntreRotulos, [this] { Continuar(); });
}

void ImpressaoRotulos::Continuar() {
    if (perguntando_) {
        continuarDepois_ = true;
        return;
    }
    TerminarSeFalhar([this] { tbTmp_.Next(); });
    if (!tbTmp_.Eof()) {
        Enviar();
        return;
    }
    Terminar();
    janela_.Fechar();
}

void ImpressaoRotulos::Terminar() {
    agenda_.Cancelar();
    canal_.reset();  // the port is released, whatever follows
    janela_.Progresso(0, 0);
}

void ImpressaoRotulos::TerminarSeFalhar(const std::function<void()>& passo) {
    try {
        passo();
    } catch (...) {
        Terminar();
        throw;
    }
}

void ImpressaoRotulos::PedidoDeFechar() {
    if (!EmAndamento()) return;
    // While the question is open the run holds: no label goes out behind it.
    perguntando_ = true;
    const bool interromper = dialogos_.Confirmar(kInterromperImpressao, "");
    perguntando_ = false;
    if (interromper) {
        Terminar();
        dialogos_.Mensagem(kImpressaoInterrompida,
                           "Rótulos enviados à impressora: " + std::to_string(enviados_) + " de " +
                               std::to_string(tbTmp_.RecordCount()) +
                               ". Todos continuam na tabela; imprimir de novo envia também os já enviados.",
                           TipoMensagem::Informacao);
        return;
    }
    if (continuarDepois_) {
        continuarDepois_ = false;
        Continuar();
    }
}

}  // namespace rotulos
