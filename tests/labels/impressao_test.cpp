// The print run: every path from the confirmation to the window closing, with
// real tables and real files, FIFOs and /dev/full standing in for the port.

#include <gtest/gtest.h>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>

#include "../support/PortasDeTeste.h"
#include "../support/TabelaRotulos.h"
#include "../support/Temporario.h"
#include "Erro.h"
#include "ImpressaoRotulos.h"

namespace rotulos {
namespace {

using teste::PastaTemporaria;

class JanelaFalsa : public JanelaImpressao {
public:
    ConfiguracaoImpressora config{"13", "E", "220", "220"};
    std::string porta;
    int tamanho = 0;
    int fechamentos = 0;

    ConfiguracaoImpressora Configuracao() override { return config; }
    std::string PortaImpressora() override { return porta; }
    int TamanhoSelecionado() override { return tamanho; }
    void Fechar() override { ++fechamentos; }
};

class DialogosFalsos : public Dialogos {
public:
    std::deque<bool> respostas;
    std::vector<std::string> perguntas;
    std::vector<std::string> mensagens;

    bool Confirmar(const std::string& pergunta) override {
        perguntas.push_back(pergunta);
        const bool r = respostas.empty() ? true : respostas.front();
        if (!respostas.empty()) respostas.pop_front();
        return r;
    }
    void Mensagem(const std::string& texto) override { mensagens.push_back(texto); }
};

class PausaFalsa : public Pausa {
public:
    std::vector<std::chrono::milliseconds> pausas;
    std::function<void()> aoPausar;

    void Esperar(std::chrono::milliseconds d) override {
        pausas.push_back(d);
        if (aoPausar) aoPausar();
    }
};

bool Existe(const std::string& caminho) { return std::filesystem::exists(caminho); }

// A file standing for the port. Not named LPT1: on Windows that name is the
// device in every folder.
constexpr const char* kArquivoDaPorta = "impressora.prn";

class Impressao : public ::testing::Test {
protected:
    void SetUp() override {
        tabela_ = pasta_ / "TMP239.DB";
        janela_.porta = pasta_ / kArquivoDaPorta;
    }

    void CriarLinhas(int n, const std::string& colunas = teste::kColunasRotulos) {
        teste::CriarTabelaRotulos(tabela_, std::vector<teste::Linha>(static_cast<std::size_t>(n), teste::LinhaPadrao()),
                                  colunas);
    }

    void Imprimir(std::chrono::milliseconds limite = kLimiteImpressoraParada) {
        ImprimirRotulos(janela_, tbTmp_, dialogos_, pausa_, limite);
    }

