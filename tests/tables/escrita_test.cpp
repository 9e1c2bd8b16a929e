// Writing: tables we create, append to, edit and empty stay sound for pxlib
// and change no byte beyond what each operation needs.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#if ROTULOS_COM_PXLIB
#include "../support/Pxlib.h"
#endif
#include "../support/Temporario.h"
#include "Bytes.h"
#include "Erro.h"
#include "ParadoxCriar.h"
#include "TTable.h"

namespace rotulos {
namespace {

using teste::LerArquivo;
using teste::PastaTemporaria;

constexpr const char* kColunas = "Nome:A60,Quantidade:I,Peso:N,Data:D,Ok:L,Obs:A120";

std::string CriarComLinhas(const PastaTemporaria& pasta, int linhas) {
    const std::string caminho = pasta / "TESTE.DB";
    paradox::CriarTabela(caminho, paradox::LerDefinicaoColunas(kColunas));
    TTable t(caminho);
    t.Open();
    for (int i = 1; i <= linhas; ++i) {
        t.Insert();
        t.FieldByName("Nome").SetAsString("Produto " + std::to_string(i));
        t.FieldByName("Quantidade").SetAsString(std::to_string(i * 10));
        t.FieldByName("Peso").SetAsString(std::to_string(i) + ",5");
        t.FieldByName("Data").SetAsString("2024-03-05");
        t.FieldByName("Ok").SetAsString(i % 2 ? "true" : "false");
        t.Post();
    }
    return caminho;
}

std::uint16_t U16(const std::vector<std::uint8_t>& b, std::size_t p) { return LeitorBytes(b, "teste").U16(p); }

// Offsets where two files differ, as [first, last] byte ranges.
std::vector<std::size_t> Diferencas(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
    std::vector<std::size_t> d;
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
        if (a[i] != b[i]) d.push_back(i);
    }
    return d;
}

TEST(CriarTabela, PxlibLeATabelaNovaEVazia) {
    PastaTemporaria pasta;
    const std::string caminho = CriarComLinhas(pasta, 0);
    EXPECT_EQ(std::filesystem::file_size(caminho), 2048u);
#if ROTULOS_COM_PXLIB
    const auto px = teste::LerComPxlib(caminho);
    EXPECT_EQ(px.registros, 0);
    EXPECT_EQ(px.nomes, (std::vector<std::string>{"Nome", "Quantidade", "Peso", "Data", "Ok", "Obs"}));
    EXPECT_EQ(px.tipos, (std::vector<int>{pxfAlpha, pxfLong, pxfNumber, pxfDate, pxfLogical, pxfAlpha}));
#endif
}

TEST(CriarTabela, RecusaArquivoExistenteEDefinicaoInvalida) {
    PastaTemporaria pasta;
    const std::string caminho = CriarComLinhas(pasta, 1);
    const auto antes = LerArquivo(caminho);
    EXPECT_THROW(paradox::CriarTabela(caminho, paradox::LerDefinicaoColunas("A:A1")), Erro);
    EXPECT_EQ(LerArquivo(caminho), antes);
    for (const char* ruim : {"", "Nome", "Nome:A0", "Nome:A256", "Nome:Q", "Nome:N5", "A:A1,a:A2", "Nome:#33"})
        EXPECT_THROW(paradox::LerDefinicaoColunas(ruim), Erro) << ruim;
}

TEST(Anexar, LinhasEmVariosBlocosLidasPeloPxlib) {
    PastaTemporaria pasta;
    // 197-byte records: ten to a 2 KiB block, so 25 rows take three blocks.
    const std::string caminho = CriarComLinhas(pasta, 25);
    const auto bytes = LerArquivo(caminho);
    EXPECT_EQ(U16(bytes, 0x0A), 3);  // blocks in use
    EXPECT_EQ(U16(bytes, 0x0C), 3);  // blocks in the file
    EXPECT_EQ(U16(bytes, 0x0E), 1);
    EXPECT_EQ(U16(bytes, 0x10), 3);
    EXPECT_EQ(bytes.size(), 2048u + 3 * 2048u);

#if ROTULOS_COM_PXLIB
    const auto px = teste::LerComPxlib(caminho);
    ASSERT_EQ(px.registros, 25);
    ASSERT_EQ(px.linhas.size(), 25u);
    for (int i = 0; i < 25; ++i) {
        const auto& linha = px.linhas[static_cast<std::size_t>(i)];
        EXPECT_EQ(linha[0].texto, "Produto " + std::to_string(i + 1));
        EXPECT_EQ(linha[1].inteiro, (i + 1) * 10);
        EXPECT_DOUBLE_EQ(linha[2].real, i + 1.5);
        EXPECT_EQ(linha[3].inteiro, NumeroDoDia({2024, 3, 5}));
        EXPECT_EQ(linha[4].inteiro, (i + 1) % 2);
        EXPECT_TRUE(linha[5].nulo);
    }
#endif

    TTable t(caminho);
    t.Open();
    int n = 0;
    for (t.First(); !t.Eof(); t.Next()) ++n;
    EXPECT_EQ(n, 25);
}

TEST(Anexar, NovaLinhaFicaCorrenteEAfterPostRodaUmaVez) {
    PastaTemporaria pasta;
    const std::string caminho = CriarComLinhas(pasta, 3);
    TTable t(caminho);
    int posts = 0;
    t.AfterPost = [&](TTable&) { ++posts; };
    t.Open();
    t.Insert();
    t.FieldByName("Nome").SetAsString("Novo");
    t.Post();
    EXPECT_EQ(posts, 1);
    EXPECT_EQ(t.State(), TDataSetState::dsBrowse);
    EXPECT_EQ(t.FieldByName("Nome").AsString(), "Novo");
    EXPECT_EQ(t.RecordCount(), 4u);
    t.Next();
    EXPECT_TRUE(t.Eof());
}

TEST(Anexar, UsaOBlocoDaListaLivre) {
    PastaTemporaria pasta;
    const std::string caminho = CriarComLinhas(pasta, 10);  // block 1 full
    {
        // Put a free block 2 on the free list, as a table that lost rows has.
        auto bytes = LerArquivo(caminho);
        bytes.resize(2048 + 2 * 2048, 0);
        GravarU16(&bytes[0x0C], 2);
        GravarU16(&bytes[0x4D], 2);
        teste::GravarArquivo(caminho, bytes);
    }
    TTable t(caminho);
    t.Open();
    t.Insert();
    t.FieldByName("Nome").SetAsString("Do bloco livre");
    t.Post();
    t.Close();
    const auto bytes = LerArquivo(caminho);
    EXPECT_EQ(U16(bytes, 0x4D), 0);
    EXPECT_EQ(U16(bytes, 0x0C), 2);
    EXPECT_EQ(U16(bytes, 0x0A), 2);
    EXPECT_EQ(U16(bytes, 0x10), 2);
    EXPECT_EQ(bytes.size(), 2048u + 2 * 2048u);
#if ROTULOS_COM_PXLIB
    const auto px = teste::LerComPxlib(caminho);
    ASSERT_EQ(px.linhas.size(), 11u);
    EXPECT_EQ(px.linhas[10][0].texto, "Do bloco livre");
#endif
}

TEST(Anexar, OcupaOBlocoVazioDeixadoNaCadeia) {
    PastaTemporaria pasta;
    const std::string caminho = CriarComLinhas(pasta, 1);
    {
        // The BDE leaves an emptied block in the chain with add-data-size = -record size.
        auto bytes = LerArquivo(caminho);
        GravarU16(&bytes[2048 + 4], static_cast<std::uint16_t>(-static_cast<int>(U16(bytes, 0))));
        GravarU32(&bytes[0x06], 0);
        teste::GravarArquivo(caminho, bytes);
    }
    TTable t(caminho);
    t.Open();
    EXPECT_EQ(t.RecordCount(), 0u);
    EXPECT_TRUE(t.Eof());
    t.Insert();
    t.FieldByName("Nome").SetAsString("Reaproveitado");
    t.Post();
    t.Close();
    const auto bytes = LerArquivo(caminho);
    EXPECT_EQ(U16(bytes, 0x0A), 1);
    EXPECT_EQ(bytes.size(), 4096u);
#if ROTULOS_COM_PXLIB
    const auto px = teste::LerComPxlib(caminho);
    ASSERT_EQ(px.linhas.size(), 1u);
    EXPECT_EQ(px.linhas[0][0].texto, "Reaproveitado");
#endif
}

TEST(Editar, GravaSoOsBytesDoRegistro) {
    PastaTemporaria pasta;
    const std::string caminho = CriarComLinhas(pasta, 12);
    const auto antes = LerArquivo(caminho);
    TTable t(caminho);
    t.Open();
    for (int i = 1; i < 12; ++i) t.Next();  // row 12, the second of block 2
    t.Edit();
    t.FieldByName("Obs").SetAsString("alterado");
    t.Post();
    t.Close();
    const auto depois = LerArquivo(caminho);
    ASSERT_EQ(depois.size(), antes.size());
    const std::size_t tamanhoRegistro = U16(antes, 0);
    const std::size_t inicioRegistro = 2048 + 2048 + 6 + 1 * tamanhoRegistro;
    const auto diferencas = Diferencas(antes, depois);
    EXPECT_FALSE(diferencas.empty());
    for (const std::size_t p : diferencas) {
        EXPECT_GE(p, inicioRegistro);
        EXPECT_LT(p, inicioRegistro + tamanhoRegistro);
    }
#if ROTULOS_COM_PXLIB
    const auto px = teste::LerComPxlib(caminho);
    EXPECT_EQ(px.linhas[11][5].texto, "alterado");
    EXPECT_EQ(px.linhas[11][0].texto, "Produto 12");
#endif
}

TEST(Editar, PostRecusadoNaoMudaODiscoEMantemAEdicao) {
    PastaTemporaria pasta;
    const std::string caminho = CriarComLinhas(pasta, 2);
    const auto antes = LerArquivo(caminho);
    TTable t(caminho);
    int posts = 0;
    t.AfterPost = [&](TTable&) { ++posts; };
    t.Open();
    t.Edit();
    t.FieldByName("Obs").SetAsString("curto");
    t.FieldByName("Nome").SetAsString(std::string(61, 'x'));
    EXPECT_THROW(t.Post(), Erro);
    EXPECT_EQ(t.State(), TDataSetState::dsEdit);
    EXPECT_EQ(t.FieldByName("Obs").AsString(), "curto");
    EXPECT_EQ(posts, 0);
    EXPECT_EQ(LerArquivo(caminho), antes);
}

TEST(Editar, TabelaVaziaPassaAInserir) {
    PastaTemporaria pasta;
    const std::string caminho = CriarComLinhas(pasta, 0);
    TTable t(caminho);
    t.Open();
    t.Edit();
    EXPECT_EQ(t.State(), TDataSetState::dsInsert);
}

TEST(Editar, ForaDeEdicaoNaoAlteraCampos) {
    PastaTemporaria pasta;
    TTable t(CriarComLinhas(pasta, 1));
    t.Open();
    EXPECT_THROW(t.FieldByName("Nome").SetAsString("x"), Erro);
    EXPECT_THROW(t.Post(), Erro);
}

TEST(TabelaComChave, RecusaIncluirEMudarAChaveMasEditaOResto) {
    PastaTemporaria pasta;
    const std::string caminho = teste::CopiarAmostra(pasta, "orders-v7-keyed.db");
    TTable t(caminho);
    t.Open();
    t.Insert();
    t.FieldByName("Terms").SetAsString("X");
    EXPECT_THROW(t.Post(), Erro);
    t.Cancel();
    t.First();
    t.Edit();
    t.FieldByName("Order No").SetAsString("99999");
    EXPECT_THROW(t.Post(), Erro);
    t.Cancel();
    t.Edit();
    t.FieldByName("Terms").SetAsString("Net 30");
    t.Post();
    t.Close();
#if ROTULOS_COM_PXLIB
    const auto px = teste::LerComPxlib(caminho);
    EXPECT_EQ(px.linhas[0][8].texto, "Net 30");
    EXPECT_EQ(px.registros, 224);
#endif
}

class Esvaziar : public ::testing::TestWithParam<const char*> {};

// The BDE's own empty tables: header only, counts and chain zeroed, every
// other header byte as it was.
TEST_P(Esvaziar, DeixaSoOCabecalhoComOsOutrosBytesIntactos) {
    PastaTemporaria pasta;
    const std::string caminho = teste::CopiarAmostra(pasta, GetParam());
    const auto antes = LerArquivo(caminho);
    const std::size_t tamanhoCabecalho = U16(antes, 2);

    TTable(caminho).EmptyTable();

    const auto depois = LerArquivo(caminho);
    ASSERT_EQ(depois.size(), tamanhoCabecalho);
    const auto zerado = [](std::size_t p) {
        return (p >= 0x06 && p < 0x12) || p == 0x3A || p == 0x3B || (p >= 0x49 && p < 0x4F);
    };
    for (std::size_t p = 0; p < tamanhoCabecalho; ++p) {
        if (zerado(p))
            EXPECT_EQ(depois[p], 0) << "posição " << p;
        else
            EXPECT_EQ(depois[p], antes[p]) << "posição " << p;
    }
#if ROTULOS_COM_PXLIB
    EXPECT_EQ(teste::LerComPxlib(caminho).registros, 0);
#endif
    TTable t(caminho);
    t.Open();
    EXPECT_EQ(t.RecordCount(), 0u);
    EXPECT_TRUE(t.Eof());
}

INSTANTIATE_TEST_SUITE_P(Amostras, Esvaziar,
                         ::testing::Values("listitem-422-rows.db", "orders-v7-keyed.db", "rental-v3.db",
                                           "tblac-16k-blocks.db", "field-date35.db"),
                         [](const auto& info) {
                             std::string nome = info.param;
                             std::replace_if(
                                 nome.begin(), nome.end(),
                                 [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
                             return nome;
                         });

TEST(EsvaziarTabela, EsvaziaOIndicePrimarioJunto) {
    PastaTemporaria pasta;
    const std::string caminho = teste::CopiarAmostra(pasta, "orders-v7-keyed.db");
    // A primary index beside it: header of 2048 bytes with counts, then index blocks.
    std::vector<std::uint8_t> px(2048 + 3 * 1024, 0x5A);
    std::fill(px.begin(), px.begin() + 2048, 0);
    GravarU16(&px[0x00], 12);
    GravarU16(&px[0x02], 2048);
    px[0x04] = 1;
    px[0x05] = 1;
    GravarU32(&px[0x06], 3);
    GravarU16(&px[0x0A], 3);
    GravarU16(&px[0x0C], 3);
    GravarU16(&px[0x0E], 1);
    GravarU16(&px[0x10], 3);
    GravarU16(&px[0x1E], 2);
    px[0x20] = 1;
    px[0x39] = 0x0C;
    teste::GravarArquivo(pasta / "orders-v7-keyed.px", px);

    TTable(caminho).EmptyTable();

    const auto depois = LerArquivo(pasta / "orders-v7-keyed.px");
    ASSERT_EQ(depois.size(), 2048u);
    for (const std::size_t p : {0x06, 0x0A, 0x0C, 0x0E, 0x10, 0x1E}) EXPECT_EQ(U16(depois, p), 0) << p;
    EXPECT_EQ(depois[0x20], 0);
    EXPECT_EQ(depois[0x04], 1);
    EXPECT_EQ(depois[0x39], 0x0C);
}

TEST(EsvaziarTabela, AbertaVoltaAoFimEAceitaNovasLinhas) {
    PastaTemporaria pasta;
    const std::string caminho = CriarComLinhas(pasta, 25);
    TTable t(caminho);
    t.Open();
    t.EmptyTable();
    EXPECT_EQ(t.RecordCount(), 0u);
    EXPECT_TRUE(t.Eof());
    t.Insert();
    t.FieldByName("Nome").SetAsString("Depois");
    t.Post();
    t.Close();
#if ROTULOS_COM_PXLIB
    const auto px = teste::LerComPxlib(caminho);
    ASSERT_EQ(px.linhas.size(), 1u);
    EXPECT_EQ(px.linhas[0][0].texto, "Depois");
#endif
    EXPECT_EQ(std::filesystem::file_size(caminho), 4096u);
}

TEST(DbiSaveChanges, ExigeTabelaAberta) {
    PastaTemporaria pasta;
    TTable t(CriarComLinhas(pasta, 1));
    EXPECT_THROW(DbiSaveChanges(&t), Erro);
    t.Open();
    EXPECT_NO_THROW(DbiSaveChanges(t.Handle()));
}

}  // namespace
}  // namespace rotulos
