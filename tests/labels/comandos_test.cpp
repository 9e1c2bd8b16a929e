// The DPL lines of one label, byte for byte.

#include <gtest/gtest.h>

#include "../support/TabelaRotulos.h"
#include "../support/Temporario.h"
#include "ComandosRotulo.h"
#include "Erro.h"

namespace rotulos {
namespace {

using teste::Linha;
using teste::PastaTemporaria;

const ConfiguracaoImpressora kSemente{"13", "E", "220", "220"};

std::string Referencia(const std::string& nome) { return teste::LerTexto(std::string(ROTULOS_DADOS) + "/" + nome); }

std::vector<std::string> Linhas(const std::string& bytes) {
    std::vector<std::string> linhas;
    std::size_t inicio = 0;
    for (std::size_t fim; (fim = bytes.find("\r\n", inicio)) != std::string::npos; inicio = fim + 2)
        linhas.push_back(bytes.substr(inicio, fim - inicio));
    EXPECT_EQ(inicio, bytes.size()) << "a última linha não termina com CR LF";
    return linhas;
}

class Rotulo : public ::testing::Test {
protected:
    std::string Gerar(const Linha& alteracoes, int tamanho, const ConfiguracaoImpressora& config = kSemente,
                      const std::string& colunas = teste::kColunasRotulos) {
        Linha linha = teste::LinhaPadrao();
        for (const auto& [k, v] : alteracoes) linha[k] = v;
        const std::string caminho = pasta_ / ("t" + std::to_string(++n_) + ".db");
        teste::CriarTabelaRotulos(caminho, {linha}, colunas);
        TTable tbTmp(caminho);
        tbTmp.Open();
        SaidaEmMemoria saida;
        EscreverRotulo(saida, tamanho, config, tbTmp);
        return saida.Bytes();
    }

