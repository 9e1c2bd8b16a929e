// The print run, label by label from the timer: every path from the question
// to the window closing, with real tables, the ports LPT1 and LPT3 as each
// system offers them to a test, and FIFOs, /dev/full and named pipes for
// printers that misbehave.

#include <gtest/gtest.h>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <fstream>
#include <optional>

#include "../support/Operador.h"
#include "../support/PortasDeTeste.h"
#include "../support/PortasLpt.h"
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
    std::string porta = "LPT1";
    int tamanho = 0;
    int fechamentos = 0;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> progresso;

    ConfiguracaoImpressora Configuracao() override { return config; }
    std::string PortaImpressora() override { return porta; }
    std::string PortaExibida() override { return porta; }
    int TamanhoSelecionado() override { return tamanho; }
    void Progresso(std::uint32_t rotulo, std::uint32_t total) override { progresso.emplace_back(rotulo, total); }
    void Fechar() override { ++fechamentos; }
};

const std::string kRotuloPequeno = teste::LerTexto(std::string(ROTULOS_DADOS) + "/rotulo-pequeno.ref");
const std::string kRotuloGrande = teste::LerTexto(std::string(ROTULOS_DADOS) + "/rotulo-grande.ref");

std::string Vezes(int n, const std::string& s) {
    std::string r;
    for (int i = 0; i < n; ++i) r += s;
    return r;
}

class Impressao : public ::testing::Test {
protected:
    void CriarLinhas(int n, const std::string& colunas = teste::kColunasRotulos) {
        CriarLinhas(std::vector<teste::Linha>(static_cast<std::size_t>(n), teste::LinhaPadrao()), colunas);
    }
    void CriarLinhas(const std::vector<teste::Linha>& linhas, const std::string& colunas = teste::kColunasRotulos) {
        teste::CriarTabelaRotulos(tabela_, linhas, colunas);
    }

    // What reached the port; nothing when it was never opened.
    std::optional<std::string> NaPorta(const std::string& nome = "LPT1") const { return portas_.Conteudo(nome); }

    std::uint32_t RotulosNaTabela() {
        TTable t(tabela_);
        t.Open();
        return t.RecordCount();
    }

    PastaTemporaria pasta_;
    teste::PortasLpt portas_;
    std::string tabela_ = pasta_ / "TMP239.DB";
    TTable tbTmp_{tabela_};
    JanelaFalsa janela_;
    teste::DialogosRoteiro dialogos_;
    teste::AgendaManual agenda_;
    ImpressaoRotulos impressao_{janela_, tbTmp_, dialogos_, agenda_};
};

// One label at once, then one per tick of the timer, 2000 ms apart; the
// window closes on the tick after the last.
TEST_F(Impressao, UmRotuloPorVezPeloTemporizador) {
    CriarLinhas(3);
    dialogos_.respostas = {true};
    impressao_.Iniciar();
    EXPECT_EQ(NaPorta(), kRotuloPequeno);
    EXPECT_TRUE(impressao_.EmAndamento());
    ASSERT_TRUE(agenda_.Pendente());
    agenda_.Disparar();
    EXPECT_EQ(NaPorta(), Vezes(2, kRotuloPequeno));
    agenda_.Disparar();
    EXPECT_EQ(NaPorta(), Vezes(3, kRotuloPequeno));
    EXPECT_EQ(janela_.fechamentos, 0);
    agenda_.Disparar();
    EXPECT_EQ(janela_.fechamentos, 1);
    EXPECT_FALSE(impressao_.EmAndamento());
    EXPECT_FALSE(agenda_.Pendente());
    EXPECT_EQ(agenda_.esperas, std::vector<std::chrono::milliseconds>(3, std::chrono::milliseconds(2000)));
    using P = std::pair<std::uint32_t, std::uint32_t>;
    EXPECT_EQ(janela_.progresso, (std::vector<P>{{1, 3}, {2, 3}, {3, 3}, {0, 0}}));
    EXPECT_TRUE(dialogos_.mensagens.empty());
}

