// Where an operator clicks on the window, for the scripts that drive it (the
// demo, the end-to-end tests): one line per control, "NOME X Y", the centre of
// the control in the window's client area at 96 dpi, taken from the form's
// description; the items of a group of options as NOME.N.

#include <iostream>
#include <string>

#include "DescricaoJanela.h"

using namespace rotulos::form;

namespace {

// A control's corner in the window's client area: its parents' corners added up.
Retangulo NaJanela(const DescricaoControle& controle) {
    Retangulo r = controle.posicao;
    for (std::string_view pai = controle.pai; !pai.empty();) {
        const DescricaoControle& dono = Controle(pai);
        r.left += dono.posicao.left;
        r.top += dono.posicao.top;
        pai = dono.pai;
    }
    return r;
}

void Escrever(const std::string& nome, const Retangulo& r) {
    std::cout << nome << ' ' << r.left + r.width / 2 << ' ' << r.top + r.height / 2 << '\n';
}

}  // namespace

int main() {
    for (const DescricaoControle& controle : Formulario().controles) {
        const Retangulo r = NaJanela(controle);
        Escrever(std::string(controle.nome), r);
        const auto itens = PosicoesDosItens(controle, Formulario().alturaTexto);
        for (std::size_t i = 0; controle.tipo == TipoControle::GrupoDeOpcoes && i < itens.size(); ++i) {
            Retangulo item = itens[i];
            item.left += r.left;
            item.top += r.top;
            Escrever(std::string(controle.nome) + "." + std::to_string(i), item);
        }
    }
}
