// The printer port as the print run uses it, the same on every system: opened
// in rewrite mode, bytes passed through as they are, failures naming the port,
// and a printer that takes nothing given up after the limit.

#include <gtest/gtest.h>

#include <fstream>

#include "../support/PortasDeTeste.h"
#include "../support/Temporario.h"
#include "Erro.h"
#include "platform/Plataforma.h"

namespace rotulos::plataforma {
namespace {

using teste::PastaTemporaria;

TEST(Dispositivo, AbreDoInicioApagandoOQueHavia) {
    PastaTemporaria pasta;
    const std::string arquivo = pasta / "impressora.prn";
    std::ofstream(arquivo) << "conteúdo antigo bem mais longo";
    {
        Dispositivo d({arquivo, DestinoDaPorta::Tipo::ArquivoDeTeste}, "LPT1", std::chrono::seconds(1));
        d.Escrever("novo");
        d.Escrever("\xC1\r\n");
    }
    EXPECT_EQ(teste::LerTexto(arquivo), "novo\xC1\r\n");
}

TEST(Dispositivo, FalhaAoAbrirNomeiaAPorta) {
    PastaTemporaria pasta;
    try {
        Dispositivo d({pasta / "nao/existe.prn", DestinoDaPorta::Tipo::ArquivoDeTeste}, "LPT3",
                      std::chrono::seconds(1));
        FAIL();
    } catch (const Erro& e) {
        EXPECT_EQ(std::string(e.what()), "Não foi possível abrir a porta \"LPT3\": arquivo ou pasta inexistente.");
    }
    EXPECT_THROW(ResolverPorta("", ""), Erro);
}

TEST(Dispositivo, FalhaAoEscreverNomeiaAPorta) {
    teste::PortaQueFalha porta;
    Dispositivo d(ResolverPorta(porta.Nome(), "LPT1"), "LPT1", std::chrono::seconds(5));
    try {
        for (int i = 0; i < 100; ++i) d.Escrever(std::string(4096, 'x'));
        FAIL() << "a escrita não falhou";
    } catch (const Erro& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Falha ao enviar dados para a impressora \"LPT1\": ", 0), 0u) << e.what();
    }
}

TEST(Dispositivo, ImpressoraQueNaoRecebeFalhaNoPrazo) {
    PastaTemporaria pasta;
    teste::PortaQueNaoRecebe porta(pasta);
    Dispositivo d(ResolverPorta(porta.Nome(), "LPT1"), "LPT1", std::chrono::milliseconds(300));
    try {
        for (int i = 0; i < 100; ++i) d.Escrever(std::string(4096, 'x'));
        FAIL() << "a escrita não parou";
    } catch (const Erro& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Falha ao enviar dados para a impressora \"LPT1\": a impressora não aceita dados há 0 segundos "
                  "(desligada, sem papel ou desconectada?).");
    }
}

}  // namespace
}  // namespace rotulos::plataforma