    PastaTemporaria pasta_;
    int n_ = 0;
};

TEST_F(Rotulo, PequenoIgualAReferencia) {
    const std::string bytes = Gerar({}, 0);
    EXPECT_EQ(bytes, Referencia("rotulo-pequeno.ref"));
    EXPECT_EQ(Linhas(bytes).size(), 24u);
}

TEST_F(Rotulo, GrandeIgualAReferencia) {
    const std::string bytes = Gerar({}, 1);
    EXPECT_EQ(bytes, Referencia("rotulo-grande.ref"));
    EXPECT_EQ(Linhas(bytes).size(), 25u);
}

struct CasoLinha {
    const char* nome;
    int tamanho;
    Linha alteracoes;
    ConfiguracaoImpressora config;
    std::size_t linha;  // 1-based
    std::string esperado;
};

class LinhaDoRotulo : public Rotulo, public ::testing::WithParamInterface<CasoLinha> {};

TEST_P(LinhaDoRotulo, TemOConteudoEsperado) {
    const CasoLinha& caso = GetParam();
    const auto linhas = Linhas(Gerar(caso.alteracoes, caso.tamanho, caso.config));
    ASSERT_GE(linhas.size(), caso.linha);
    EXPECT_EQ(linhas[caso.linha - 1], caso.esperado);
}

const std::string k31 = "1234567890123456789012345678901";
const std::string k30 = k31.substr(0, 30);
const std::string kStx = "\x02";

INSTANTIATE_TEST_SUITE_P(
    Casos, LinhaDoRotulo,
    ::testing::Values(
        CasoLinha{"Nome1VazioPequeno", 0, {{"Nome1", ""}}, kSemente, 13, "191200401470010"},
        CasoLinha{"Nome1VazioGrande", 1, {{"Nome1", ""}}, kSemente, 13, "292200506830272"},
        CasoLinha{"Nome1CortadoEm30Pequeno", 0, {{"Nome1", k31}}, kSemente, 13, "191200401470010" + k30},
        CasoLinha{"Nome1CortadoEm30Grande", 1, {{"Nome1", k31}}, kSemente, 13, "292200506830272" + k30},
        CasoLinha{"Nome2CortadoEm30", 0, {{"Nome2", k31}}, kSemente, 14, "191200301170010" + k30},
        CasoLinha{"Nome3Inteiro", 0, {{"Nome3", k31}}, kSemente, 15, "191200200910011" + k31},
        CasoLinha{"ClienteInteiro", 1, {{"Cliente", k31}}, kSemente, 16, "292200206810191" + k31},
        CasoLinha{"LoteCortadoEm6Pequeno", 0, {{"Lote", "L240315"}}, kSemente, 19, "191200100170132L24031"},
        CasoLinha{"LoteCortadoEm6Grande", 1, {{"Lote", "L240315"}}, kSemente, 20, "291100603870337L24031"},
        CasoLinha{"OnuCortadoEm4",
                  1,
                  {{"Onu", "18301"}},
                  kSemente,
                  17,
                  "291100606410320"
                  "1830"},
        CasoLinha{"PesosInteiros", 0, {{"PesoL", "1234,5 kg"}}, kSemente, 17, "1912001001700181234,5 kg"},
        CasoLinha{"DataComDoisDigitosDeAno", 0, {{"DataFab", "1999-12-31"}}, kSemente, 20, "19120010017018431/12/99"},
        CasoLinha{"DataEmBrancoSaiVazia", 0, {{"DataVal", ""}}, kSemente, 21, "191200100170239"},
        CasoLinha{"TemperaturaForaDaFaixaVaiComoEsta", 0, {}, {"99", "E", "220", "220"}, 9, "H99"},
        CasoLinha{"VelocidadeComoEsta", 0, {}, {"13", "Z", "220", "220"}, 10, "PZ"},
        CasoLinha{"BordaVazia", 0, {}, {"13", "E", "", "220"}, 3, kStx + "O0"},
        CasoLinha{"Retorno", 1, {}, {"13", "E", "220", "291"}, 4, kStx + "f291"},
        CasoLinha{"Linha5Pequeno", 0, {}, kSemente, 5, kStx + "KW0425"},
        CasoLinha{"Linha5Grande", 1, {}, kSemente, 5, kStx + "KW0402"},
        CasoLinha{"Linha6CincoBytes", 0, {}, kSemente, 6, kStx + "KI7" + kStx},
        CasoLinha{"TamanhoDoisEGrande", 2, {}, kSemente, 5, kStx + "KW0402"},
        CasoLinha{"TamanhoNegativoEGrande",
                  -1,
                  {},
                  kSemente,
                  13,
                  "292200506830272"
                  "\xC1"
                  "CIDO SULF\xDA"
                  "RICO 98%"},
        CasoLinha{
            "RetornoDeCarroViraEspaco", 0, {{"Nome1", "AB\rQ9999\x1F\x7F"}}, kSemente, 13, "191200401470010AB Q9999  "},
        CasoLinha{"TabulacaoViraEspacoDepoisDoCorte", 0, {{"Lote", "12345\t7"}}, kSemente, 19, "19120010017013212345 "},
        CasoLinha{"BytesAltosPassamIntactos",
                  1,
                  {{"Nome3", "\xC7\xC3O \xFF"}},
                  kSemente,
                  15,
                  "292200206810218\xC7\xC3O \xFF"}),
    [](const auto& info) { return std::string(info.param.nome); });

TEST_F(Rotulo, PequenoNaoTemLinhaDoOnu) {
    const auto linhas = Linhas(Gerar({{"Onu", "18301"}}, 0));
    ASSERT_EQ(linhas.size(), 24u);
    for (const auto& l : linhas) EXPECT_EQ(l.find("1830"), std::string::npos) << l;
}

TEST_F(Rotulo, PesoNumericoSaiComVirgula) {
    const auto linhas = Linhas(Gerar({{"PesoL", "12,5"}, {"PesoB", "13"}}, 0, kSemente,
                                     "Nome1:A40,Nome2:A40,Nome3:A40,Cliente:A40,Onu:A10,PesoL:N,PesoB:N,"
                                     "Lote:A10,DataFab:D,DataVal:D"));
    EXPECT_EQ(linhas[16], "19120010017001812,5");
    EXPECT_EQ(linhas[17], "19120010017007613");
}

TEST_F(Rotulo, ColunaAusenteParaDepoisDasLinhasAnteriores) {
    const std::string caminho = pasta_ / "sem-cliente.db";
    teste::CriarTabelaRotulos(caminho, {teste::LinhaPadrao()},
                              "Nome1:A40,Nome2:A40,Nome3:A40,Onu:A10,PesoL:A10,PesoB:A10,Lote:A10,DataFab:D,DataVal:D");
    TTable tbTmp(caminho);
    tbTmp.Open();
    SaidaEmMemoria saida;
    try {
        EscreverRotulo(saida, 0, kSemente, tbTmp);
        FAIL();
    } catch (const Erro& e) {
        EXPECT_NE(std::string(e.what()).find("\"Cliente\""), std::string::npos) << e.what();
    }
    EXPECT_EQ(saida.Linhas().size(), 15u);  // set-up block and the three name lines
}

TEST_F(Rotulo, DataQueNaoEDataParaORotulo) {
    const std::string caminho = pasta_ / "data-texto.db";
    auto linha = teste::LinhaPadrao();
    linha["DataFab"] = "ontem";
    teste::CriarTabelaRotulos(caminho, {linha},
                              "Nome1:A40,Nome2:A40,Nome3:A40,Cliente:A40,Onu:A10,PesoL:A10,PesoB:A10,Lote:A10,"
                              "DataFab:A10,DataVal:D");
    TTable tbTmp(caminho);
    tbTmp.Open();
    SaidaEmMemoria saida;
    EXPECT_THROW(EscreverRotulo(saida, 0, kSemente, tbTmp), Erro);
    EXPECT_EQ(saida.Linhas().size(), 19u);
}

}  // namespace
}  // namespace rotulos