TEST_F(Impressao, RespostaNaoFechaSemImprimir) {
    CriarLinhas(2);
    impressao_.Iniciar();
    EXPECT_EQ(dialogos_.perguntas,
              (std::vector<teste::DialogosRoteiro::Caixa>{
                  {"Confirma Impressão ?", "2 rótulos aguardando. Respondendo Não, eles serão descartados."}}));
    EXPECT_EQ(janela_.fechamentos, 1);
    EXPECT_EQ(NaPorta(), std::nullopt);
    EXPECT_FALSE(tbTmp_.Active());
}

struct CasoAguardando {
    const char* nome;
    std::optional<std::uint32_t> quantos;
    const char* texto;
};

class Aguardando : public ::testing::TestWithParam<CasoAguardando> {};

TEST_P(Aguardando, ConfirmacaoDizQuantosEOQueONaoFaz) {
    EXPECT_EQ(RotulosAguardando(GetParam().quantos), GetParam().texto);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, Aguardando,
    ::testing::Values(CasoAguardando{"Ilegivel", std::nullopt, ""},
                      CasoAguardando{"Nenhum", 0u, "Nenhum rótulo aguardando."},
                      CasoAguardando{"Um", 1u, "1 rótulo aguardando. Respondendo Não, ele será descartado."},
                      CasoAguardando{"Cinco", 5u, "5 rótulos aguardando. Respondendo Não, eles serão descartados."}),
    [](const auto& info) { return std::string(info.param.nome); });

TEST_F(Impressao, TabelaVaziaAvisaEFechaSemAbrirAImpressora) {
    CriarLinhas(0);
    dialogos_.respostas = {true};
    impressao_.Iniciar();
    EXPECT_EQ(dialogos_.perguntas.at(0).detalhe, "Nenhum rótulo aguardando.");
    EXPECT_EQ(dialogos_.TextosDasMensagens(), std::vector<std::string>{"Arquivo vazio."});
    EXPECT_EQ(janela_.fechamentos, 1);
    EXPECT_EQ(NaPorta(), std::nullopt);
}

TEST_F(Impressao, TabelaInexistenteFalhaComAJanelaAberta) {
    dialogos_.respostas = {true};
    EXPECT_THROW(impressao_.Iniciar(), Erro);
    EXPECT_EQ(dialogos_.perguntas.at(0).detalhe, "");  // no count to show
    EXPECT_EQ(janela_.fechamentos, 0);
    EXPECT_TRUE(dialogos_.mensagens.empty());
    EXPECT_EQ(NaPorta(), std::nullopt);
}

struct CasoColunas {
    const char* nome;
    int tamanho;
    const char* colunas;
    const char* mensagem;
    teste::Linha alteracoes = {};
};

class ColunasDoRotulo : public Impressao, public ::testing::WithParamInterface<CasoColunas> {};

// Checked before the port is opened: not one byte reaches the printer.
TEST_P(ColunasDoRotulo, FaltandoNadaEEnviado) {
    auto linha = teste::LinhaPadrao();
    for (const auto& [coluna, valor] : GetParam().alteracoes) linha[coluna] = valor;
    CriarLinhas({linha, linha}, GetParam().colunas);
    janela_.tamanho = GetParam().tamanho;
    dialogos_.respostas = {true};
    try {
        impressao_.Iniciar();
        FAIL() << "imprimiu";
    } catch (const Erro& e) {
        EXPECT_NE(std::string(e.what()).find(GetParam().mensagem), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find(tabela_), std::string::npos) << e.what();
    }
    EXPECT_EQ(NaPorta(), std::nullopt);
    EXPECT_FALSE(impressao_.EmAndamento());
    EXPECT_EQ(janela_.fechamentos, 0);
    EXPECT_EQ(RotulosNaTabela(), 2u);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, ColunasDoRotulo,
    ::testing::Values(
        CasoColunas{"SemCliente", 0,
                    "Nome1:A40,Nome2:A40,Nome3:A40,Onu:A10,PesoL:A10,PesoB:A10,Lote:A10,DataFab:D,DataVal:D",
                    "falta a coluna \"Cliente\", que o rótulo Pequeno usa; nada foi impresso."},
        CasoColunas{"SemOnuNoGrande", 1,
                    "Nome1:A40,Nome2:A40,Nome3:A40,Cliente:A40,PesoL:A10,PesoB:A10,Lote:A10,DataFab:D,DataVal:D",
                    "falta a coluna \"Onu\", que o rótulo Grande usa"},
        CasoColunas{"SemDuas", 0, "Nome1:A40,Nome2:A40,Nome3:A40,Cliente:A40,Onu:A10,PesoL:A10,PesoB:A10,Lote:A10",
                    "faltam as colunas \"DataFab\" e \"DataVal\""},
        CasoColunas{"DataQueNaoGuardaData",
                    0,
                    "Nome1:A40,Nome2:A40,Nome3:A40,Cliente:A40,Onu:A10,PesoL:A10,PesoB:A10,Lote:A10,DataFab:N,"
                    "DataVal:D",
                    "a coluna \"DataFab\" é do tipo número e não guarda datas",
                    {{"DataFab", "20240305"}}}),
    [](const auto& info) { return std::string(info.param.nome); });

