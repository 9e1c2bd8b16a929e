#pragma once

// Label tables as the other program of the installation leaves them.

#include <map>
#include <string>
#include <vector>

#include "ParadoxCriar.h"
#include "TTable.h"

namespace rotulos::teste {

inline constexpr const char* kColunasRotulos =
    "Nome1:A40,Nome2:A40,Nome3:A40,Cliente:A40,Onu:A10,PesoL:A10,PesoB:A10,Lote:A10,DataFab:D,DataVal:D";

using Linha = std::map<std::string, std::string>;

// Values in the table's code page (1252).
inline Linha LinhaPadrao() {
    return {{"Nome1",
             "\xC1"
             "CIDO SULF\xDA"
             "RICO 98%"},
            {"Nome2",
             "Grau t\xE9"
             "cnico"},
            {"Nome3", "Tambor de 200 litros"},
            {"Cliente",
             "Qu\xED"
             "mica Brasil Ltda"},
            {"Onu", "1830"},
            {"PesoL", "25,00 kg"},
            {"PesoB", "26,10 kg"},
            {"Lote", "L24031"},
            {"DataFab", "2024-03-05"},
            {"DataVal", "2026-03-05"}};
}

inline void CriarTabelaRotulos(const std::string& caminho, const std::vector<Linha>& linhas,
                               const std::string& colunas = kColunasRotulos) {
    paradox::CriarTabela(caminho, paradox::LerDefinicaoColunas(colunas));
    TTable t(caminho);
    t.Open();
    for (const Linha& linha : linhas) {
        t.Insert();
        for (const auto& [coluna, valor] : linha) {
            if (TField* campo = t.FindField(coluna)) campo->SetAsString(valor);
        }
        t.Post();
    }
}

}  // namespace rotulos::teste
