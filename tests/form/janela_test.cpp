// The window without a toolkit, as every shell gets it: its handlers, the
// binding of the edit boxes, the closing sequence with each step failing in
// turn, and a print run going label by label from the timer. Real tables on
// C:\TARVEL (a folder of the test's own on POSIX, the Wine prefix's C: on
// Windows) and the ports LPT1 and LPT3 as each system offers them to a test.

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "../support/Operador.h"
#include "../support/PortasLpt.h"
#include "../support/TabelaRotulos.h"
#include "../support/Temporario.h"
#include "../support/UnidadeC.h"
#include "Erro.h"
#include "ParadoxCriar.h"
#include "platform/Plataforma.h"
#include "uImprimeEtiqLumbertovaLab.h"

namespace rotulos::form {
namespace {

using teste::PastaTemporaria;

constexpr const char* kColunasConf = "Temperatura:A10,Velocidade:A10,Borda:A10,Retorno:A10,Porta:A10";
const std::string kRotuloPequeno = teste::LerTexto(std::string(ROTULOS_DADOS) + "/rotulo-pequeno.ref");
const std::string kRotuloGrande = teste::LerTexto(std::string(ROTULOS_DADOS) + "/rotulo-grande.ref");

class Janela : public ::testing::Test {
protected:
    void CriarConf(const std::vector<std::string>& linha, const char* colunas = kColunasConf) {
        paradox::CriarTabela(conf_, paradox::LerDefinicaoColunas(colunas));
        if (linha.empty()) return;
        TTable t(conf_);
        t.Open();
        t.Insert();
        for (std::size_t i = 0; i < linha.size(); ++i) t.Fields(i).SetAsString(linha[i]);
        t.Post();
    }

    void CriarRotulos(int n, const std::string& colunas = teste::kColunasRotulos) {
        teste::CriarTabelaRotulos(
            rotulos_, std::vector<teste::Linha>(static_cast<std::size_t>(n), teste::LinhaPadrao()), colunas);
    }

    std::uint32_t RotulosEsperando() {
        TTable t(rotulos_);
        t.Open();
        return t.RecordCount();
    }

    std::vector<std::string> ConfSalva() {
        TTable t(conf_);
        t.Open();
        if (t.RecordCount() == 0) return {};
        std::vector<std::string> linha;
        for (std::size_t i = 0; i < t.FieldCount(); ++i) linha.push_back(t.Fields(i).AsString());
        return linha;
    }

    std::optional<std::string> NaPorta(const std::string& nome) const { return portas_.Conteudo(nome); }

    TfoImprimeEtiqLumbertovaLab& Mostrar() {
        janela_ = std::make_unique<TfoImprimeEtiqLumbertovaLab>(dialogos_, agenda_);
        janela_->AoFechar = [this] { ++encerramentos_; };
        janela_->Mostrar();
        return *janela_;
    }

    std::vector<std::string> Textos() {
        return {janela_->DBEdit10.Text(), janela_->DBEdit11.Text(), janela_->DBEdit12.Text(), janela_->DBEdit13.Text(),
                janela_->DBEdit1.Text()};
    }

    std::vector<bool> Habilitados() {
        std::vector<bool> estados;
        for (const char* nome :
             {"Button1", "Button2", "DBEdit10", "DBEdit11", "DBEdit12", "DBEdit13", "DBEdit1", "RadioGroup1"})
            estados.push_back(janela_->Controle(nome)->Enabled());
        return estados;
    }