// The small label has no UN number line: a table without the column prints it.
TEST_F(Impressao, PequenoNaoPrecisaDoOnu) {
    CriarLinhas(1, "Nome1:A40,Nome2:A40,Nome3:A40,Cliente:A40,PesoL:A10,PesoB:A10,Lote:A10,DataFab:D,DataVal:D");
    dialogos_.respostas = {true};
    impressao_.Iniciar();
    EXPECT_EQ(NaPorta(), kRotuloPequeno);
}

// A value that cannot be read as a date is found while composing its label,
// before any of it is written: the labels before it stay whole, the run stops.
TEST_F(Impressao, RotuloQueNaoSeCompoeNaoEnviaNada) {
    auto ruim = teste::LinhaPadrao();
    ruim["DataFab"] = "ontem";
    CriarLinhas({teste::LinhaPadrao(), ruim, teste::LinhaPadrao()},
                "Nome1:A40,Nome2:A40,Nome3:A40,Cliente:A40,Onu:A10,PesoL:A10,PesoB:A10,Lote:A10,DataFab:A10,"
                "DataVal:D");
    dialogos_.respostas = {true};
    impressao_.Iniciar();
    try {
        agenda_.Disparar();
        FAIL() << "imprimiu a data ilegível";
    } catch (const Erro& e) {
        EXPECT_NE(std::string(e.what()).find("\"ontem\" não é uma data"), std::string::npos) << e.what();
    }
    EXPECT_EQ(NaPorta(), kRotuloPequeno);
    EXPECT_FALSE(impressao_.EmAndamento());
    EXPECT_FALSE(agenda_.Pendente());
    EXPECT_EQ(janela_.progresso.back(), std::make_pair(0u, 0u));
    EXPECT_EQ(janela_.fechamentos, 0);
    EXPECT_EQ(tbTmp_.FieldByName("DataFab").AsString(), "ontem");  // on the row that failed
}

TEST_F(Impressao, LeTamanhoEConfiguracaoACadaRotulo) {
    CriarLinhas(2);
    dialogos_.respostas = {true};
    impressao_.Iniciar();
    janela_.tamanho = 1;
    agenda_.Disparar();
    EXPECT_EQ(NaPorta(), kRotuloPequeno + kRotuloGrande);
}

TEST_F(Impressao, ReescreveAPortaACadaExecucao) {
    CriarLinhas(1);
    portas_.Preencher("LPT1", std::string(5000, 'z'));
    dialogos_.respostas = {true};
    impressao_.Iniciar();
    EXPECT_EQ(NaPorta(), kRotuloPequeno);
}

// Told with the port and why under the fixed message; nothing is created, the
// window stays, and pressing "Imprimir" again asks again.
TEST_F(Impressao, PortaQueNaoAbreAvisaEPermiteTentarDeNovo) {
    CriarLinhas(1);
    janela_.porta = teste::PortasLpt::kInexistente;
    dialogos_.respostas = {true, true};
    impressao_.Iniciar();
    ASSERT_EQ(dialogos_.TextosDasMensagens(), std::vector<std::string>{"Não conseguiu abrir impressora!"});
    EXPECT_NE(dialogos_.mensagens[0].detalhe.find(janela_.porta), std::string::npos) << dialogos_.mensagens[0].detalhe;
    EXPECT_EQ(dialogos_.tiposDasMensagens[0], TipoMensagem::Falha);
    EXPECT_EQ(janela_.fechamentos, 0);
    EXPECT_TRUE(tbTmp_.Active());
    EXPECT_FALSE(agenda_.Pendente());
    EXPECT_FALSE(impressao_.EmAndamento());

    janela_.porta = "LPT1";
    impressao_.Iniciar();
    EXPECT_EQ(dialogos_.perguntas.size(), 2u);
    EXPECT_EQ(NaPorta(), kRotuloPequeno);
}

