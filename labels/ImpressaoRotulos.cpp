#include "ImpressaoRotulos.h"

#include <memory>

#include "platform/Plataforma.h"

namespace rotulos {

void PausaReal::Esperar(std::chrono::milliseconds duracao) { plataforma::Dormir(duracao); }

CanalImpressora::CanalImpressora(const std::string& porta, std::chrono::milliseconds limiteParada)
    : dispositivo_(plataforma::DispositivoDaPorta(porta), porta, limiteParada) {}

void CanalImpressora::EscreverLinha(std::string_view linha) {
    // One write per line: each line reaches the printer before the next is produced.
    std::string comFim(linha);
    comFim += "\r\n";
    dispositivo_.Escrever(comFim);
}

void ImprimirRotulos(JanelaImpressao& janela, TTable& tbTmp, Dialogos& dialogos, Pausa& pausa,
                     std::chrono::milliseconds limiteImpressoraParada) {
    if (!dialogos.Confirmar(kConfirmaImpressao)) {
        janela.Fechar();
        return;
    }

    tbTmp.Open();
    if (tbTmp.RecordCount() == 0) {
        dialogos.Mensagem(kArquivoVazio);
        janela.Fechar();
        return;
    }

    std::unique_ptr<CanalImpressora> canal;
    try {
        canal = std::make_unique<CanalImpressora>(janela.PortaImpressora(), limiteImpressoraParada);
    } catch (const std::exception&) {
        // The operator gets the fixed message; the window stays open for another try.
        dialogos.Mensagem(kNaoAbriuImpressora);
        return;
    }

    tbTmp.First();
    while (!tbTmp.Eof()) {
        EscreverRotulo(*canal, janela.TamanhoSelecionado(), janela.Configuracao(), tbTmp);
        pausa.Esperar(kPausaEntreRotulos);
        tbTmp.Next();
    }
    // Released before the window closes, so the port is free whatever follows.
    canal.reset();
    janela.Fechar();
}

}  // namespace rotulos
