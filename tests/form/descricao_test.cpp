// The form's description, the one place positions and captions are written:
// the layout rule of the size choice, the tab order, and controls that fit
// where they are put.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "DescricaoJanela.h"

namespace rotulos::form {
namespace {

TEST(Descricao, ItensDoTamanhoLadoALadoAbaixoDoTitulo) {
    const auto& grupo = Controle("RadioGroup1");
    const auto itens = PosicoesDosItens(grupo, Formulario().alturaTexto);
    EXPECT_EQ(itens, (std::vector<Retangulo>{{8, 14, 110, 22}, {118, 14, 110, 22}}));
}

struct CasoItens {
    int colunas;
    int quantos;
    std::vector<Retangulo> esperado;
};

class ItensDeUmGrupo : public ::testing::TestWithParam<CasoItens> {};

// Columns fill top to bottom; the rows share what the caption leaves.
TEST_P(ItensDeUmGrupo, RepartemLarguraEAltura) {
    DescricaoControle grupo{"G", TipoControle::GrupoDeOpcoes, "", {0, 0, 210, 70}, "", 0};
    grupo.itens = {"a", GetParam().quantos > 1 ? "b" : ""};
    grupo.colunas = GetParam().colunas;
    EXPECT_EQ(PosicoesDosItens(grupo, 13), GetParam().esperado);
}

INSTANTIATE_TEST_SUITE_P(Arranjos, ItensDeUmGrupo,
                         ::testing::Values(CasoItens{1, 2, {{8, 14, 200, 26}, {8, 40, 200, 26}}},
                                           CasoItens{2, 2, {{8, 14, 100, 52}, {108, 14, 100, 52}}},
                                           CasoItens{2, 1, {{8, 14, 100, 52}}}, CasoItens{0, 1, {{8, 14, 200, 52}}}));

TEST(Descricao, OrdemDeTabulacaoComoOFormulario) {
    std::vector<std::string> janela, grupo;
    for (const auto* c : OrdemDeTabulacao("")) janela.emplace_back(c->nome);
    for (const auto* c : OrdemDeTabulacao("GroupBox1")) grupo.emplace_back(c->nome);
    EXPECT_EQ(janela, (std::vector<std::string>{"Button1", "Button2", "GroupBox1", "RadioGroup1"}));
    EXPECT_EQ(grupo, (std::vector<std::string>{"DBEdit10", "DBEdit11", "DBEdit12", "DBEdit13", "DBEdit1"}));
}

// Names are unique, parents exist, and every control lies inside its parent.
TEST(Descricao, CadaControleCabeNoSeuPai) {
    const auto& janela = Formulario();
    std::set<std::string_view> nomes;
    for (const auto& c : janela.controles) {
        EXPECT_TRUE(nomes.insert(c.nome).second) << c.nome;
        int largura = janela.larguraCliente, altura = janela.alturaCliente;
        if (!c.pai.empty()) {
            const auto& pai = Controle(c.pai);
            largura = pai.posicao.width;
            altura = pai.posicao.height;
        }
        EXPECT_GE(c.posicao.left, 0) << c.nome;
        EXPECT_GE(c.posicao.top, 0) << c.nome;
        EXPECT_LE(c.posicao.left + c.posicao.width, largura) << c.nome;
        EXPECT_LE(c.posicao.top + c.posicao.height, altura) << c.nome;
    }
    EXPECT_THROW(Controle("Button3"), std::out_of_range);
}

// The progress label sits where nothing else does.
TEST(Descricao, AndamentoNaoCobreOutroControle) {
    const auto& andamento = Controle("Label22").posicao;
    for (const auto& c : Formulario().controles) {
        if (c.nome == "Label22" || !c.pai.empty()) continue;
        const auto& r = c.posicao;
        const bool separados = andamento.left + andamento.width <= r.left || r.left + r.width <= andamento.left ||
                               andamento.top + andamento.height <= r.top || r.top + r.height <= andamento.top;
        EXPECT_TRUE(separados) << c.nome;
    }
}

}  // namespace
}  // namespace rotulos::form
