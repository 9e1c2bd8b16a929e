// The label table is not ours alone: another program appends to it while we
// read, and a writer stopped half-way leaves its header and its block chain
// disagreeing. Rows are delivered where the chain has them, in order, and
// our next write sets the header right.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#if ROTULOS_COM_PXLIB
#include "../support/Pxlib.h"
#endif
#include "../support/Processo.h"
#include "../support/Temporario.h"
#include "Bytes.h"
#include "Erro.h"
#include "ParadoxCriar.h"
#include "TTable.h"

namespace rotulos {
namespace {

using teste::LerArquivo;
using teste::PastaTemporaria;

// 500-byte records, four to a 2 KiB block: 200 rows make a 100 KiB file, past
// the engine's 64 KiB read cache.
constexpr const char* kColunas = "Nome:A250,Resto:A250";

std::string Nome(int i) { return "linha " + std::to_string(i); }

void Acrescentar(TTable& t, int de, int ate) {
    for (int i = de; i < ate; ++i) {
        t.Insert();
        t.FieldByName("Nome").SetAsString(Nome(i));
        t.FieldByName("Resto").SetAsString(std::string(200, 'r'));
        t.Post();
    }
}

std::string CriarComLinhas(const PastaTemporaria& pasta, int linhas) {
    const std::string caminho = pasta / "TMP239.DB";
    paradox::CriarTabela(caminho, paradox::LerDefinicaoColunas(kColunas));
    TTable t(caminho);
    t.Open();
    Acrescentar(t, 0, linhas);
    return caminho;
}

std::vector<std::string> Nomes(int de, int ate) {
    std::vector<std::string> nomes;
    for (int i = de; i < ate; ++i) nomes.push_back(Nome(i));
    return nomes;
}

struct CasoEscritor {
    const char* nome;
    int antes;       // rows when the reader opens
    int lidasAntes;  // rows the reader has moved over when the writer appends
    int acrescidas;
};

class OutroEscritor : public ::testing::TestWithParam<CasoEscritor> {};

// One program walks the table while another appends: every row arrives, in
// order, with no false alarm about the chain; the count follows.
TEST_P(OutroEscritor, LinhasAcrescentadasDuranteAVoltaSaoEntregues) {
    const CasoEscritor caso = GetParam();
    PastaTemporaria pasta;
    const std::string caminho = CriarComLinhas(pasta, caso.antes);

    TTable leitor(caminho);
    leitor.Open();
    std::vector<std::string> lidas;
    leitor.First();
    for (int i = 0; i < caso.lidasAntes && !leitor.Eof(); ++i, leitor.Next())
        lidas.push_back(leitor.FieldByName("Nome").AsString());

    TTable escritor(caminho);
    escritor.Open();
    Acrescentar(escritor, caso.antes, caso.antes + caso.acrescidas);

    EXPECT_EQ(leitor.RecordCount(), static_cast<std::uint32_t>(caso.antes + caso.acrescidas));
    for (; !leitor.Eof(); leitor.Next()) lidas.push_back(leitor.FieldByName("Nome").AsString());
    // A reader already past the end stays there, as data sets do, until it goes back to the first row.
    const bool noFim = caso.lidasAntes >= caso.antes;
    EXPECT_EQ(lidas, Nomes(0, noFim ? caso.antes : caso.antes + caso.acrescidas));

    // From the start again, and after yet more rows.
    Acrescentar(escritor, caso.antes + caso.acrescidas, caso.antes + caso.acrescidas + 3);
    lidas.clear();
    for (leitor.First(); !leitor.Eof(); leitor.Next()) lidas.push_back(leitor.FieldByName("Nome").AsString());
    EXPECT_EQ(lidas, Nomes(0, caso.antes + caso.acrescidas + 3));
}

INSTANTIATE_TEST_SUITE_P(
    Casos, OutroEscritor,
    ::testing::Values(CasoEscritor{"PequenaNoMeio", 9, 4, 6}, CasoEscritor{"PequenaNaUltima", 9, 8, 6},
                      CasoEscritor{"PequenaDepoisDoFim", 9, 20, 6}, CasoEscritor{"VaziaNoInicio", 0, 0, 5},
                      CasoEscritor{"GrandeNoMeio", 200, 100, 220}, CasoEscritor{"GrandeNaUltima", 200, 199, 220},
                      CasoEscritor{"GrandeDepoisDoFim", 200, 300, 220}),
    [](const auto& info) { return std::string(info.param.nome); });

#ifndef _WIN32
// The same with the table tool as the other program, in a process of its own.
TEST(OutroEscritor, FerramentaAcrescentaDuranteAVolta) {
    PastaTemporaria pasta;
    const std::string caminho = CriarComLinhas(pasta, 200);
    TTable leitor(caminho);
    leitor.Open();
    std::vector<std::string> lidas;
    for (int i = 0; i < 150; ++i, leitor.Next()) lidas.push_back(leitor.FieldByName("Nome").AsString());

    const std::string entrada = pasta / "linhas.tsv";
    {
        std::vector<std::uint8_t> linhas;
        for (int i = 200; i < 420; ++i) {
            const std::string linha = Nome(i) + "\t" + std::string(200, 'r') + "\n";
            linhas.insert(linhas.end(), linha.begin(), linha.end());
        }
        teste::GravarArquivo(entrada, linhas);
    }
    ASSERT_EQ(teste::ExecutarComEntrada(ROTULOS_FERRAMENTA, {"inserir", caminho}, entrada), 0);

    for (; !leitor.Eof(); leitor.Next()) lidas.push_back(leitor.FieldByName("Nome").AsString());
    EXPECT_EQ(lidas, Nomes(0, 420));
    EXPECT_EQ(leitor.RecordCount(), 420u);
}
#endif

struct CasoDesacordo {
    const char* nome;
    std::uint32_t contagemNoCabecalho;
};

class CabecalhoEmDesacordo : public ::testing::TestWithParam<CasoDesacordo> {};

// A header that counts more or fewer rows than its blocks hold is read from the
// chain, never refused; our next write to it sets the count right for pxlib.
TEST_P(CabecalhoEmDesacordo, LidaPelaCadeiaECorrigidaNaProximaGravacao) {
    PastaTemporaria pasta;
    const std::string caminho = teste::CopiarAmostra(pasta, "listitem-422-rows.db");
    auto bytes = LerArquivo(caminho);
    GravarU32(&bytes[0x06], GetParam().contagemNoCabecalho);
    teste::GravarArquivo(caminho, bytes);

    TTable t(caminho);
    t.Open();
    EXPECT_EQ(t.RecordCount(), 422u);
    std::vector<std::string> itens;
    for (t.First(); !t.Eof(); t.Next()) itens.push_back(t.FieldByName("Item").AsString());
    ASSERT_EQ(itens.size(), 422u);

    // A keyed table takes edits outside its key.
    t.Edit();
    t.FieldByName("Item").SetAsString("Editado");
    t.Post();
    t.Close();
    itens.back() = "Editado";
    EXPECT_EQ(LeitorBytes(LerArquivo(caminho), "t").U32(0x06), 422u);
#if ROTULOS_COM_PXLIB
    const auto px = teste::LerComPxlib(caminho);
    ASSERT_EQ(px.registros, 422);
    for (std::size_t i = 0; i < itens.size(); ++i) EXPECT_EQ(px.linhas[i][2].texto, itens[i]) << i;
#endif
}

INSTANTIATE_TEST_SUITE_P(Casos, CabecalhoEmDesacordo,
                         ::testing::Values(CasoDesacordo{"UmAMenos", 421}, CasoDesacordo{"UmAMais", 423},
                                           CasoDesacordo{"Zero", 0}, CasoDesacordo{"MuitoMais", 100000}),
                         [](const auto& info) { return std::string(info.param.nome); });

// An appended row also sets a wrong count right, and lands after the rows the chain has.
TEST(CabecalhoEmDesacordo, LinhaAcrescentadaCorrigeAContagem) {
    PastaTemporaria pasta;
    const std::string caminho = CriarComLinhas(pasta, 9);
    auto bytes = LerArquivo(caminho);
    GravarU32(&bytes[0x06], 7);
    GravarU16(&bytes[0x10], 2);  // the last block as well: the chain goes on to block 3
    teste::GravarArquivo(caminho, bytes);
    TTable t(caminho);
    t.Open();
    EXPECT_EQ(t.RecordCount(), 9u);
    Acrescentar(t, 9, 10);
    t.Close();
    const auto depois = LerArquivo(caminho);
    EXPECT_EQ(LeitorBytes(depois, "t").U32(0x06), 10u);
    EXPECT_EQ(LeitorBytes(depois, "t").U16(0x10), 3u);
#if ROTULOS_COM_PXLIB
    const auto px = teste::LerComPxlib(caminho);
    ASSERT_EQ(px.registros, 10);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(px.linhas[static_cast<std::size_t>(i)][0].texto, Nome(i));
#endif
}

// A free list that leads into the chain, as an interrupted writer may leave
// it, is not used: taking that block would write over rows.
TEST(ListaLivre, QueApontaParaACadeiaNaoEUsada) {
    PastaTemporaria pasta;
    const std::string caminho = CriarComLinhas(pasta, 8);  // blocks 1 and 2, both full
    auto bytes = LerArquivo(caminho);
    GravarU16(&bytes[0x4D], 2);
    teste::GravarArquivo(caminho, bytes);
    TTable t(caminho);
    t.Open();
    Acrescentar(t, 8, 9);
    t.Close();
    const auto depois = LerArquivo(caminho);
    const LeitorBytes r(depois, "t");
    EXPECT_EQ(r.U16(0x4D), 0);
    EXPECT_EQ(r.U16(0x10), 3);
    TTable leitura(caminho);
    leitura.Open();
    std::vector<std::string> lidas;
    for (; !leitura.Eof(); leitura.Next()) lidas.push_back(leitura.FieldByName("Nome").AsString());
    EXPECT_EQ(lidas, Nomes(0, 9));
}

// A structure changed under an open table is not read as rows of the old one.
TEST(OutroEscritor, EstruturaMudadaEnquantoAbertaERecusada) {
    PastaTemporaria pasta;
    const std::string caminho = CriarComLinhas(pasta, 3);
    TTable t(caminho);
    t.Open();
    auto bytes = LerArquivo(caminho);
    bytes[0x79] = 200;  // the first column's width
    GravarU16(&bytes[0x00], 450);
    teste::GravarArquivo(caminho, bytes);
    try {
        t.First();
        FAIL() << "leu a tabela reestruturada";
    } catch (const Erro& e) {
        EXPECT_NE(std::string(e.what()).find("estrutura"), std::string::npos) << e.what();
    }
}

}  // namespace
}  // namespace rotulos
