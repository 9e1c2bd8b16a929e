#include "Listagem.h"

#include <optional>

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

void AcrescentarEscapado(std::string& destino, std::string_view bytes, bool tambemAltos) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F || (tambemAltos && b >= 0x80) || c == '\\') {
            const char escapado[] = {'\\', 'x', kHex[b >> 4], kHex[b & 0x0F]};
            destino.append(escapado, sizeof escapado);
        } else {
            destino += c;
        }
    }
}

void ListarTabela(TTable& tabela, bool bruto, std::ostream& saida) {
    const auto& cab = tabela.Estrutura();
    // Raw bytes need no decoding, so a code page unknown here does not keep them from being listed.
    std::optional<CodePage> codePage;
    if (!bruto) codePage.emplace(cab.codePage, "Tabela \"" + tabela.TableName + "\"");
    std::string linha;
    const auto texto = [&](const std::string& bytes) {
        if (bruto)
            AcrescentarEscapado(linha, bytes, true);
        else
            AcrescentarEscapado(linha, codePage->ParaUtf8(bytes), false);
    };
    for (std::size_t i = 0; i < cab.campos.size(); ++i) {
        if (i) linha += '\t';
        texto(cab.campos[i].nome);
        linha += ':';
        linha += paradox::LetraDoTipo(cab.campos[i]);
    }
    saida << linha << '\n';
    for (tabela.First(); !tabela.Eof(); tabela.Next()) {
        linha.clear();
        for (std::size_t i = 0; i < tabela.FieldCount(); ++i) {
            if (i) linha += '\t';
            TField& campo = tabela.Fields(i);
            const TipoCampo tipo = campo.DataType();
            if (campo.IsNull()) {
                linha += "\\N";
            } else if (paradox::DadosEmArquivoMb(tipo)) {
                texto(campo.InicioDoMemo());  // the rest is in the .MB file
            } else if (tipo == TipoCampo::Date || tipo == TipoCampo::Timestamp) {
                linha += Iso(*campo.AsDateTime(), tipo);
            } else if (tipo == TipoCampo::Alpha) {
                texto(campo.AsString());
            } else {
                AcrescentarEscapado(linha, campo.AsString(), true);
            }
        }
        saida << linha << '\n';
    }
}

}  // namespace rotulos
