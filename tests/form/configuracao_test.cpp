// The printer settings table: seeding, the row kept in edit, saves on disk at
// once, the port following the size, and the data binding of the edit boxes.

#include <gtest/gtest.h>

#if ROTULOS_COM_PXLIB
#include "../support/Pxlib.h"
#endif
#include "../support/Temporario.h"
#include "../support/UnidadeC.h"
#include "Bytes.h"
#include "Erro.h"
#include "ParadoxCriar.h"
#include "TDataSource.h"
#include "TabelaConfiguracao.h"

namespace rotulos {
namespace {

using teste::LerArquivo;
using teste::PastaTemporaria;

constexpr const char* kColunas = "Temperatura:A10,Velocidade:A10,Borda:A10,Retorno:A10,Porta:A80";

class Configuracao : public ::testing::Test {
protected:
    void Criar(const std::vector<std::vector<std::string>>& linhas, const char* colunas = kColunas) {
        paradox::CriarTabela(caminho_, paradox::LerDefinicaoColunas(colunas));
        TTable t(caminho_);
        t.Open();
        for (const auto& linha : linhas) {
            t.Insert();
            for (std::size_t i = 0; i < linha.size(); ++i) t.Fields(i).SetAsString(linha[i]);
            t.Post();
        }
    }

    // The close step, the operator answering `semSalvar` if asked to close without saving.
    bool Fechar(bool semSalvar = false) {
        return configuracao::PassoFechar(tbConf_, [&](const std::string& porque) {
            perguntas_.push_back(porque);
            return semSalvar;
        });
    }

    void Ligar() {
        tbConf_.AfterPost = [this](TTable& t) {
            ++posts_;
            configuracao::PassoDepoisDoPost(t, salvar_);
        };
    }

    // The rows on disk, read by pxlib where it is (Linux), else by a fresh table of our own.
    std::vector<std::vector<std::string>> LinhasNoPxlib() {
        std::vector<std::vector<std::string>> linhas;
#if ROTULOS_COM_PXLIB
        for (const auto& linha : teste::LerComPxlib(caminho_).linhas) {
            linhas.emplace_back();
            for (const auto& v : linha) linhas.back().push_back(v.texto);
        }
#else
        TTable t(caminho_);
        t.Open();
        for (t.First(); !t.Eof(); t.Next()) {
            linhas.emplace_back();
            for (std::size_t i = 0; i < t.FieldCount(); ++i) linhas.back().push_back(t.Fields(i).AsString());
        }
#endif
        return linhas;
    }

