#pragma once

// Opens a table and reads every value of every row: what the fuzzer, the
// regression replay and the damaged-file tests all run.

#include <string>

#include "TTable.h"

namespace rotulos {

inline void LerTabelaInteira(const std::string& caminho) {
    TTable t(caminho);
    t.Open();
    for (t.First(); !t.Eof(); t.Next()) {
        for (std::size_t i = 0; i < t.FieldCount(); ++i) {
            TField& campo = t.Fields(i);
            if (paradox::DadosEmArquivoMb(campo.DataType())) continue;
            campo.AsString();
            const auto tipo = campo.DataType();
            if (tipo == paradox::TipoCampo::Date || tipo == paradox::TipoCampo::Timestamp ||
                tipo == paradox::TipoCampo::Alpha)
                campo.AsDateTime();
        }
    }
}

}  // namespace rotulos
