#pragma once

// The 8-bit code pages of Paradox tables, to show their texts in UTF-8 and to
// store typed UTF-8 text back as the table's own bytes.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace rotulos {

class CodePage {
public:
    // 437, 850 and 1252 are known. 0 (no code page recorded) and any other number
    // are taken as 1252, the code page of the installation's tables.
    explicit CodePage(std::uint16_t numero);

    std::uint16_t Numero() const { return numero_; }
    std::string ParaUtf8(std::string_view bytes) const;
    // Empty when a character has no byte in this code page.
    std::optional<std::string> DeUtf8(std::string_view utf8) const;

private:
    std::uint16_t numero_;
    const char32_t* superior_;  // 0x80..0xFF
};

// Decodes UTF-8 into code points; empty when the text is not valid UTF-8.
std::optional<std::u32string> DecodificarUtf8(std::string_view utf8);
void AcrescentarUtf8(std::string& destino, char32_t ponto);

}  // namespace rotulos