    PastaTemporaria pasta_;
    std::string caminho_ = pasta_ / "ConfImpr.db";
    TTable tbConf_{caminho_};
    int posts_ = 0;
    std::vector<std::string> perguntas_;
    int salvamentos_ = 0;
    std::function<void(hDBICur)> salvar_ = [this](hDBICur h) {
        ++salvamentos_;
        DbiSaveChanges(h);
    };
};

TEST_F(Configuracao, PrimeiroUsoCriaALinhaNoDiscoAntesDaEdicao) {
    Criar({});
    Ligar();
    configuracao::PassoMostrar(tbConf_);
    EXPECT_EQ(posts_, 1);
    EXPECT_EQ(salvamentos_, 1);
    EXPECT_EQ(tbConf_.State(), TDataSetState::dsEdit);
    // On disk already, read by another reader while the window is open.
    EXPECT_EQ(LinhasNoPxlib(), (std::vector<std::vector<std::string>>{{"13", "E", "220", "220", "LPT1"}}));
}

TEST_F(Configuracao, SoAPrimeiraLinhaEMostradaESalva) {
    Criar({{"10", "K", "090", "291", "LPT1"}, {"1", "A", "100", "100", "COM1"}, {"2", "B", "200", "200", "COM2"}});
    const auto antes = LerArquivo(caminho_);
    Ligar();
    configuracao::PassoMostrar(tbConf_);
    EXPECT_EQ(tbConf_.FieldByName("Temperatura").AsString(), "10");
    tbConf_.FieldByName("Temperatura").SetAsString("12");
    EXPECT_TRUE(Fechar());
    EXPECT_FALSE(tbConf_.Active());
    const auto depois = LerArquivo(caminho_);
    const std::size_t registro = 2048 + 6;
    const std::size_t tamanho = antes[0];
    for (std::size_t p = 0; p < antes.size(); ++p) {
        if (p < registro || p >= registro + tamanho) {
            EXPECT_EQ(antes[p], depois[p]) << "posição " << p;
        }
    }
    EXPECT_EQ(LinhasNoPxlib(), (std::vector<std::vector<std::string>>{{"12", "K", "090", "291", "LPT1"},
                                                                      {"1", "A", "100", "100", "COM1"},
                                                                      {"2", "B", "200", "200", "COM2"}}));
}

TEST_F(Configuracao, PortaGuardadaFicaAteOTamanhoMudar) {
    Criar({{"13", "E", "220", "220", "LPT3"}});
    Ligar();
    configuracao::PassoMostrar(tbConf_);
    EXPECT_EQ(tbConf_.FieldByName("Porta").AsString(), "LPT3");
    configuracao::PassoTamanho(tbConf_, 0);
    EXPECT_EQ(tbConf_.FieldByName("Porta").AsString(), "LPT1");
}

struct CasoTamanho {
    int itemIndex;
    const char* porta;
};

class TamanhoDefineAPorta : public Configuracao, public ::testing::WithParamInterface<CasoTamanho> {};

TEST_P(TamanhoDefineAPorta, SobrepondoAPortaDigitada) {
    Criar({{"13", "E", "220", "220", "LPT1"}});
    Ligar();
    configuracao::PassoMostrar(tbConf_);
    tbConf_.FieldByName("Porta").SetAsString("COM1");
    configuracao::PassoTamanho(tbConf_, GetParam().itemIndex);
    EXPECT_EQ(tbConf_.FieldByName("Porta").AsString(), GetParam().porta);
    // Stored by the next post, which is the close step.
    EXPECT_EQ(LinhasNoPxlib()[0][4], "LPT1");
    EXPECT_TRUE(Fechar());
    EXPECT_EQ(LinhasNoPxlib()[0][4], GetParam().porta);
}

INSTANTIATE_TEST_SUITE_P(Tamanhos, TamanhoDefineAPorta,
                         ::testing::Values(CasoTamanho{0, "LPT1"}, CasoTamanho{1, "LPT3"}, CasoTamanho{2, "LPT3"}),
                         [](const auto& info) {
                             return "Indice" + std::to_string(info.param.itemIndex) + "_" + info.param.porta;
                         });

TEST_F(Configuracao, FecharSemMexerAindaGravaUmaVez) {
    Criar({{"13", "E", "220", "220", "LPT1"}});
    const auto antes = LerArquivo(caminho_);
    Ligar();
    configuracao::PassoMostrar(tbConf_);
    EXPECT_EQ(posts_, 0);
    EXPECT_TRUE(Fechar());
    EXPECT_TRUE(perguntas_.empty());
    EXPECT_EQ(posts_, 1);
    EXPECT_EQ(salvamentos_, 1);
    EXPECT_EQ(LerArquivo(caminho_), antes);
}

// A save refused asks why and whether to close anyway; Não leaves the row in
// edit with what was typed, and nothing changes on disk.
TEST_F(Configuracao, PostRecusadoPerguntaENaoMantemAEdicao) {
    Criar({{"13", "E", "220", "220", "LPT1"}});
    const auto antes = LerArquivo(caminho_);
    Ligar();
    configuracao::PassoMostrar(tbConf_);
    tbConf_.FieldByName("Borda").SetAsString("12345678901");  // 11 characters in a 10-wide column
    EXPECT_FALSE(Fechar(false));
    ASSERT_EQ(perguntas_.size(), 1u);
    EXPECT_NE(perguntas_[0].find("\"Borda\""), std::string::npos) << perguntas_[0];
    EXPECT_TRUE(tbConf_.Active());
    EXPECT_EQ(tbConf_.State(), TDataSetState::dsEdit);
    EXPECT_EQ(tbConf_.FieldByName("Borda").AsString(), "12345678901");
    EXPECT_EQ(LerArquivo(caminho_), antes);
    tbConf_.FieldByName("Borda").SetAsString("230");
    EXPECT_TRUE(Fechar());
    EXPECT_EQ(LinhasNoPxlib()[0][2], "230");
}

TEST_F(Configuracao, PostRecusadoESimFechaSemAsAlteracoes) {
    Criar({{"13", "E", "220", "220", "LPT1"}});
    const auto antes = LerArquivo(caminho_);
    Ligar();
    configuracao::PassoMostrar(tbConf_);
    tbConf_.FieldByName("Temperatura").SetAsString("15");
    tbConf_.FieldByName("Borda").SetAsString("12345678901");
    EXPECT_TRUE(Fechar(true));
    EXPECT_FALSE(tbConf_.Active());
    EXPECT_EQ(LerArquivo(caminho_), antes);
}

TEST_F(Configuracao, FalhaAoSalvarNoDiscoEInformada) {
    Criar({});
    salvar_ = [](hDBICur) {
        throw Erro(
            "Não foi possível salvar no disco \"C:\\TARVEL\\ConfImpr.db\": erro de entrada e saída no dispositivo.");
    };
    Ligar();
    EXPECT_THROW(configuracao::PassoMostrar(tbConf_), Erro);
    // The row did reach the file; only the flush failed, and the operator was told.
    EXPECT_EQ(LinhasNoPxlib().size(), 1u);
}

// The row reached the file but could not be made durable: Não puts it back in
// edit, as the window had it; Sim closes.
TEST_F(Configuracao, FalhaAoSalvarNoDiscoNoFechamentoPergunta) {
    Criar({{"13", "E", "220", "220", "LPT1"}});
    Ligar();
    configuracao::PassoMostrar(tbConf_);
    salvar_ = [](hDBICur) { throw Erro("falha do disco"); };
    EXPECT_FALSE(Fechar(false));
    EXPECT_EQ(perguntas_, std::vector<std::string>{"falha do disco"});
    EXPECT_TRUE(tbConf_.Active());
    EXPECT_EQ(tbConf_.State(), TDataSetState::dsEdit);
    EXPECT_TRUE(Fechar(true));
    EXPECT_FALSE(tbConf_.Active());
}

TEST_F(Configuracao, TabelaInexistenteFalhaAoMostrarMasNaoImpedeOFechamento) {
    teste::UnidadeC unidade;
    unidade.Novo("ConfImpr.db");
    TTable tbConf("C:\\TARVEL\\ConfImpr.db");
    try {
        configuracao::PassoMostrar(tbConf);
        FAIL();
    } catch (const Erro& e) {
        EXPECT_NE(std::string(e.what()).find("C:\\TARVEL\\ConfImpr.db"), std::string::npos) << e.what();
    }
    EXPECT_TRUE(configuracao::PassoFechar(tbConf, [](const std::string&) { return false; }));
}

TEST_F(Configuracao, ColunaAusenteFalhaSemGravarNada) {
    Criar({}, "Temperatura:A10,Velocidade:A10,Borda:A10,Porta:A80");
    const auto antes = LerArquivo(caminho_);
    Ligar();
    try {
        configuracao::PassoMostrar(tbConf_);
        FAIL();
    } catch (const Erro& e) {
        EXPECT_NE(std::string(e.what()).find("\"Retorno\""), std::string::npos) << e.what();
    }
    EXPECT_EQ(LerArquivo(caminho_), antes);
    EXPECT_EQ(posts_, 0);
}

// Texts the edit boxes could not show right are not shown at all: reported,
// and the table closed again, so the close step has nothing to save.
TEST_F(Configuracao, CodePageDesconhecidoFalhaAoMostrar) {
    Criar({{"13", "E", "220", "220", "LPT1"}});
    auto bytes = LerArquivo(caminho_);
    GravarU16(&bytes[0x6A], 866);
    teste::GravarArquivo(caminho_, bytes);
    Ligar();
    try {
        configuracao::PassoMostrar(tbConf_);
        FAIL();
    } catch (const Erro& e) {
        EXPECT_NE(std::string(e.what()).find("código de página 866"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(tbConf_.Active());
    EXPECT_TRUE(Fechar());
    EXPECT_EQ(LerArquivo(caminho_), bytes);
}

// --- the binding the edit boxes use -----------------------------------------

class Vinculo : public Configuracao {
protected:
    void SetUp() override {
        Criar({{"13", "E", "220", "220", "Impressora \xC7"}});
        Ligar();
        dsConf_.SetDataSet(&tbConf_);
    }

    TDataSource dsConf_;
};

TEST_F(Vinculo, MostraOValorDecodificadoEAcompanhaOPrograma) {
    TFieldDataLink porta(dsConf_, "Porta");
    int avisos = 0;
    porta.AoMudar = [&] { ++avisos; };
    EXPECT_EQ(porta.TextoExibido(), "");  // closed
    configuracao::PassoMostrar(tbConf_);
    EXPECT_GT(avisos, 0);
    EXPECT_EQ(porta.TextoExibido(), "Impressora Ç");
    EXPECT_EQ(porta.TextoBruto(), "Impressora \xC7");
    EXPECT_EQ(porta.TamanhoMaximo(), 80);
    const int antes = avisos;
    configuracao::PassoTamanho(tbConf_, 1);
    EXPECT_GT(avisos, antes);
    EXPECT_EQ(porta.TextoExibido(), "LPT3");
}

TEST_F(Vinculo, DigitacaoAlteraOCampoEAvisaOsOutros) {
    TFieldDataLink temperatura(dsConf_, "Temperatura");
    TFieldDataLink outro(dsConf_, "Temperatura");
    std::string visto;
    outro.AoMudar = [&] { visto = outro.TextoExibido(); };
    configuracao::PassoMostrar(tbConf_);
    EXPECT_TRUE(temperatura.AceitarTexto("15"));
    EXPECT_EQ(tbConf_.FieldByName("Temperatura").AsString(), "15");
    EXPECT_EQ(visto, "15");
    EXPECT_TRUE(temperatura.AceitarTexto("Ação"));
    EXPECT_EQ(tbConf_.FieldByName("Temperatura").AsString(), "A\xE7\xE3o");
}

TEST_F(Vinculo, RecusaCaracterQueOCodePageNaoGuarda) {
    TFieldDataLink velocidade(dsConf_, "Velocidade");
    configuracao::PassoMostrar(tbConf_);
    EXPECT_FALSE(velocidade.AceitarTexto("E✓"));
    EXPECT_FALSE(velocidade.AceitarTexto("Ω"));
    EXPECT_EQ(tbConf_.FieldByName("Velocidade").AsString(), "E");
    EXPECT_TRUE(velocidade.AceitarTexto("€"));
    EXPECT_EQ(tbConf_.FieldByName("Velocidade").AsString(), "\x80");
}

TEST_F(Vinculo, SoEditaComALinhaEmEdicao) {
    TFieldDataLink borda(dsConf_, "Borda");
    EXPECT_FALSE(borda.AceitarTexto("1"));  // closed
    tbConf_.Open();
    EXPECT_FALSE(borda.PodeEditar());
    EXPECT_FALSE(borda.AceitarTexto("1"));
    EXPECT_EQ(borda.TextoExibido(), "220");
    TFieldDataLink inexistente(dsConf_, "NaoExiste");
    EXPECT_EQ(inexistente.TextoExibido(), "");
    EXPECT_FALSE(inexistente.AceitarTexto("x"));
}

}  // namespace
}  // namespace rotulos