    teste::UnidadeC unidade_;
    std::string conf_ = unidade_.Novo("ConfImpr.db");
    std::string rotulos_ = unidade_.Novo("TMP239.DB");
    teste::PortasLpt portas_;
    teste::DialogosRoteiro dialogos_;
    teste::AgendaManual agenda_;
    std::unique_ptr<TfoImprimeEtiqLumbertovaLab> janela_;
    int encerramentos_ = 0;
};

// --- showing and editing ---------------------------------------------------------

TEST_F(Janela, MostrarSemeiaEEditaUmaVezSo) {
    CriarConf({});
    auto& j = Mostrar();
    EXPECT_EQ(ConfSalva(), (std::vector<std::string>{"13", "E", "220", "220", "LPT1"}));
    EXPECT_EQ(Textos(), (std::vector<std::string>{"13", "E", "220", "220", "LPT1"}));
    for (TDBEdit* edit : {&j.DBEdit10, &j.DBEdit11, &j.DBEdit12, &j.DBEdit13, &j.DBEdit1}) {
        EXPECT_FALSE(edit->ReadOnly()) << edit->Name();
        EXPECT_EQ(edit->MaxLength(), 10) << edit->Name();
    }
    j.DBEdit10.Digitar("9");
    j.Mostrar();  // restored from the taskbar: no second show step
    EXPECT_EQ(j.DBEdit10.Text(), "9");
    EXPECT_EQ(j.Caption(), "Impressão de Rótulos");
    EXPECT_EQ(&j.ControleInicial(), &j.Button1);
    EXPECT_FALSE(j.Label22.Visible());
    EXPECT_TRUE(dialogos_.erros.empty());
}

TEST_F(Janela, AbreComPequenoQualquerQueSejaAPortaGuardada) {
    CriarConf({"10", "K", "090", "300", "LPT3"});
    auto& j = Mostrar();
    EXPECT_EQ(j.RadioGroup1.ItemIndex(), 0);
    EXPECT_EQ(j.DBEdit1.Text(), "LPT3");
    EXPECT_EQ(j.DBEdit10.Text(), "10");
}

TEST_F(Janela, TamanhoDefineAPorta) {
    CriarConf({});
    CriarRotulos(0);
    auto& j = Mostrar();
    j.DBEdit1.Digitar("COM1");
    j.RadioGroup1.Escolher(1);
    EXPECT_EQ(j.RadioGroup1.ItemIndex(), 1);
    EXPECT_EQ(j.DBEdit1.Text(), "LPT3");
    j.RadioGroup1.Escolher(0);
    EXPECT_EQ(j.DBEdit1.Text(), "LPT1");
    j.RadioGroup1.Escolher(1);
    j.Button2.Click();
    EXPECT_EQ(ConfSalva().at(4), "LPT3");
}

struct CasoDigitado {
    const char* nome;
    const char* digitado;
    const char* mostrado;
    const char* guardado;  // in the table's code page, 1252
};

class Digitado : public Janela, public ::testing::WithParamInterface<CasoDigitado> {};

// What the box keeps is what is saved and printed: no control characters,
// no letter the table's code page lacks.
TEST_P(Digitado, OQueFicaNaCaixaESalvoEImpresso) {
    CriarConf({});
    CriarRotulos(1);
    auto& j = Mostrar();
    j.DBEdit10.Digitar(GetParam().digitado);
    EXPECT_EQ(j.DBEdit10.Text(), GetParam().mostrado);
    dialogos_.respostas = {true};
    j.Button1.Click();
    agenda_.Disparar();
    ASSERT_EQ(encerramentos_, 1);
    EXPECT_EQ(ConfSalva().at(0), GetParam().guardado);
    EXPECT_NE(NaPorta("LPT1")->find("\r\nH" + std::string(GetParam().guardado) + "\r\nPE\r\n"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Casos, Digitado,
                         ::testing::Values(CasoDigitado{"Simples", "15", "15", "15"},
                                           CasoDigitado{"QuebraDeLinhaColada", "H1\r\n\x02Q9999", "H1Q9999", "H1Q9999"},
                                           CasoDigitado{"TabulacaoEControleC1", "1\t5\xC2\x85", "15", "15"},
                                           CasoDigitado{"Acento", "Aç", "Aç", "A\xE7"},
                                           CasoDigitado{"ForaDoCodePage", "13中", "13", "13"}),
                         [](const auto& info) { return std::string(info.param.nome); });

TEST_F(Janela, TabelaDeConfiguracaoInutilizavelERelatadaEAJanelaAindaFecha) {
    CriarConf({}, "Temperatura:A10,Velocidade:A10,Borda:A10,Retorno:A10");
    CriarRotulos(1);
    auto& j = Mostrar();
    ASSERT_EQ(dialogos_.erros.size(), 1u);
    EXPECT_NE(dialogos_.erros[0].find("\"Porta\""), std::string::npos) << dialogos_.erros[0];
    EXPECT_TRUE(j.DBEdit10.ReadOnly());
    EXPECT_EQ(j.DBEdit10.Text(), "");
    j.DBEdit10.Digitar("15");
    EXPECT_EQ(j.DBEdit10.Text(), "");
    j.Button2.Click();
    EXPECT_EQ(encerramentos_, 1);
    EXPECT_EQ(RotulosEsperando(), 0u);
}

// --- closing -------------------------------------------------------------------

struct CasoFechamento {
    const char* nome;
    int rotulos;
};

class Fechamento : public Janela, public ::testing::WithParamInterface<CasoFechamento> {
protected:
    void FecharPor(const std::string& fonte) {
        if (fonte == "Fechar") {
            janela_->Button2.Click();
        } else if (fonte == "Controle") {
            janela_->Close();
        } else {
            dialogos_.respostas = {fonte != "Nao"};
            janela_->Button1.Click();
            while (agenda_.Pendente()) agenda_.Disparar();
        }
    }
};

// From any source, closing saves the settings and discards every waiting label, once.
TEST_P(Fechamento, SalvaAsConfiguracoesEDescartaOsRotulos) {
    CriarConf({"12", "F", "230", "280", "LPT1"});
    CriarRotulos(GetParam().rotulos);
    auto& j = Mostrar();
    j.DBEdit12.Digitar("240");
    FecharPor(GetParam().nome);
    EXPECT_EQ(encerramentos_, 1);
    EXPECT_TRUE(j.Fechada());
    EXPECT_TRUE(dialogos_.erros.empty());
    EXPECT_EQ(ConfSalva(), (std::vector<std::string>{"12", "F", "240", "280", "LPT1"}));
    EXPECT_EQ(RotulosEsperando(), 0u);
    EXPECT_FALSE(j.tbConf.Active());
    EXPECT_FALSE(j.tbTmp.Active());
    j.Close();  // closed is closed
    EXPECT_EQ(encerramentos_, 1);
}

INSTANTIATE_TEST_SUITE_P(Fontes, Fechamento,
                         ::testing::Values(CasoFechamento{"Fechar", 3}, CasoFechamento{"Controle", 3},
                                           CasoFechamento{"Nao", 3}, CasoFechamento{"Vazia", 0},
                                           CasoFechamento{"Impressao", 3}),
                         [](const auto& info) { return std::string(info.param.nome); });

TEST_F(Janela, SemTabelaDeRotulosFechaMesmoAssim) {
    CriarConf({});
    auto& j = Mostrar();
    j.DBEdit10.Digitar("11");
    j.Button2.Click();
    EXPECT_EQ(encerramentos_, 1);
    EXPECT_TRUE(dialogos_.erros.empty());
    EXPECT_TRUE(dialogos_.mensagens.empty());
    EXPECT_EQ(ConfSalva().at(0), "11");
    EXPECT_FALSE(std::filesystem::exists(rotulos_));
}

struct CasoSalvar {
    const char* nome;
    bool fecharSemSalvar;
};

class SalvarFalha : public Janela, public ::testing::WithParamInterface<CasoSalvar> {};

// A save that fails asks "Fechar sem salvar as configurações?". Não leaves
// the window as it was: open, the row in edit, the labels waiting. Sim
// closes without the settings and still discards the labels.
TEST_P(SalvarFalha, PerguntaAntesDeFechar) {
    CriarConf({"13", "E", "220", "220", "LPT1"});
    CriarRotulos(2);
    const auto confAntes = teste::LerArquivo(conf_);
    auto& j = Mostrar();
    j.DBEdit12.Digitar("12345678901");  // one more than the column takes
    dialogos_.respostas = {GetParam().fecharSemSalvar};
    j.Close();
    ASSERT_EQ(dialogos_.TextosDasPerguntas(), std::vector<std::string>{"Fechar sem salvar as configurações?"});
    EXPECT_NE(dialogos_.perguntas[0].detalhe.find("\"Borda\""), std::string::npos) << dialogos_.perguntas[0].detalhe;
    EXPECT_EQ(teste::LerArquivo(conf_), confAntes);
    if (GetParam().fecharSemSalvar) {
        EXPECT_EQ(encerramentos_, 1);
        EXPECT_EQ(RotulosEsperando(), 0u);
        return;
    }
    EXPECT_EQ(encerramentos_, 0);
    EXPECT_FALSE(j.Fechada());
    EXPECT_EQ(j.tbConf.State(), TDataSetState::dsEdit);
    EXPECT_EQ(j.DBEdit12.Text(), "12345678901");
    EXPECT_FALSE(j.DBEdit12.ReadOnly());
    EXPECT_EQ(RotulosEsperando(), 2u);
    // Mended, it closes.
    j.DBEdit12.Digitar("240");
    j.Close();
    EXPECT_EQ(encerramentos_, 1);
    EXPECT_EQ(ConfSalva().at(2), "240");
}

INSTANTIATE_TEST_SUITE_P(Respostas, SalvarFalha, ::testing::Values(CasoSalvar{"Nao", false}, CasoSalvar{"Sim", true}),
                         [](const auto& info) { return std::string(info.param.nome); });

// A write the disk refuses while the settings are saved: the same question.
TEST_F(Janela, DiscoQueRecusaAGravacaoDasConfiguracoes) {
    CriarConf({"13", "E", "220", "220", "LPT1"});
    auto& j = Mostrar();
    j.DBEdit10.Digitar("14");
    plataforma::AntesDeAlterarArquivo() = [] {
        throw Erro("Não foi possível gravar: não há espaço livre no dispositivo.");
    };
    dialogos_.respostas = {false};
    j.Close();
    plataforma::AntesDeAlterarArquivo() = nullptr;
    ASSERT_EQ(dialogos_.perguntas.size(), 1u);
    EXPECT_NE(dialogos_.perguntas[0].detalhe.find("espaço livre"), std::string::npos);
    EXPECT_EQ(encerramentos_, 0);
    EXPECT_EQ(j.DBEdit10.Text(), "14");
    j.Close();
    EXPECT_EQ(encerramentos_, 1);
    EXPECT_EQ(ConfSalva().at(0), "14");
}

struct CasoEsvaziar {
    const char* nome;
    std::function<void(const std::string&)> estragar;
};

class EsvaziarFalha : public Janela, public ::testing::WithParamInterface<CasoEsvaziar> {};

// A label table that cannot be emptied: the operator is told the labels stay,
// and why, and the window closes with the settings saved.
TEST_P(EsvaziarFalha, AvisaQueOsRotulosFicamEFecha) {
    CriarConf({});
    CriarRotulos(2);
    auto& j = Mostrar();
    j.DBEdit10.Digitar("11");
    GetParam().estragar(rotulos_);
    j.Button2.Click();
    EXPECT_EQ(encerramentos_, 1);
    ASSERT_EQ(dialogos_.TextosDasMensagens(),
              std::vector<std::string>{"Os rótulos continuam na tabela: não foi possível apagá-los."});
    EXPECT_EQ(dialogos_.tiposDasMensagens[0], TipoMensagem::Falha);
    EXPECT_NE(dialogos_.mensagens[0].detalhe.find("C:\\TARVEL\\TMP239.DB"), std::string::npos)
        << dialogos_.mensagens[0].detalhe;
    EXPECT_EQ(ConfSalva().at(0), "11");
}

INSTANTIATE_TEST_SUITE_P(Danos, EsvaziarFalha,
                         ::testing::Values(CasoEsvaziar{"NaoEParadox",
                                                        [](const std::string& c) {
                                                            teste::GravarArquivo(c, {'n', 'a', 'o'});
                                                        }},
                                           CasoEsvaziar{"PastaNoLugar",
                                                        [](const std::string& c) {
                                                            std::filesystem::remove(c);
                                                            std::filesystem::create_directory(c);
                                                        }}),
                         [](const auto& info) { return std::string(info.param.nome); });

// --- printing ------------------------------------------------------------------

// Each label on the port of the chosen size, from the timer; the window shows
// how far the run is, in its title and above the buttons, and takes no input
// but its close control while labels print.
TEST_F(Janela, ImpressaoMostraOAndamentoEFechaNoFim) {
    CriarConf({});
    CriarRotulos(2);
    auto& j = Mostrar();
    j.RadioGroup1.Escolher(1);
    dialogos_.respostas = {true};
    j.Button1.Click();
    EXPECT_EQ(dialogos_.perguntas.at(0),
              (teste::DialogosRoteiro::Caixa{"Confirma Impressão ?",
                                             "2 rótulos aguardando. Respondendo Não, eles serão descartados."}));
    EXPECT_EQ(NaPorta("LPT3"), kRotuloGrande);
    EXPECT_EQ(j.Caption(), "Impressão de Rótulos – imprimindo rótulo 1 de 2");
    EXPECT_TRUE(j.Label22.Visible());
    EXPECT_EQ(j.Label22.Caption(), "Imprimindo rótulo 1 de 2");
    EXPECT_EQ(Habilitados(), std::vector<bool>(8, false));
    EXPECT_TRUE(j.Imprimindo());

    // Input that still arrives is not taken.
    j.Button2.Click();
    j.RadioGroup1.Escolher(0);
    j.DBEdit1.Digitar("COM1");
    EXPECT_EQ(encerramentos_, 0);
    EXPECT_EQ(j.RadioGroup1.ItemIndex(), 1);
    EXPECT_EQ(j.DBEdit1.Text(), "LPT3");

    agenda_.Disparar();
    EXPECT_EQ(j.Caption(), "Impressão de Rótulos – imprimindo rótulo 2 de 2");
    EXPECT_EQ(NaPorta("LPT3"), kRotuloGrande + kRotuloGrande);
    agenda_.Disparar();
    EXPECT_EQ(encerramentos_, 1);
    EXPECT_EQ(j.Caption(), "Impressão de Rótulos");
    EXPECT_EQ(RotulosEsperando(), 0u);
    EXPECT_EQ(ConfSalva().at(4), "LPT3");
    EXPECT_TRUE(dialogos_.erros.empty());
}

struct CasoInterromper {
    const char* nome;
    bool interromper;
};

class FecharDuranteAImpressao : public Janela, public ::testing::WithParamInterface<CasoInterromper> {};

// The close control during a run asks first. Sim stops before the next label
// and ends the run as a failed one: the window open and usable again, every
// label still in the table. Não goes on.
TEST_P(FecharDuranteAImpressao, PerguntaSeInterrompe) {
    CriarConf({});
    CriarRotulos(3);
    auto& j = Mostrar();
    dialogos_.respostas = {true, GetParam().interromper};
    j.Button1.Click();
    j.Close();
    EXPECT_EQ(dialogos_.TextosDasPerguntas(),
              (std::vector<std::string>{"Confirma Impressão ?", "Interromper a impressão?"}));
    EXPECT_EQ(encerramentos_, 0);
    if (GetParam().interromper) {
        EXPECT_FALSE(j.Imprimindo());
        EXPECT_EQ(j.Caption(), "Impressão de Rótulos");
        EXPECT_FALSE(j.Label22.Visible());
        EXPECT_EQ(Habilitados(), std::vector<bool>(8, true));
        EXPECT_EQ(NaPorta("LPT1"), kRotuloPequeno);
        EXPECT_EQ(RotulosEsperando(), 3u);
        EXPECT_EQ(dialogos_.TextosDasMensagens(), std::vector<std::string>{"Impressão interrompida."});
        j.Close();
        EXPECT_EQ(encerramentos_, 1);
        EXPECT_EQ(RotulosEsperando(), 0u);
        return;
    }
    EXPECT_TRUE(j.Imprimindo());
    while (agenda_.Pendente()) agenda_.Disparar();
    EXPECT_EQ(NaPorta("LPT1"), kRotuloPequeno + kRotuloPequeno + kRotuloPequeno);
    EXPECT_EQ(encerramentos_, 1);
}

INSTANTIATE_TEST_SUITE_P(Respostas, FecharDuranteAImpressao,
                         ::testing::Values(CasoInterromper{"Sim", true}, CasoInterromper{"Nao", false}),
                         [](const auto& info) { return std::string(info.param.nome); });

// A missing column is reported before the printer is opened: zero bytes sent,
// the window as it was.
TEST_F(Janela, ColunaAusenteNaoEnviaNenhumByte) {
    CriarConf({});
    CriarRotulos(2, "Nome1:A40,Nome2:A40,Nome3:A40,Onu:A10,PesoL:A10,PesoB:A10,Lote:A10,DataFab:D,DataVal:D");
    auto& j = Mostrar();
    dialogos_.respostas = {true};
    j.Button1.Click();
    ASSERT_EQ(dialogos_.erros.size(), 1u);
    EXPECT_NE(dialogos_.erros[0].find("\"Cliente\""), std::string::npos) << dialogos_.erros[0];
    EXPECT_EQ(NaPorta("LPT1"), std::nullopt);
    EXPECT_FALSE(j.Imprimindo());
    EXPECT_EQ(Habilitados(), std::vector<bool>(8, true));
    EXPECT_EQ(encerramentos_, 0);
}

// A label that fails half-way through the run: reported by the default error
// report, from the timer; the window is usable again.
TEST_F(Janela, FalhaNoMeioDaImpressaoVaiParaORelatorioDeErros) {
    CriarConf({});
    auto ruim = teste::LinhaPadrao();
    ruim["DataVal"] = "nunca";
    teste::CriarTabelaRotulos(rotulos_, {teste::LinhaPadrao(), ruim},
                              "Nome1:A40,Nome2:A40,Nome3:A40,Cliente:A40,Onu:A10,PesoL:A10,PesoB:A10,Lote:A10,"
                              "DataFab:D,DataVal:A10");
    auto& j = Mostrar();
    dialogos_.respostas = {true};
    j.Button1.Click();
    agenda_.Disparar();
    ASSERT_EQ(dialogos_.erros.size(), 1u);
    EXPECT_NE(dialogos_.erros[0].find("\"nunca\" não é uma data"), std::string::npos) << dialogos_.erros[0];
    EXPECT_EQ(NaPorta("LPT1"), kRotuloPequeno);
    EXPECT_FALSE(j.Imprimindo());
    EXPECT_EQ(j.Caption(), "Impressão de Rótulos");
    EXPECT_EQ(Habilitados(), std::vector<bool>(8, true));
    EXPECT_EQ(encerramentos_, 0);
}

// A port text that names no printer opens nothing: the fixed message, the
// port and why under it; the window usable, the next size's port prints.
TEST_F(Janela, PortaQueNaoEImpressoraNaoAbreNada) {
    CriarConf({"13", "E", "220", "220", ".profile"});
    CriarRotulos(1);
    auto& j = Mostrar();
    dialogos_.respostas = {true, true};
    j.Button1.Click();
    ASSERT_EQ(dialogos_.TextosDasMensagens(), std::vector<std::string>{"Não conseguiu abrir impressora!"});
    EXPECT_EQ(dialogos_.mensagens[0].detalhe.rfind("Porta \".profile\": não é o nome de uma impressora.", 0), 0u)
        << dialogos_.mensagens[0].detalhe;
    EXPECT_TRUE(portas_.NenhumaAberta());
    EXPECT_EQ(encerramentos_, 0);
    j.RadioGroup1.Escolher(1);
    j.Button1.Click();
    EXPECT_EQ(NaPorta("LPT3"), kRotuloGrande);
}

TEST_F(Janela, RelatorioDeErroDeixaAJanelaComoEstava) {
    CriarConf({});
    auto& j = Mostrar();
    dialogos_.respostas = {true};
    j.Button1.Click();  // no label table
    ASSERT_EQ(dialogos_.erros.size(), 1u);
    EXPECT_NE(dialogos_.erros[0].find("C:\\TARVEL\\TMP239.DB"), std::string::npos) << dialogos_.erros[0];
    EXPECT_EQ(dialogos_.perguntas.at(0).detalhe, "");
    EXPECT_FALSE(j.DBEdit10.ReadOnly());
    j.RadioGroup1.Escolher(1);
    EXPECT_EQ(j.DBEdit1.Text(), "LPT3");
}

// Every control of the description is a component of the window, by its name.
TEST_F(Janela, CadaControleDaDescricaoEUmComponente) {
    CriarConf({});
    auto& j = Mostrar();
    for (const auto& descricao : Formulario().controles) {
        TControl* controle = j.Controle(descricao.nome);
        ASSERT_NE(controle, nullptr) << descricao.nome;
        EXPECT_EQ(&controle->Descricao(), &descricao);
    }
    EXPECT_EQ(j.Controle("Button3"), nullptr);
}

}  // namespace
}  // namespace rotulos::form
