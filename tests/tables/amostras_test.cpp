// Every real table written by Paradox and the BDE reads row for row and value
// for value as pxlib reads it.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "../support/Pxlib.h"
#include "../support/Temporario.h"
#include "Erro.h"
#include "TTable.h"

namespace rotulos {
namespace {

using paradox::TipoCampo;
using teste::Amostra;

std::string NumeroPx(double d) {
    char b[40];
    std::snprintf(b, sizeof b, "%.15G", d);
    std::string s = b;
    for (char& c : s) {
        if (c == '.') c = ',';
    }
    return s;
}

void CompararValor(TField& campo, const teste::ValorPx& px, const std::string& onde) {
    SCOPED_TRACE(onde);
    const TipoCampo tipo = campo.DataType();
    if (paradox::DadosEmArquivoMb(tipo)) {
        if (!px.nulo) {
            EXPECT_THROW(campo.AsString(), Erro);
        }
        return;
    }
    if ((tipo == TipoCampo::Number || tipo == TipoCampo::Currency) && campo.IsNull()) {
        EXPECT_EQ(px.real, 0.0);  // pxlib gives a blank number as 0
        return;
    }
    ASSERT_EQ(campo.IsNull(), px.nulo);
    if (px.nulo) return;
    switch (tipo) {
        case TipoCampo::Alpha: EXPECT_EQ(campo.AsString(), px.texto); break;
        case TipoCampo::Short:
        case TipoCampo::Long:
        case TipoCampo::AutoInc: EXPECT_EQ(campo.AsString(), std::to_string(px.inteiro)); break;
        case TipoCampo::Number:
        case TipoCampo::Currency: EXPECT_EQ(campo.AsString(), NumeroPx(px.real)); break;
        case TipoCampo::Logical: EXPECT_EQ(campo.AsString(), px.inteiro ? "true" : "false"); break;
        case TipoCampo::Date: EXPECT_EQ(campo.AsDateTime()->dia, px.inteiro); break;
        case TipoCampo::Time: {
            char b[40];
            const long s = px.inteiro / 1000;
            std::snprintf(b, sizeof b, "%02ld:%02ld:%02ld", s / 3600, s / 60 % 60, s % 60);
            EXPECT_EQ(campo.AsString(), b);
            break;
        }
        case TipoCampo::Timestamp: {
            const TDateTime v = *campo.AsDateTime();
            EXPECT_EQ(static_cast<double>(v.dia * 86'400'000 + v.milissegundos), std::floor(px.real));
            break;
        }
        case TipoCampo::Bcd: {
            // pxlib gives BCD as text with a point.
            EXPECT_EQ(campo.AsString(), NumeroPx(std::stod(px.texto)));
            break;
        }
        default: break;
    }
}

class Amostra_ : public ::testing::TestWithParam<const char*> {};

TEST_P(Amostra_, LeComoOPxlib) {
    const std::string caminho = Amostra(GetParam());
    const teste::TabelaPx px = teste::LerComPxlib(caminho);

    TTable tabela(caminho);
    tabela.Open();
    ASSERT_EQ(tabela.FieldCount(), px.nomes.size());
    for (std::size_t i = 0; i < px.nomes.size(); ++i) {
        EXPECT_EQ(tabela.Fields(i).FieldName(), px.nomes[i]);
        EXPECT_EQ(static_cast<int>(tabela.Fields(i).DataType()), px.tipos[i]);
    }
    ASSERT_EQ(tabela.RecordCount(), static_cast<std::uint32_t>(px.registros));

    std::size_t linha = 0;
    for (tabela.First(); !tabela.Eof(); tabela.Next(), ++linha) {
        ASSERT_LT(linha, px.linhas.size());
        for (std::size_t i = 0; i < tabela.FieldCount(); ++i)
            CompararValor(tabela.Fields(i), px.linhas[linha][i],
                          std::string(GetParam()) + " linha " + std::to_string(linha + 1) + " coluna " + px.nomes[i]);
    }
    EXPECT_EQ(linha, px.linhas.size());
}

INSTANTIATE_TEST_SUITE_P(TabelasReais, Amostra_,
                         ::testing::Values("empty-keyed-header-only.db", "field-bcd.db", "field-date35.db",
                                           "field-date4.db", "field-date5.db", "field-date7.db", "field-logical.db",
                                           "field-long.db", "field-time.db", "field-timestamp.db",
                                           "listitem-422-rows.db", "orders-v7-keyed.db", "patient-dates.db",
                                           "rental-v3.db", "tblac-16k-blocks.db", "zipcodes-43k-rows.db"),
                         [](const auto& info) {
                             std::string nome = info.param;
                             for (char& c : nome) {
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             }
                             return nome;
                         });

// pxlib reads the add-data-size as unsigned and counts the empty block as 546
// rows; the true count, the header's, is 0.
TEST(AmostraComBlocoVazio, NaoTemLinhas) {
    TTable tabela(Amostra("zero-rows-with-empty-block.db"));
    tabela.Open();
    EXPECT_EQ(tabela.RecordCount(), 0u);
    tabela.First();
    EXPECT_TRUE(tabela.Eof());
    EXPECT_EQ(tabela.FieldCount(), 22u);
}

// pxlib cannot open this table at all; its memo columns live in a .MB file that
// is not here, every other column reads.
TEST(AmostraComMemo, LeAsColunasComunsERecusaOMemo) {
    TTable tabela(Amostra("membre-92-fields-cp850.db"));
    tabela.Open();
    EXPECT_EQ(tabela.FieldCount(), 92u);
    ASSERT_GT(tabela.RecordCount(), 0u);
    for (std::size_t i = 0; i < tabela.FieldCount(); ++i) {
        TField& campo = tabela.Fields(i);
        if (paradox::DadosEmArquivoMb(campo.DataType())) {
            if (!campo.IsNull()) {
                EXPECT_THROW(campo.AsString(), Erro) << campo.FieldName();
            }
        } else {
            EXPECT_NO_THROW(campo.AsString()) << campo.FieldName();
        }
    }
    try {
        tabela.FieldByName("Memo").AsString();
        ADD_FAILURE() << "o memo foi lido como texto";
    } catch (const Erro& e) {
        EXPECT_NE(std::string(e.what()).find(".MB"), std::string::npos) << e.what();
    }
    // What the row keeps of the memo, and nothing of the picture.
    EXPECT_EQ(tabela.FieldByName("Memo").InicioDoMemo(), "C");
    EXPECT_EQ(tabela.FieldByName("Photo").InicioDoMemo(), "");
}

}  // namespace
}  // namespace rotulos
