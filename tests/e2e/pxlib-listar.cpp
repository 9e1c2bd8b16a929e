// Lists a Paradox table as pxlib reads it, for the end-to-end test's shell
// script: the record count, then one tab-separated line per row (NULL as \N).

#include <iostream>

#include "../support/Pxlib.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "uso: pxlib-listar ARQUIVO\n";
        return 2;
    }
    try {
        const rotulos::teste::TabelaPx tabela = rotulos::teste::LerComPxlib(argv[1]);
        std::cout << tabela.registros << '\n';
        for (const auto& linha : tabela.linhas) {
            for (std::size_t i = 0; i < linha.size(); ++i) {
                if (i) std::cout << '\t';
                const auto& v = linha[i];
                if (v.nulo)
                    std::cout << "\\N";
                else if (!v.texto.empty() || v.tipo == pxfAlpha)
                    std::cout << v.texto;
                else if (v.tipo == pxfNumber || v.tipo == pxfCurrency || v.tipo == pxfTimestamp)
                    std::cout << v.real;
                else
                    std::cout << v.inteiro;
            }
            std::cout << '\n';
        }
    } catch (const std::exception& erro) {
        std::cerr << erro.what() << '\n';
        return 1;
    }
    return 0;
}
