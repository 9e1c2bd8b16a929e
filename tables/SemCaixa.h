#pragma once

// Names as Windows and the BDE compare them: column names, table names and
// path components match without regard to ASCII case.

#include <cctype>
#include <string_view>

namespace rotulos {

inline bool IguaisSemCaixa(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

}  // namespace rotulos