    PastaTemporaria pasta_;
    std::string tabela_;
    TTable tbTmp_;
    JanelaFalsa janela_;
    DialogosFalsos dialogos_;
    PausaFalsa pausa_;
};

const std::string kRotuloPequeno = teste::LerTexto(std::string(ROTULOS_DADOS) + "/rotulo-pequeno.ref");
const std::string kRotuloGrande = teste::LerTexto(std::string(ROTULOS_DADOS) + "/rotulo-grande.ref");

TEST_F(Impressao, RespostaNaoFechaSemImprimir) {
    CriarLinhas(2);
    tbTmp_.TableName = tabela_;
    dialogos_.respostas = {false};
    Imprimir();
    EXPECT_EQ(dialogos_.perguntas, std::vector<std::string>{"Confirma Impressão ?"});
    EXPECT_TRUE(dialogos_.mensagens.empty());
    EXPECT_EQ(janela_.fechamentos, 1);
    EXPECT_FALSE(Existe(janela_.porta));
    EXPECT_FALSE(tbTmp_.Active());
}

TEST_F(Impressao, TabelaVaziaAvisaEFechaSemAbrirAImpressora) {
    CriarLinhas(0);
    tbTmp_.TableName = tabela_;
    Imprimir();
    EXPECT_EQ(dialogos_.mensagens, std::vector<std::string>{"Arquivo vazio."});
    EXPECT_EQ(janela_.fechamentos, 1);
    EXPECT_FALSE(Existe(janela_.porta));
}

TEST_F(Impressao, TabelaInexistenteFalhaComAJanelaAberta) {
    tbTmp_.TableName = tabela_;
    EXPECT_THROW(Imprimir(), Erro);
    EXPECT_EQ(janela_.fechamentos, 0);
    EXPECT_TRUE(dialogos_.mensagens.empty());
    EXPECT_FALSE(Existe(janela_.porta));
}

TEST_F(Impressao, PortaQueNaoAbreAvisaEPermiteTentarDeNovo) {
    CriarLinhas(1);
    tbTmp_.TableName = tabela_;
    janela_.porta = pasta_ / "sem/pasta/impressora.prn";
    Imprimir();
    EXPECT_EQ(dialogos_.mensagens, std::vector<std::string>{"Não conseguiu abrir impressora!"});
    EXPECT_EQ(janela_.fechamentos, 0);
    EXPECT_TRUE(tbTmp_.Active());
    EXPECT_TRUE(pausa_.pausas.empty());

    janela_.porta = pasta_ / kArquivoDaPorta;
    Imprimir();
    EXPECT_EQ(dialogos_.perguntas.size(), 2u);
    EXPECT_EQ(janela_.fechamentos, 1);
    EXPECT_EQ(teste::LerTexto(janela_.porta), kRotuloPequeno);
}

TEST_F(Impressao, PortaVaziaNaoAbre) {
    CriarLinhas(1);
    tbTmp_.TableName = tabela_;
    janela_.porta = "";
    Imprimir();
    EXPECT_EQ(dialogos_.mensagens, std::vector<std::string>{"Não conseguiu abrir impressora!"});
}

TEST_F(Impressao, UmaLinhaUmRotuloEntregueAntesDaPausa) {
    CriarLinhas(1);
    tbTmp_.TableName = tabela_;
    std::vector<std::string> entregueNaPausa;
    pausa_.aoPausar = [&] { entregueNaPausa.push_back(teste::LerTexto(janela_.porta)); };
    Imprimir();
    EXPECT_EQ(teste::LerTexto(janela_.porta), kRotuloPequeno);
    EXPECT_EQ(pausa_.pausas, std::vector<std::chrono::milliseconds>{std::chrono::milliseconds(2000)});
    EXPECT_EQ(entregueNaPausa, std::vector<std::string>{kRotuloPequeno});
    EXPECT_EQ(janela_.fechamentos, 1);
    EXPECT_TRUE(dialogos_.mensagens.empty());
}

TEST_F(Impressao, VariasLinhasUmaPausaDepoisDeCada) {
    CriarLinhas(3);
    tbTmp_.TableName = tabela_;
    janela_.tamanho = 1;
    Imprimir();
    EXPECT_EQ(teste::LerTexto(janela_.porta), kRotuloGrande + kRotuloGrande + kRotuloGrande);
    EXPECT_EQ(pausa_.pausas.size(), 3u);
    EXPECT_EQ(janela_.fechamentos, 1);
}

TEST_F(Impressao, LeTamanhoEConfiguracaoACadaRotulo) {
    CriarLinhas(2);
    tbTmp_.TableName = tabela_;
    pausa_.aoPausar = [&] { janela_.tamanho = 1; };
    Imprimir();
    EXPECT_EQ(teste::LerTexto(janela_.porta), kRotuloPequeno + kRotuloGrande);
}

#ifndef _WIN32
TEST_F(Impressao, PortaDoDosNaPastaDeDispositivos) {
    CriarLinhas(1);
    tbTmp_.TableName = tabela_;
    ::setenv("ROTULOS_DEVICE_DIR", pasta_.Caminho().c_str(), 1);
    janela_.porta = "LPT3";
    Imprimir();
    ::unsetenv("ROTULOS_DEVICE_DIR");
    EXPECT_EQ(teste::LerTexto(pasta_ / "LPT3"), kRotuloPequeno);
}

#endif

TEST_F(Impressao, ReescreveAPortaACadaExecucao) {
    CriarLinhas(1);
    tbTmp_.TableName = tabela_;
    std::ofstream(janela_.porta) << std::string(5000, 'z');
    Imprimir();
    EXPECT_EQ(teste::LerTexto(janela_.porta), kRotuloPequeno);
}

TEST_F(Impressao, ColunaAusenteParaNoMeioDoRotulo) {
    CriarLinhas(2, "Nome1:A40,Nome2:A40,Nome3:A40,Onu:A10,PesoL:A10,PesoB:A10,Lote:A10,DataFab:D,DataVal:D");
    tbTmp_.TableName = tabela_;
    EXPECT_THROW(Imprimir(), Erro);
    EXPECT_EQ(janela_.fechamentos, 0);
    EXPECT_TRUE(pausa_.pausas.empty());
    const std::string impresso = teste::LerTexto(janela_.porta);
    EXPECT_EQ(impresso, kRotuloPequeno.substr(0, impresso.size()));
    EXPECT_EQ(std::count(impresso.begin(), impresso.end(), '\n'), 15);
}

// More labels than a pipe holds, so that on Windows a write is still waiting
// when the reader goes; on POSIX the first write fails.
TEST_F(Impressao, FalhaDeEscritaParaARodada) {
    CriarLinhas(40);
    tbTmp_.TableName = tabela_;
    teste::PortaQueFalha porta;
    janela_.porta = porta.Nome();
    EXPECT_THROW(Imprimir(), Erro);
    EXPECT_EQ(janela_.fechamentos, 0);
    EXPECT_LT(pausa_.pausas.size(), 40u);
}

TEST_F(Impressao, ImpressoraParadaNaoTravaOPrograma) {
    CriarLinhas(40);
    tbTmp_.TableName = tabela_;
    teste::PortaQueNaoRecebe porta(pasta_);
    janela_.porta = porta.Nome();
    try {
        Imprimir(std::chrono::milliseconds(200));
        FAIL() << "a impressão não parou";
    } catch (const Erro& e) {
        EXPECT_NE(std::string(e.what()).find("não aceita dados"), std::string::npos) << e.what();
    }
    EXPECT_EQ(janela_.fechamentos, 0);
}

#ifndef _WIN32
// The port is released when a run stops early, so a retry can open it again
// and the printer sees the end of the data.
TEST_F(Impressao, CanalFechadoDepoisDeUmaFalha) {
    CriarLinhas(1, "Nome1:A40,Nome2:A40,Nome3:A40,Onu:A10,PesoL:A10,PesoB:A10,Lote:A10,DataFab:D,DataVal:D");
    tbTmp_.TableName = tabela_;
    const std::string fifo = janela_.porta;
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const int leitor = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(leitor, 0);
    EXPECT_THROW(Imprimir(), Erro);
    char buffer[8192];
    ssize_t lidos = 0;
    std::size_t total = 0;
    while ((lidos = ::read(leitor, buffer, sizeof buffer)) > 0) total += static_cast<std::size_t>(lidos);
    EXPECT_EQ(lidos, 0) << "o canal ainda está aberto";
    EXPECT_GT(total, 0u);
    ::close(leitor);
}
#else
TEST_F(Impressao, RotulosPorUmPipe) {
    CriarLinhas(2);
    tbTmp_.TableName = tabela_;
    teste::PipeDeImpressora pipe(teste::PipeDeImpressora::Leitura::Tudo);
    janela_.porta = pipe.Nome();
    Imprimir();
    EXPECT_EQ(pipe.Recebido(), kRotuloPequeno + kRotuloPequeno);
    EXPECT_EQ(janela_.fechamentos, 1);
}
#endif

}  // namespace
}  // namespace rotulos
