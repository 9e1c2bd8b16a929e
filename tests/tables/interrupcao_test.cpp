// A writer stopped between any two of its writes, killed or refused by a full
// disk, leaves a table that lists with the old rows or the new ones, takes the
// next row, and then reads as pxlib reads it.

#include <gtest/gtest.h>

#include <functional>
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
#include "platform/Plataforma.h"

namespace rotulos {
namespace {

using teste::LerArquivo;
using teste::PastaTemporaria;
using Linhas = std::vector<std::string>;

constexpr const char* kColunas = "Nome:A250,Resto:A250";  // four rows to a 2 KiB block
constexpr int kMorto = 137;

Linhas Listar(const std::string& caminho) {
    TTable t(caminho);
    t.Open();
    Linhas nomes;
    for (t.First(); !t.Eof(); t.Next()) nomes.push_back(t.FieldByName("Nome").AsString());
    EXPECT_EQ(t.RecordCount(), nomes.size());
    return nomes;
}

void Anexar(const std::string& caminho, const std::string& nome) {
    TTable t(caminho);
    t.Open();
    t.Insert();
    t.FieldByName("Nome").SetAsString(nome);
    t.Post();
}

struct Base {
    const char* nome;
    int linhas;
    bool blocoLivre;  // a free block after the chain, on the free list
};

std::string CriarBase(const PastaTemporaria& pasta, const Base& base) {
    const std::string caminho = pasta / "base.db";
    paradox::CriarTabela(caminho, paradox::LerDefinicaoColunas(kColunas));
    for (int i = 0; i < base.linhas; ++i) Anexar(caminho, "linha " + std::to_string(i));
    if (base.blocoLivre) {
        auto bytes = LerArquivo(caminho);
        const std::uint16_t blocos = LeitorBytes(bytes, "base").U16(0x0C);
        bytes.resize(bytes.size() + 2048, 0);
        GravarU16(&bytes[0x0C], static_cast<std::uint16_t>(blocos + 1));
        GravarU16(&bytes[0x4D], static_cast<std::uint16_t>(blocos + 1));
        teste::GravarArquivo(caminho, bytes);
    }
    return caminho;
}

struct Operacao {
    const char* nome;
    // The rows after the operation, from the rows before it.
    std::function<Linhas(Linhas)> depois;
};

const Operacao kAnexar{"anexar", [](Linhas l) {
                           l.push_back("nova");
                           return l;
                       }};
const Operacao kEditar{"editar", [](Linhas l) {
                           if (!l.empty()) l[0] = "editada";
                           return l;
                       }};
const Operacao kEsvaziar{"esvaziar", [](Linhas) { return Linhas{}; }};

struct Caso {
    Base base;
    const Operacao* operacao;
};

std::string NomeDoCaso(const ::testing::TestParamInfo<Caso>& info) {
    return std::string(info.param.operacao->nome) + "_" + info.param.base.nome;
}

// After a stop: old or new rows; the next row goes in after them; pxlib agrees.
void ConferirDepoisDaParada(const std::string& caminho, const Linhas& antes, const Linhas& depois) {
    const Linhas achadas = Listar(caminho);
    EXPECT_TRUE(achadas == antes || achadas == depois) << "linhas: " << achadas.size();
#if ROTULOS_COM_PXLIB
    const auto px = teste::LerComPxlib(caminho);
    Linhas doPxlib;
    for (const auto& linha : px.linhas) doPxlib.push_back(linha[0].texto);
    EXPECT_TRUE(doPxlib == antes || doPxlib == depois) << "pxlib leu " << doPxlib.size() << " linhas";
#endif
    Anexar(caminho, "seguinte");
    Linhas esperadas = achadas;
    esperadas.push_back("seguinte");
    EXPECT_EQ(Listar(caminho), esperadas);
#if ROTULOS_COM_PXLIB
    Linhas final;
    for (const auto& linha : teste::LerComPxlib(caminho).linhas) final.push_back(linha[0].texto);
    EXPECT_EQ(final, esperadas);
#endif
}

// The table before the operation, the rows before and after it, and where
// each attempt starts again from the table as it was.
class Interrupcao : public ::testing::TestWithParam<Caso> {
protected:
    const Caso caso = GetParam();
    PastaTemporaria pasta;
    const std::string base = CriarBase(pasta, caso.base);
    const Linhas antes = Listar(base);
    const Linhas depois = caso.operacao->depois(antes);
    const std::vector<std::uint8_t> original = LerArquivo(base);
    const std::string caminho = pasta / "TMP239.DB";
};

// The operation in a process of its own, killed before its first change, then
// before its second, and so on until it runs to the end.
TEST_P(Interrupcao, ProcessoMortoEntreDuasGravacoes) {
    int parada = 1;
    for (;; ++parada) {
        SCOPED_TRACE("morto antes da alteração " + std::to_string(parada));
        ASSERT_LT(parada, 20) << "a operação não terminou";
        teste::GravarArquivo(caminho, original);
        const int status =
            teste::Executar(ROTULOS_INTERROMPIDA, {caso.operacao->nome, caminho, std::to_string(parada)});
        if (status == 0) break;
        ASSERT_EQ(status, kMorto);
        ConferirDepoisDaParada(caminho, antes, depois);
    }
    EXPECT_GT(parada, 2) << "a operação deveria gravar mais de uma vez";
    EXPECT_EQ(Listar(caminho), depois);
}

// A write refused on the way (a disk that fills): the error reaches the
// caller, the table is as a stop there leaves it, and the same table object
// goes on working once the disk has room.
TEST_P(Interrupcao, GravacaoRecusadaNoMeio) {
    auto& gancho = plataforma::AntesDeAlterarArquivo();

    for (int recusada = 1;; ++recusada) {
        SCOPED_TRACE("recusada a alteração " + std::to_string(recusada));
        ASSERT_LT(recusada, 20);
        teste::GravarArquivo(caminho, original);
        TTable t(caminho);
        if (caso.operacao != &kEsvaziar) t.Open();
        int alteracoes = 0;
        gancho = [&] {
            if (++alteracoes == recusada) throw Erro("Não foi possível gravar: não há espaço livre no dispositivo.");
        };
        bool terminou = true;
        try {
            if (caso.operacao == &kEsvaziar) {
                t.EmptyTable();
            } else {
                if (caso.operacao == &kAnexar)
                    t.Insert();
                else
                    t.Edit();
                t.FieldByName("Nome").SetAsString(caso.operacao == &kAnexar ? "nova" : "editada");
                t.Post();
            }
        } catch (const Erro& e) {
            terminou = false;
            EXPECT_NE(std::string(e.what()).find("espaço"), std::string::npos);
        }
        gancho = nullptr;
        if (terminou) break;
        if (t.Active()) {
            // Still in edit, with what was typed; the count is what the file holds.
            EXPECT_NE(t.State(), TDataSetState::dsBrowse);
            t.Cancel();
            EXPECT_EQ(t.RecordCount(), Listar(caminho).size());
            t.Close();
        }
        ConferirDepoisDaParada(caminho, antes, depois);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Casos, Interrupcao,
    ::testing::Values(Caso{{"TabelaVazia", 0, false}, &kAnexar}, Caso{{"BlocoComEspaco", 5, false}, &kAnexar},
                      Caso{{"BlocoNovoNoFim", 8, false}, &kAnexar}, Caso{{"BlocoDaListaLivre", 8, true}, &kAnexar},
                      Caso{{"VariosBlocos", 30, false}, &kAnexar}, Caso{{"Linhas", 5, false}, &kEditar},
                      Caso{{"VariosBlocos", 30, true}, &kEsvaziar}),
    NomeDoCaso);

}  // namespace
}  // namespace rotulos
