// rotulos-tabela: creates, fills, lists and empties Paradox tables, for the
// installer and the tests that stand in for the program filling the label table.

#include <charconv>
#include <iostream>
#include <optional>
#include <stdexcept>
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
    "COLUNAS como Nome1:A40,Onu:A10,PesoL:N,DataFab:D (tipos A N $ D S I L T @ + # Y).\n"
    "As opções podem vir antes ou depois dos argumentos.\n";

// A command line not of the forms above: said on stderr with the usage, status 2.
class UsoInvalido : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The words of a command line: the command, its arguments and its options,
// which may stand anywhere ("--codepage 850" or "--codepage=850").
struct Comando {
    std::string nome;
    std::vector<std::string> argumentos;
    bool bruto = false;
    std::optional<std::string> codePage;
};

Comando LerComando(const std::vector<std::string>& palavras) {
    Comando comando;
    for (std::size_t i = 0; i < palavras.size(); ++i) {
        const std::string& p = palavras[i];
        if (p == "--bruto") {
            comando.bruto = true;
        } else if (p == "--codepage" || p.rfind("--codepage=", 0) == 0) {
            if (p == "--codepage" && i + 1 >= palavras.size()) throw UsoInvalido("--codepage pede um número");
            comando.codePage = p == "--codepage" ? palavras[++i] : p.substr(std::string("--codepage=").size());
        } else if (p.rfind("--", 0) == 0) {
            throw UsoInvalido("opção desconhecida: " + p);
        } else if (comando.nome.empty()) {
            comando.nome = p;
        } else {
            comando.argumentos.push_back(p);
        }
    }
    const auto exigir = [&](std::size_t n, bool aceitaBruto, bool aceitaCodePage) {
        if (comando.argumentos.size() != n || (comando.bruto && !aceitaBruto) || (comando.codePage && !aceitaCodePage))
            throw UsoInvalido("argumentos inválidos para \"" + comando.nome + "\"");
    };
    if (comando.nome == "criar")
        exigir(2, false, true);
    else if (comando.nome == "listar")
        exigir(1, true, false);
    else if (comando.nome == "inserir" || comando.nome == "esvaziar")
        exigir(1, false, false);
    else
        throw UsoInvalido(comando.nome.empty() ? "falta o comando" : "comando desconhecido: " + comando.nome);
    return comando;
}

std::uint16_t LerCodePage(const std::string& texto) {
    unsigned numero = 0;
    const auto r = std::from_chars(texto.data(), texto.data() + texto.size(), numero);
    if (r.ec != std::errc() || r.ptr != texto.data() + texto.size() || numero == 0 || numero > 0xFFFF ||
        !CodePage::Conhecida(static_cast<std::uint16_t>(numero)))
        throw UsoInvalido("código de página \"" + texto + "\" inválido: use " + CodePage::kConhecidas);
    return static_cast<std::uint16_t>(numero);
}

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
    const std::uint32_t antes = tabela.RecordCount();
    try {
        for (const auto& valores : linhas) {
            tabela.Insert();
            for (std::size_t i = 0; i < valores.size(); ++i) tabela.Fields(i).SetAsString(valores[i]);
            tabela.Post();
        }
        DbiSaveChanges(tabela.Handle());
    } catch (const std::exception& erro) {
        // Counted in the table, where a retry must start: a row may be in its
        // block chain although the write that failed came after it.
        tabela.Cancel();
        const std::uint32_t gravadas = tabela.RecordCount() - antes;
        throw Erro(std::string(erro.what()) + "\n" + std::to_string(gravadas) + " de " + std::to_string(linhas.size()) +
                   " linhas gravadas.");
    }
    return 0;
}

int Executar(const Comando& comando) {
    const std::string& arquivo = comando.argumentos.at(0);
    if (comando.nome == "criar") {
        const std::uint16_t codePage = comando.codePage ? LerCodePage(*comando.codePage) : 1252;
        paradox::CriarTabela(arquivo, paradox::LerDefinicaoColunas(comando.argumentos.at(1)), codePage);
        return 0;
    }
    if (comando.nome == "inserir") return Inserir(arquivo);
    if (comando.nome == "listar") return Listar(arquivo, comando.bruto);
    TTable(arquivo).EmptyTable();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Executar(LerComando(std::vector<std::string>(argv + 1, argv + argc)));
    } catch (const UsoInvalido& e) {
        std::cerr << "rotulos-tabela: " << e.what() << "\n" << kUso;
        return 2;
    } catch (const std::exception& e) {
        std::cerr << "rotulos-tabela: " << e.what() << '\n';
        return 1;
    }
}
