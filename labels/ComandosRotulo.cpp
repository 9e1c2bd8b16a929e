#include "ComandosRotulo.h"

#include <initializer_list>
#include <optional>
#include <span>
#include <string_view>

#include "Erro.h"

namespace rotulos {

namespace {

constexpr char kStx = '\x02';

enum class Regra { Primeiros, Inteiro, Data };

struct LinhaDeCampo {
    const char* campo;
    const char* cabecalho;  // DPL record header: rotation, font, multipliers, size, row, column
    Regra regra;
    std::size_t maximo;  // for Regra::Primeiros
};

// One field record per line, as the printer reads them.
// clang-format off
constexpr LinhaDeCampo kCamposPequeno[] = {
    {"Nome1", "191200401470010", Regra::Primeiros, 30},
    {"Nome2", "191200301170010", Regra::Primeiros, 30},
    {"Nome3", "191200200910011", Regra::Inteiro, 0},
    {"Cliente", "191200200630011", Regra::Inteiro, 0},
    {"PesoL", "191200100170018", Regra::Inteiro, 0},
    {"PesoB", "191200100170076", Regra::Inteiro, 0},
    {"Lote", "191200100170132", Regra::Primeiros, 6},
    {"DataFab", "191200100170184", Regra::Data, 0},
    {"DataVal", "191200100170239", Regra::Data, 0},
};

constexpr LinhaDeCampo kCamposGrande[] = {
    {"Nome1", "292200506830272", Regra::Primeiros, 30},
    {"Nome2", "292200306830242", Regra::Primeiros, 30},
    {"Nome3", "292200206810218", Regra::Inteiro, 0},
    {"Cliente", "292200206810191", Regra::Inteiro, 0},
    {"Onu", "291100606410320", Regra::Primeiros, 4},
    {"PesoL", "291100605300353", Regra::Inteiro, 0},
    {"PesoB", "291100605300320", Regra::Inteiro, 0},
    {"Lote", "291100603870337", Regra::Primeiros, 6},
    {"DataFab", "291100602630337", Regra::Data, 0},
    {"DataVal", "291100601410337", Regra::Data, 0},
};
// clang-format on

std::string Valor(const LinhaDeCampo& linha, TTable& tbTmp) {
    TField& campo = tbTmp.FieldByName(linha.campo);
    switch (linha.regra) {
        case Regra::Primeiros: return SemBytesDeControle(campo.AsString().substr(0, linha.maximo));
        case Regra::Inteiro: return SemBytesDeControle(campo.AsString());
        case Regra::Data: {
            // A blank date prints nothing rather than the calendar's day zero.
            const std::optional<TDateTime> data = campo.AsDateTime();
            return data ? FormatDateTime("dd/mm/yy", *data) : std::string();
        }
    }
    return {};
}

// Joins the pieces of one line into a buffer reused from line to line.
class Linha {
public:
    explicit Linha(SaidaLinhas& saida) : saida_(saida) {}
    void operator()(std::initializer_list<std::string_view> partes) {
        texto_.clear();
        for (const std::string_view parte : partes) texto_ += parte;
        saida_.EscreverLinha(texto_);
    }

private:
    SaidaLinhas& saida_;
    std::string texto_;
};

std::span<const LinhaDeCampo> Campos(int tamanho) {
    if (tamanho == kPequeno) return kCamposPequeno;
    return kCamposGrande;
}

bool GuardaData(paradox::TipoCampo tipo) {
    return tipo == paradox::TipoCampo::Date || tipo == paradox::TipoCampo::Timestamp ||
           tipo == paradox::TipoCampo::Alpha;
}

std::string Lista(const std::vector<std::string>& nomes) {
    std::string texto;
    for (std::size_t i = 0; i < nomes.size(); ++i) {
        if (i > 0) texto += i + 1 == nomes.size() ? " e " : ", ";
        texto += "\"" + nomes[i] + "\"";
    }
    return texto;
}

}  // namespace

std::string SaidaEmMemoria::Bytes() const {
    std::string bytes;
    for (const auto& linha : linhas_) {
        bytes += linha;
        bytes += "\r\n";
    }
    return bytes;
}

void ExigirColunas(TTable& tbTmp, int tamanho) {
    const std::string contexto = "Tabela \"" + tbTmp.TableName + "\": ";
    const std::string rotulo = tamanho == kPequeno ? "Pequeno" : "Grande";
    std::vector<std::string> faltam;
    for (const auto& linha : Campos(tamanho)) {
        if (!tbTmp.FindField(linha.campo)) faltam.emplace_back(linha.campo);
    }
    if (faltam.size() == 1)
        throw Erro(contexto + "falta a coluna " + Lista(faltam) + ", que o rótulo " + rotulo +
                   " usa; nada foi impresso.");
    if (!faltam.empty())
        throw Erro(contexto + "faltam as colunas " + Lista(faltam) + ", que o rótulo " + rotulo +
                   " usa; nada foi impresso.");
    for (const auto& linha : Campos(tamanho)) {
        const TField& campo = tbTmp.FieldByName(linha.campo);
        if (linha.regra == Regra::Data && !GuardaData(campo.DataType()))
            throw Erro(contexto + "a coluna \"" + linha.campo + "\" é do tipo " +
                       paradox::NomeDoTipo(campo.DataType()) + " e não guarda datas; nada foi impresso.");
    }
}

std::string SemBytesDeControle(std::string texto) {
    for (char& c : texto) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F) c = ' ';
    }
    return texto;
}

void EscreverRotulo(SaidaLinhas& saida, int tamanho, const ConfiguracaoImpressora& config, TTable& tbTmp) {
    const bool pequeno = tamanho == kPequeno;
    const std::string_view stx(&kStx, 1);
    Linha linha(saida);

    linha({stx, "c0000"});
    linha({stx, "KI503"});
    linha({stx, "O0", config.Borda});
    linha({stx, "f", config.Retorno});
    linha({stx, pequeno ? "KW0425" : "KW0402"});
    linha({stx, "KI7", stx});
    linha({stx, "V0"});
    linha({stx, "L"});
    linha({"H", config.Temperatura});
    linha({"P", config.Velocidade});
    linha({"A2"});
    linha({"D11"});

    for (const auto& campo : Campos(tamanho)) linha({campo.cabecalho, Valor(campo, tbTmp)});

    linha({"^01"});
    linha({"Q0001"});
    linha({"E"});
}

}  // namespace rotulos
