#pragma once

// Creating a new, empty, unkeyed Paradox 7 table, as an installer or a test
// needs to stand in for the program that fills the label table.

#include <cstdint>
#include <string>
#include <vector>

#include "ParadoxFormato.h"

namespace rotulos::paradox {

struct DefinicaoColuna {
    std::string nome;
    TipoCampo tipo;
    std::uint8_t tamanho;  // width for Alpha and Bytes, decimals for BCD; ignored otherwise
};

// Reads "Nome1:A40,Onu:A10,PesoL:N,DataFab:D" with Paradox's type letters
// (A size, N, $, D, S, I, L, T, @, +, # decimals, Y size).
std::vector<DefinicaoColuna> LerDefinicaoColunas(const std::string& texto);
std::string LetraDoTipo(const Campo& campo);

// Creates the table at `caminho` (as the program names it); fails if the file
// exists. A table that cannot be written whole is removed again.
void CriarTabela(const std::string& caminho, const std::vector<DefinicaoColuna>& colunas,
                 std::uint16_t codePage = 1252);

}  // namespace rotulos::paradox