class PortaQueNaoEImpressora : public Impressao, public ::testing::WithParamInterface<const char*> {};

// A typo or a file name opens nothing: no file is created or emptied, and the
// operator reads why.
TEST_P(PortaQueNaoEImpressora, NaoAbreNada) {
    CriarLinhas(1);
    janela_.porta = GetParam();
    dialogos_.respostas = {true};
    impressao_.Iniciar();
    ASSERT_EQ(dialogos_.TextosDasMensagens(), std::vector<std::string>{"Não conseguiu abrir impressora!"});
    EXPECT_EQ(dialogos_.mensagens[0].detalhe.rfind(
                  "Porta \"" + std::string(GetParam()) + "\": não é o nome de uma impressora", 0),
              0u)
        << dialogos_.mensagens[0].detalhe;
    EXPECT_TRUE(portas_.NenhumaAberta());
#ifdef _WIN32
    // There "LPT1.txt" in any folder names the device; only other names can be looked for.
    if (std::string(GetParam()).rfind("LPT", 0) == 0) return;
#endif
    EXPECT_FALSE(std::filesystem::exists(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(Textos, PortaQueNaoEImpressora,
                         ::testing::Values("LTP1", "i", ".profile", "saida.prn", "LPT0", "LPT10", "", "LPT1.txt"),
                         [](const auto& info) {
                             std::string nome;
                             for (const char c : std::string(info.param))
                                 if (std::isalnum(static_cast<unsigned char>(c))) nome += c;
                             return std::to_string(info.index) + "_" + (nome.empty() ? "vazia" : nome);
                         });

// The close control while labels print asks; Sim stops before the next label.
TEST_F(Impressao, InterrompidaEntreDoisRotulos) {
    CriarLinhas(3);
    dialogos_.respostas = {true, true};
    impressao_.Iniciar();
    agenda_.Disparar();
    impressao_.PedidoDeFechar();
    EXPECT_EQ(dialogos_.TextosDasPerguntas(),
              (std::vector<std::string>{"Confirma Impressão ?", "Interromper a impressão?"}));
    EXPECT_FALSE(impressao_.EmAndamento());
    EXPECT_FALSE(agenda_.Pendente());
    EXPECT_EQ(NaPorta(), Vezes(2, kRotuloPequeno));
    ASSERT_EQ(dialogos_.TextosDasMensagens(), std::vector<std::string>{"Impressão interrompida."});
    EXPECT_EQ(dialogos_.mensagens[0].detalhe.rfind("Rótulos enviados à impressora: 2 de 3.", 0), 0u);
    EXPECT_EQ(janela_.fechamentos, 0);
    EXPECT_EQ(janela_.progresso.back(), std::make_pair(0u, 0u));
    EXPECT_EQ(RotulosNaTabela(), 3u);
}

TEST_F(Impressao, NaoAInterrupcaoContinua) {
    CriarLinhas(2);
    dialogos_.respostas = {true, false};
    impressao_.Iniciar();
    impressao_.PedidoDeFechar();
    EXPECT_TRUE(impressao_.EmAndamento());
    agenda_.Disparar();
    agenda_.Disparar();
    EXPECT_EQ(NaPorta(), Vezes(2, kRotuloPequeno));
    EXPECT_EQ(janela_.fechamentos, 1);
}

struct CasoPergunta {
    const char* nome;
    bool interromper;
    int rotulosNaPorta;
};

class TemporizadorDuranteAPergunta : public Impressao, public ::testing::WithParamInterface<CasoPergunta> {};

// The timer comes while the question is open: no label goes out behind it.
TEST_P(TemporizadorDuranteAPergunta, NenhumRotuloSaiAntesDaResposta) {
    CriarLinhas(3);
    dialogos_.respostas = {true, GetParam().interromper};
    impressao_.Iniciar();
    dialogos_.enquantoPergunta = [&] {
        agenda_.Disparar();
        EXPECT_EQ(NaPorta(), kRotuloPequeno);
    };
    impressao_.PedidoDeFechar();
    EXPECT_EQ(NaPorta(), Vezes(GetParam().rotulosNaPorta, kRotuloPequeno));
    EXPECT_EQ(impressao_.EmAndamento(), !GetParam().interromper);
}

INSTANTIATE_TEST_SUITE_P(Respostas, TemporizadorDuranteAPergunta,
                         ::testing::Values(CasoPergunta{"Sim", true, 1}, CasoPergunta{"Nao", false, 2}),
                         [](const auto& info) { return std::string(info.param.nome); });

TEST_F(Impressao, FalhaDeEscritaParaARodada) {
    CriarLinhas(40);
    teste::PortaQueFalha porta;
    janela_.porta = porta.Nome();
    dialogos_.respostas = {true};
    EXPECT_THROW(
        {
            impressao_.Iniciar();
            for (int i = 0; i < 40 && agenda_.Pendente(); ++i) agenda_.Disparar();
        },
        Erro);
    EXPECT_FALSE(impressao_.EmAndamento());
    EXPECT_EQ(janela_.fechamentos, 0);
}

TEST_F(Impressao, ImpressoraParadaNaoTravaOPrograma) {
    CriarLinhas(40);
    teste::PortaQueNaoRecebe porta(pasta_);
    janela_.porta = porta.Nome();
    ImpressaoRotulos impressao(janela_, tbTmp_, dialogos_, agenda_, std::chrono::milliseconds(200));
    dialogos_.respostas = {true};
    try {
        impressao.Iniciar();
        for (int i = 0; i < 40 && agenda_.Pendente(); ++i) agenda_.Disparar();
        FAIL() << "a impressão não parou";
    } catch (const Erro& e) {
        EXPECT_NE(std::string(e.what()).find("não aceita dados"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(impressao.EmAndamento());
    EXPECT_EQ(janela_.fechamentos, 0);
}

#ifndef _WIN32
// The port is released when a run stops early, so a retry can open it again
// and the printer sees the end of the data.
TEST_F(Impressao, CanalFechadoDepoisDeUmaFalha) {
    auto ruim = teste::LinhaPadrao();
    ruim["DataVal"] = "nunca";
    CriarLinhas({teste::LinhaPadrao(), ruim},
                "Nome1:A40,Nome2:A40,Nome3:A40,Cliente:A40,Onu:A10,PesoL:A10,PesoB:A10,Lote:A10,DataFab:D,DataVal:A10");
    const std::string fifo = pasta_ / "impressora";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const int leitor = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(leitor, 0);
    janela_.porta = fifo;
    dialogos_.respostas = {true};
    impressao_.Iniciar();
    EXPECT_THROW(agenda_.Disparar(), Erro);
    std::string recebido;
    char buffer[8192];
    ssize_t lidos = 0;
    while ((lidos = ::read(leitor, buffer, sizeof buffer)) > 0)
        recebido.append(buffer, static_cast<std::size_t>(lidos));
    EXPECT_EQ(lidos, 0) << "o canal ainda está aberto";
    EXPECT_EQ(recebido, kRotuloPequeno);
    ::close(leitor);
}
#else
TEST_F(Impressao, RotulosPorUmPipe) {
    CriarLinhas(2);
    teste::PipeDeImpressora pipe(teste::PipeDeImpressora::Leitura::Tudo);
    janela_.porta = pipe.Nome();
    dialogos_.respostas = {true};
    impressao_.Iniciar();
    agenda_.Disparar();
    agenda_.Disparar();
    EXPECT_EQ(pipe.Recebido(), kRotuloPequeno + kRotuloPequeno);
    EXPECT_EQ(janela_.fechamentos, 1);
}
#endif

}  // namespace
}  // namespace rotulos
