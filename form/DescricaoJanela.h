#pragma once

// The window as its form file describes it, written once: each control's
// kind, parent, position, size, caption or column, and tab order. The shells
// build their native controls from it; tests and the end-to-end scripts take
// positions from it. Positions are pixels at 96 dpi, relative to the parent's
// client area; texts are UTF-8.

#include <array>
#include <span>
#include <string_view>
#include <vector>

namespace rotulos::form {

enum class TipoControle { Botao, Grupo, Rotulo, Edicao, GrupoDeOpcoes };

struct Retangulo {
    int left;
    int top;
    int width;
    int height;

    bool operator==(const Retangulo&) const = default;
};

struct DescricaoControle {
    std::string_view nome;
    TipoControle tipo;
    std::string_view pai;  // empty: the window itself
    Retangulo posicao;
    std::string_view texto;  // the caption; for an edit box, the column it shows
    int ordemTab;            // among the controls of the same parent; -1 when not a tab stop
    bool visivel = true;
    std::array<std::string_view, 2> itens{};  // a group of options: its items,
    int colunas = 0;                          // laid out in this many columns
};

struct DescricaoJanela {
    std::string_view nome;
    std::string_view titulo;
    int left;  // the outer frame, on the screen
    int top;
    int larguraCliente;  // 432 × 253: the form's outer 440 × 280 less the classic frame
    int alturaCliente;
    std::string_view fonte;
    int alturaFonte;  // pixels (Font.Height -11)
    int alturaTexto;  // one line of that font (TextHeight)
    std::span<const DescricaoControle> controles;
};

const DescricaoJanela& Formulario();

// The control of that name; throws std::out_of_range for a name the form lacks.
const DescricaoControle& Controle(std::string_view nome);

// Where a group of options puts its items: columns share the width, rows share
// the height below the caption, as the form's radio groups arrange them.
std::vector<Retangulo> PosicoesDosItens(const DescricaoControle& grupo, int alturaTexto);

// The controls of one parent ("" for the window) in tab order.
std::vector<const DescricaoControle*> OrdemDeTabulacao(std::string_view pai);

}  // namespace rotulos::form
