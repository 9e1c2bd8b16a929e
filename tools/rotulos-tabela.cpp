// rotulos-tabela: creates, fills, lists and empties Paradox tables, for the
// installer and the tests that stand in for the program filling the label table.

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "CodePage.h"
#include "Erro.h"
#include "Listagem.h"
#include "ParadoxCriar.h"
#include "TTable.h"

using namespace rotulos;
using paradox::TipoCampo;

namespace {

constexpr const char* kUso =
    "uso: rotulos-tabela criar ARQUIVO COLUNAS [--codepage N]\n"
    "     rotulos-tabela inserir ARQUIVO < linhas.tsv\n"
    "     rotulos-tabela listar ARQUIVO [--bruto]\n"
    "     rotulos-tabela esvaziar ARQUIVO\n"
    "COLUNAS como Nome1:A40,Onu:A10,PesoL:N,DataFab:D (tipos A N $ D S I L T @ + # Y).\n";

// Inverse of the raw listing: \N is NULL (empty), \xHH a byte, \\ a backslash.
std::string Desescapar(const std::string& texto, std::size_t linha) {
    if (texto == "\\N") return {};
    std::string saida;
    for (std::size_t i = 0; i < texto.size(); ++i) {
        if (texto[i] != '\\') {
            saida += texto[i];
            continue;
        }
        const auto hex = [](char c) -> int {
            if (c >= '0' && c <= '9') return c - '0';
            if (c >= 'A' && c <= 'F') return c - 'A' + 10;
            if (c >= 'a' && c <= 'f') return c - 'a' + 10;
            return -1;
        };
        if (i + 3 < texto.size() && texto[i + 1] == 'x' && hex(texto[i + 2]) >= 0 && hex(texto[i + 3]) >= 0) {
            saida += static_cast<char>(hex(texto[i + 2]) * 16 + hex(texto[i + 3]));
            i += 3;
        } else if (i + 1 < texto.size() && texto[i + 1] == '\\') {
            saida += '\\';
            i += 1;
        } else {
            throw Erro("Linha " + std::to_string(linha) + ": sequência \"\\\" inválida em \"" + texto + "\".");
        }
    }
    return saida;
}

std::vector<std::string> Separar(const std::string& linha) {
    std::vector<std::string> partes;
    std::size_t inicio = 0;
    for (;;) {
        const auto tab = linha.find('\t', inicio);
        partes.push_back(linha.substr(inicio, tab - inicio));
        if (tab == std::string::npos) return partes;
        inicio = tab + 1;
    }
}

int Listar(const std::string& arquivo, bool bruto) {
    TTable tabela(arquivo);
    tabela.Open();
    ListarTabela(tabela, bruto, std::cout);
    std::cout.flush();
    return std::cout ? 0 : 1;
}

int Inserir(const std::string& arquivo) {
    TTable tabela(arquivo);
    tabela.Open();
    const auto& cab = tabela.Estrutura();
    // Every line is read and checked before the first is written, so bad input writes nothing.
    std::vector<std::vector<std::string>> linhas;
    std::string texto;
    for (std::size_t numero = 1; std::getline(std::cin, texto); ++numero) {
        if (!texto.empty() && texto.back() == '\r') texto.pop_back();
        std::vector<std::string> valores = Separar(texto);
        if (valores.size() != cab.campos.size())
            throw Erro("Linha " + std::to_string(numero) + ": " + std::to_string(valores.size()) +
                       " valores, mas a tabela tem " + std::to_string(cab.campos.size()) + " colunas.");
        for (std::size_t i = 0; i < valores.size(); ++i) {
            valores[i] = Desescapar(valores[i], numero);
            std::vector<std::uint8_t> rascunho(cab.campos[i].tamanho);
            paradox::Codificar(cab.campos[i], valores[i], rascunho, "Linha " + std::to_string(numero));
        }
        linhas.push_back(std::move(valores));
    }
    for (const auto& valores : linhas) {
        tabela.Insert();
        for (std::size_t i = 0; i < valores.size(); ++i) tabela.Fields(i).SetAsString(valores[i]);
        tabela.Post();
    }
    DbiSaveChanges(tabela.Handle());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    try {
        if (args.size() >= 3 && args[0] == "criar") {
            std::uint16_t codePage = 1252;
            if (args.size() == 5 && args[3] == "--codepage") {
                codePage = static_cast<std::uint16_t>(std::stoi(args[4]));
            } else if (args.size() != 3) {
                std::cerr << kUso;
                return 2;
            }
            paradox::CriarTabela(args[1], paradox::LerDefinicaoColunas(args[2]), codePage);
            return 0;
        }
        if (args.size() == 2 && args[0] == "inserir") return Inserir(args[1]);
        if ((args.size() == 2 || (args.size() == 3 && args[2] == "--bruto")) && args[0] == "listar")
            return Listar(args[1], args.size() == 3);
        if (args.size() == 2 && args[0] == "esvaziar") {
            TTable(args[1]).EmptyTable();
            return 0;
        }
    } catch (const std::exception& e) {
        std::cerr << "rotulos-tabela: " << e.what() << '\n';
        return 1;
    }
    std::cerr << kUso;
    return 2;
}
