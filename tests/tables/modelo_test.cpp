// Sequences of operations against a plain list: random steps from fixed seeds
// on a table of wide rows that spans many blocks and more than the read cache.
// After every step the current row, the state and the end-of-table flag match
// the list; after every post a fresh reader finds the list in the file; at the
// end pxlib reads the same rows.

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

#if ROTULOS_COM_PXLIB
#include "../support/Pxlib.h"
#endif
#include "../support/Temporario.h"
#include "Erro.h"
#include "ParadoxCriar.h"
#include "TTable.h"

namespace rotulos {
namespace {

// 500-byte records: four to a 2 KiB block, so a few hundred rows fill many
// blocks and the file outgrows the 64 KiB cache.
constexpr const char* kColunas = "Nome:A250,Resto:A250";

// What the table should be, kept as the simplest thing that can say it.
struct Modelo {
    bool ativa = false;
    std::vector<std::string> linhas;
    int atual = -1;  // -1: no current row
    bool eof = true;
    TDataSetState estado = TDataSetState::dsInactive;
    std::optional<std::string> pendente;

    std::string ValorAtual() const {
        if (pendente) return *pendente;
        if (estado == TDataSetState::dsInsert || atual < 0) return {};
        return linhas[static_cast<std::size_t>(atual)];
    }
    void Primeira() {
        atual = linhas.empty() ? -1 : 0;
        eof = linhas.empty();
    }
    void Gravar() {
        if (estado == TDataSetState::dsInsert) {
            linhas.push_back(pendente.value_or(""));
            atual = static_cast<int>(linhas.size()) - 1;
        } else if (pendente) {
            linhas[static_cast<std::size_t>(atual)] = *pendente;
        }
        Desistir();
        eof = false;
    }
    void Desistir() {
        estado = TDataSetState::dsBrowse;
        pendente.reset();
    }
    // Moving away from a row in edit posts what was typed, or cancels.
    void SairDaEdicao() {
        if (estado != TDataSetState::dsEdit && estado != TDataSetState::dsInsert) return;
        if (pendente)
            Gravar();
        else
            Desistir();
    }
};

std::string Resto(const std::string& nome) { return nome.empty() ? std::string() : "r:" + nome; }

std::vector<std::string> LinhasNoArquivo(const std::string& caminho) {
    TTable t(caminho);
    t.Open();
    std::vector<std::string> linhas;
    for (t.First(); !t.Eof(); t.Next()) {
        linhas.push_back(t.FieldByName("Nome").AsString());
        EXPECT_EQ(t.FieldByName("Resto").AsString(), Resto(linhas.back()));
    }
    EXPECT_EQ(t.RecordCount(), linhas.size());
    return linhas;
}

class Sequencias : public ::testing::TestWithParam<unsigned> {};

TEST_P(Sequencias, TabelaSegueAListaPassoAPasso) {
    teste::PastaTemporaria pasta;
    const std::string caminho = pasta / "MODELO.DB";
    paradox::CriarTabela(caminho, paradox::LerDefinicaoColunas(kColunas));
    TTable t(caminho);
    Modelo m;
    std::mt19937 aleatorio(GetParam());
    const auto sorteio = [&](int n) { return static_cast<int>(aleatorio() % static_cast<unsigned>(n)); };
    const auto Digitar = [&](const std::string& valor) {
        t.FieldByName("Nome").SetAsString(valor);
        t.FieldByName("Resto").SetAsString(Resto(valor));
        m.pendente = valor;
    };

    for (int passo = 0; passo < 800; ++passo) {
        const int op = sorteio(1000);
        std::string descricao;
        if (!m.ativa) {
            if (op < 900) {
                descricao = "Open";
                t.Open();
                m.ativa = true;
                m.estado = TDataSetState::dsBrowse;
                m.Primeira();
            } else if (op < 910) {
                descricao = "EmptyTable (fechada)";
                t.EmptyTable();
                m.linhas.clear();
            } else {
                descricao = "Next (fechada)";
                EXPECT_THROW(t.Next(), Erro);
            }
        } else if (op < 220) {
            descricao = "Insert";
            t.Insert();
            m.SairDaEdicao();
            m.estado = TDataSetState::dsInsert;
            // Mostly followed by typing, as a new row usually is.
            if (sorteio(10) < 8) Digitar("v" + std::to_string(passo));
        } else if (op < 320) {
            descricao = "Edit";
            t.Edit();
            if (m.estado == TDataSetState::dsBrowse) {
                if (m.atual < 0) {
                    m.estado = TDataSetState::dsInsert;
                } else {
                    m.estado = TDataSetState::dsEdit;
                }
            }
        } else if (op < 470) {
            if (m.estado == TDataSetState::dsBrowse) {
                descricao = "SetAsString (sem edição)";
                EXPECT_THROW(t.FieldByName("Nome").SetAsString("x"), Erro);
            } else {
                // Short and long values, some with the code page's upper half.
                std::string valor = "v" + std::to_string(passo);
                if (sorteio(3) == 0) valor += std::string(static_cast<std::size_t>(sorteio(240)), "a\xE9z"[sorteio(3)]);
                descricao = "SetAsString " + valor.substr(0, 20);
                Digitar(valor);
            }
        } else if (op < 690) {
            descricao = "Post";
            if (m.estado == TDataSetState::dsBrowse) {
                EXPECT_THROW(t.Post(), Erro);
            } else {
                // A new row posted untouched is blank in both columns.
                if (!m.pendente && m.estado == TDataSetState::dsInsert) t.FieldByName("Resto").SetAsString("");
                t.Post();
                m.Gravar();
                ASSERT_EQ(LinhasNoArquivo(caminho), m.linhas) << "passo " << passo;
            }
        } else if (op < 720) {
            descricao = "Cancel";
            t.Cancel();
            if (m.estado != TDataSetState::dsBrowse) m.Desistir();
        } else if (op < 780) {
            descricao = "First";
            t.First();
            m.SairDaEdicao();
            m.Primeira();
        } else if (op < 960) {
            descricao = "Next";
            t.Next();
            m.SairDaEdicao();
            if (!m.eof) {
                if (m.atual + 1 < static_cast<int>(m.linhas.size()))
                    ++m.atual;
                else
                    m.eof = true;
            }
        } else if (op < 990) {
            descricao = "RecordCount";
            EXPECT_EQ(t.RecordCount(), m.linhas.size()) << "passo " << passo;
        } else if (op < 999) {
            descricao = "Close";
            t.Close();
            Modelo fechada;
            fechada.linhas = std::move(m.linhas);
            m = std::move(fechada);
        } else {
            descricao = "EmptyTable";
            t.EmptyTable();
            m.Desistir();
            m.linhas.clear();
            m.Primeira();
        }

        SCOPED_TRACE("passo " + std::to_string(passo) + ": " + descricao);
        ASSERT_EQ(t.Active(), m.ativa);
        if (!m.ativa) continue;
        ASSERT_EQ(t.State(), m.estado);
        ASSERT_EQ(t.Eof(), m.eof);
        ASSERT_EQ(t.FieldByName("Nome").AsString(), m.ValorAtual());
    }

    t.Close();
    EXPECT_EQ(LinhasNoArquivo(caminho), m.linhas);
#if ROTULOS_COM_PXLIB
    const auto px = teste::LerComPxlib(caminho);
    ASSERT_EQ(px.registros, static_cast<int>(m.linhas.size()));
    ASSERT_EQ(px.linhas.size(), m.linhas.size());
    for (std::size_t i = 0; i < m.linhas.size(); ++i) {
        EXPECT_EQ(px.linhas[i][0].texto, m.linhas[i]) << "linha " << i;
        EXPECT_EQ(px.linhas[i][1].texto, Resto(m.linhas[i])) << "linha " << i;
    }
#endif
}

INSTANTIATE_TEST_SUITE_P(Sementes, Sequencias, ::testing::Values(1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u));

// The sequence a review found: the second post wrote over the first row.
TEST(Sequencias, EditarDepoisDeIncluirAlteraALinhaIncluida) {
    teste::PastaTemporaria pasta;
    const std::string caminho = pasta / "T.DB";
    paradox::CriarTabela(caminho, paradox::LerDefinicaoColunas(kColunas));
    TTable t(caminho);
    t.Open();
    for (const char* valor : {"um", "dois"}) {
        t.Insert();
        t.FieldByName("Nome").SetAsString(valor);
        t.FieldByName("Resto").SetAsString(Resto(valor));
        t.Post();
    }
    t.Edit();
    t.FieldByName("Nome").SetAsString("DOIS");
    t.FieldByName("Resto").SetAsString(Resto("DOIS"));
    t.Post();
    t.Close();
    EXPECT_EQ(LinhasNoArquivo(caminho), (std::vector<std::string>{"um", "DOIS"}));
}

}  // namespace
}  // namespace rotulos
