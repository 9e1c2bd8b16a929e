#pragma once

// A table as text, one line per row, for the table tool and for comparing a
// table across readers and systems. First line: the columns as Nome:Tipo;
// then the rows in delivery order, tab-separated, NULL as \N, dates as
// YYYY-MM-DD, times HH:MM:SS, timestamps YYYY-MM-DD HH:MM:SS. Alpha is decoded
// to UTF-8 or, `bruto`, kept as its bytes with \xHH for bytes below 0x20, from
// 0x7F up and the backslash. A memo column gives the part of its text kept in
// the row; other columns kept in the .MB file give nothing. A code page the
// engine cannot decode is an Erro that names it.

#include <ostream>
#include <string>
#include <string_view>

#include "TTable.h"

namespace rotulos {

void ListarTabela(TTable& tabela, bool bruto, std::ostream& saida);

// Appends `bytes` with \xHH for control bytes and the backslash, and with
// `tambemAltos` for bytes from 0x80 up.
void AcrescentarEscapado(std::string& destino, std::string_view bytes, bool tambemAltos);

}  // namespace rotulos
