#include "DataHora.h"

#include <charconv>

namespace rotulos {

namespace {

// Day 1 of the Paradox count is 0001-01-01; 1970-01-01 is day 719163.
constexpr std::int64_t kDia1970 = 719163;

std::int64_t DiasDesde1970(std::int64_t a, unsigned m, unsigned d) {
    a -= m <= 2;
    const std::int64_t era = (a >= 0 ? a : a - 399) / 400;
    const auto ano = static_cast<unsigned>(a - era * 400);
    const unsigned diaDoAno = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned diaDaEra = ano * 365 + ano / 4 - ano / 100 + diaDoAno;
    return era * 146097 + static_cast<std::int64_t>(diaDaEra) - 719468;
}

bool Numero(std::string_view texto, int& valor) {
    if (texto.empty()) return false;
    for (char c : texto) {
        if (c < '0' || c > '9') return false;
    }
    return std::from_chars(texto.data(), texto.data() + texto.size(), valor).ec == std::errc();
}

void DoisDigitos(std::string& saida, std::int64_t v) {
    const auto n = static_cast<int>(v % 100);
    saida += static_cast<char>('0' + n / 10);
    saida += static_cast<char>('0' + n % 10);
}

}  // namespace

std::int64_t NumeroDoDia(const DataCivil& data) {
    return DiasDesde1970(data.ano, static_cast<unsigned>(data.mes), static_cast<unsigned>(data.dia)) + kDia1970;
}

DataCivil DataDoNumero(std::int64_t numeroDoDia) {
    const std::int64_t z = numeroDoDia - kDia1970 + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto diaDaEra = static_cast<unsigned>(z - era * 146097);
    const unsigned anoDaEra = (diaDaEra - diaDaEra / 1460 + diaDaEra / 36524 - diaDaEra / 146096) / 365;
    const unsigned diaDoAno = diaDaEra - (365 * anoDaEra + anoDaEra / 4 - anoDaEra / 100);
    const unsigned mp = (5 * diaDoAno + 2) / 153;
    const unsigned dia = diaDoAno - (153 * mp + 2) / 5 + 1;
    const unsigned mes = mp < 10 ? mp + 3 : mp - 9;
    const std::int64_t ano = static_cast<std::int64_t>(anoDaEra) + era * 400 + (mes <= 2);
    return {static_cast<int>(ano), static_cast<int>(mes), static_cast<int>(dia)};
}

bool DataValida(const DataCivil& d) {
    if (d.ano < 1 || d.ano > 9999 || d.mes < 1 || d.mes > 12 || d.dia < 1) return false;
    static constexpr int kDias[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool bissexto = (d.ano % 4 == 0 && d.ano % 100 != 0) || d.ano % 400 == 0;
    return d.dia <= kDias[d.mes - 1] + (d.mes == 2 && bissexto ? 1 : 0);
}

std::string FormatDateTime(std::string_view padrao, const TDateTime& valor) {
    const DataCivil data = DataDoNumero(valor.dia);
    const std::int64_t segundos = valor.milissegundos / 1000;
    std::string saida;
    for (std::size_t i = 0; i < padrao.size();) {
        const std::string_view resto = padrao.substr(i);
        if (resto.starts_with("yyyy")) {
            DoisDigitos(saida, data.ano / 100);
            DoisDigitos(saida, data.ano);
            i += 4;
        } else if (resto.starts_with("yy")) {
            DoisDigitos(saida, data.ano);
            i += 2;
        } else if (resto.starts_with("dd")) {
            DoisDigitos(saida, data.dia);
            i += 2;
        } else if (resto.starts_with("mm")) {
            DoisDigitos(saida, data.mes);
            i += 2;
        } else if (resto.starts_with("hh")) {
            DoisDigitos(saida, segundos / 3600);
            i += 2;
        } else if (resto.starts_with("nn")) {
            DoisDigitos(saida, segundos / 60 % 60);
            i += 2;
        } else if (resto.starts_with("ss")) {
            DoisDigitos(saida, segundos % 60);
            i += 2;
        } else {
            saida += padrao[i];
            ++i;
        }
    }
    return saida;
}

std::optional<DataCivil> LerData(std::string_view texto) {
    DataCivil d{};
    if (texto.size() == 10 && texto[4] == '-' && texto[7] == '-') {
        if (!Numero(texto.substr(0, 4), d.ano) || !Numero(texto.substr(5, 2), d.mes) ||
            !Numero(texto.substr(8, 2), d.dia))
            return std::nullopt;
    } else if (texto.size() == 10 && texto[2] == '/' && texto[5] == '/') {
        if (!Numero(texto.substr(0, 2), d.dia) || !Numero(texto.substr(3, 2), d.mes) ||
            !Numero(texto.substr(6, 4), d.ano))
            return std::nullopt;
    } else {
        return std::nullopt;
    }
    if (!DataValida(d)) return std::nullopt;
    return d;
}

std::optional<std::int64_t> LerHora(std::string_view texto) {
    int h = 0, m = 0, s = 0, ms = 0;
    if (texto.size() < 8 || texto[2] != ':' || texto[5] != ':') return std::nullopt;
    if (!Numero(texto.substr(0, 2), h) || !Numero(texto.substr(3, 2), m) || !Numero(texto.substr(6, 2), s))
        return std::nullopt;
    if (texto.size() > 8) {
        if (texto.size() != 12 || texto[8] != '.' || !Numero(texto.substr(9, 3), ms)) return std::nullopt;
    }
    if (h > 23 || m > 59 || s > 59) return std::nullopt;
    return ((static_cast<std::int64_t>(h) * 60 + m) * 60 + s) * 1000 + ms;
}

}  // namespace rotulos
