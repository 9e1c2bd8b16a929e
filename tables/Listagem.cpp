#include "Listagem.h"

#include <cstdio>

#include "CodePage.h"
#include "DataHora.h"
#include "ParadoxCriar.h"

namespace rotulos {

using paradox::TipoCampo;

namespace {

std::string Iso(const TDateTime& v, TipoCampo tipo) {
    return FormatDateTime(tipo == TipoCampo::Date ? "yyyy-mm-dd" : "yyyy-mm-dd hh:nn:ss", v);
}

}  // namespace

std::string Escapar(const std::string& bytes, bool tambemAltos) {
    std::string saida;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F || (tambemAltos && b >= 0x80) || c == '\\') {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", b);
            saida += hex;
        } else {
            saida += c;
        }
    }
    return saida;
}

void ListarTabela(TTable& tabela, bool bruto, std::ostream& saida) {
    const auto& cab = tabela.Estrutura();
    const CodePage codePage(cab.codePage);
    std::string linha;
    for (std::size_t i = 0; i < cab.campos.size(); ++i) {
        if (i) linha += '\t';
        const std::string& nome = cab.campos[i].nome;
        linha += (bruto ? Escapar(nome, true) : Escapar(codePage.ParaUtf8(nome), false)) + ":" +
                 paradox::LetraDoTipo(cab.campos[i]);
    }
    saida << linha << '\n';
    for (tabela.First(); !tabela.Eof(); tabela.Next()) {
        linha.clear();
        for (std::size_t i = 0; i < tabela.FieldCount(); ++i) {
            if (i) linha += '\t';
            TField& campo = tabela.Fields(i);
            const TipoCampo tipo = campo.DataType();
            if (!paradox::DadosEmArquivoMb(tipo) && campo.IsNull()) {
                linha += "\\N";
            } else if (tipo == TipoCampo::Date || tipo == TipoCampo::Timestamp) {
                linha += Iso(*campo.AsDateTime(), tipo);
            } else if (tipo == TipoCampo::Alpha) {
                linha += bruto ? Escapar(campo.AsString(), true) : Escapar(codePage.ParaUtf8(campo.AsString()), false);
            } else {
                linha += Escapar(campo.AsString(), true);
            }
        }
        saida << linha << '\n';
    }
}

}  // namespace rotulos
