#include "DescricaoJanela.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace rotulos::form {

namespace {

using T = TipoControle;

// In creation order, as the form declares them.
// clang-format off
constexpr DescricaoControle kControles[] = {
    {"Button1",     T::Botao,         "",          {262, 213,  75,  25}, "Imprimir",                                    0},
    {"Button2",     T::Botao,         "",          {342, 213,  75,  25}, "Fechar",                                      1},
    {"GroupBox1",   T::Grupo,         "",          { 16,  14, 401, 174}, " Configurações de Impressão ",                2},
    {"Label14",     T::Rotulo,        "GroupBox1", { 27,  24,  60,  13}, "Temperatura",                                -1},
    {"Label15",     T::Rotulo,        "GroupBox1", { 34,  53,  53,  13}, "Velocidade",                                 -1},
    {"Label16",     T::Rotulo,        "GroupBox1", { 27,  83,  60,  13}, "OffSet Início",                              -1},
    {"Label17",     T::Rotulo,        "GroupBox1", { 33, 112,  54,  13}, "Retrocesso",                                 -1},
    {"Label18",     T::Rotulo,        "GroupBox1", {173,  24, 182,  13}, "(valores válidos: de 0 a 15) Default=10",    -1},
    {"Label19",     T::Rotulo,        "GroupBox1", {173,  53, 173,  13}, "(valores válidos: de A a K) Default=K",      -1},
    {"Label20",     T::Rotulo,        "GroupBox1", {173,  83, 206,  13}, "(valores válidos: de 090 a 260) Default=220", -1},
    {"Label21",     T::Rotulo,        "GroupBox1", {173, 112, 206,  13}, "(valores válidos: de 000 a 300) Default=291", -1},
    {"Porta",       T::Rotulo,        "GroupBox1", { 62, 141,  25,  13}, "Porta",                                      -1},
    {"DBEdit10",    T::Edicao,        "GroupBox1", { 99,  21,  65,  21}, "Temperatura",                                 0},
    {"DBEdit11",    T::Edicao,        "GroupBox1", { 99,  50,  65,  21}, "Velocidade",                                  1},
    {"DBEdit12",    T::Edicao,        "GroupBox1", { 99,  80,  65,  21}, "Borda",                                       2},
    {"DBEdit13",    T::Edicao,        "GroupBox1", { 99, 109,  65,  21}, "Retorno",                                     3},
    {"DBEdit1",     T::Edicao,        "GroupBox1", { 99, 137,  65,  21}, "Porta",                                       4},
    {"RadioGroup1", T::GrupoDeOpcoes, "",          { 16, 198, 230,  40}, " Tamanho ",                                   3,
     true, {"Pequeno", "Grande"}, 2},
    // How far a print run is, in the free space above the buttons; shown only while labels print.
    {"Label22",     T::Rotulo,        "",          {262, 195, 155,  13}, "",                                           -1, false},
};
// clang-format on

constexpr DescricaoJanela kJanela{
    "TfoImprimeEtiqLumbertovaLab", "Impressão de Rótulos", 226, 192, 432, 253, "MS Sans Serif", 11, 13, kControles,
};

}  // namespace

const DescricaoJanela& Formulario() { return kJanela; }

const DescricaoControle& Controle(std::string_view nome) {
    for (const auto& controle : kControles) {
        if (controle.nome == nome) return controle;
    }
    throw std::out_of_range("o formulário não tem o controle " + std::string(nome));
}

std::vector<Retangulo> PosicoesDosItens(const DescricaoControle& grupo, int alturaTexto) {
    const int quantos = static_cast<int>(
        std::count_if(grupo.itens.begin(), grupo.itens.end(), [](std::string_view item) { return !item.empty(); }));
    const int colunas = std::max(grupo.colunas, 1);
    const int porColuna = std::max((quantos + colunas - 1) / colunas, 1);
    const int largura = (grupo.posicao.width - 10) / colunas;
    const int livre = grupo.posicao.height - alturaTexto - 5;
    const int altura = livre / porColuna;
    const int margem = alturaTexto + 1 + (livre % porColuna) / 2;
    std::vector<Retangulo> posicoes;
    for (int i = 0; i < quantos; ++i)
        posicoes.push_back({(i / porColuna) * largura + 8, (i % porColuna) * altura + margem, largura, altura});
    return posicoes;
}

std::vector<const DescricaoControle*> OrdemDeTabulacao(std::string_view pai) {
    std::vector<const DescricaoControle*> ordem;
    for (const auto& controle : kControles) {
        if (controle.pai == pai && controle.ordemTab >= 0) ordem.push_back(&controle);
    }
    std::stable_sort(ordem.begin(), ordem.end(), [](auto* a, auto* b) { return a->ordemTab < b->ordemTab; });
    return ordem;
}

}  // namespace rotulos::form
