#pragma once

// Dates and times as Paradox stores them: a day number (1 = 0001-01-01 in the
// proleptic Gregorian calendar) and milliseconds since midnight.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace rotulos {

struct DataCivil {
    int ano;
    int mes;
    int dia;
};

struct TDateTime {
    std::int64_t dia = 0;            // Paradox day number
    std::int64_t milissegundos = 0;  // since midnight, 0..86'399'999

    bool operator==(const TDateTime&) const = default;
};

std::int64_t NumeroDoDia(const DataCivil& data);
DataCivil DataDoNumero(std::int64_t numeroDoDia);
bool DataValida(const DataCivil& data);

// "dd/mm/yy" and the other few patterns the program uses: dd, mm, yy, yyyy, hh, nn, ss.
std::string FormatDateTime(std::string_view padrao, const TDateTime& valor);

// Reads "YYYY-MM-DD" or "DD/MM/YYYY" (as typed in Brazil); empty on anything else.
std::optional<DataCivil> LerData(std::string_view texto);
// Reads "HH:MM:SS" with optional ".mmm"; empty on anything else.
std::optional<std::int64_t> LerHora(std::string_view texto);

}  // namespace rotulos
