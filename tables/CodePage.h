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
    // 437, 850, 860 and 1252 are known; 0 (old tables record none) is taken as
    // 1252, the installation's. Any other number is refused with an Erro opened
    // by `contexto` ("Tabela \"...\""): its letters would be shown wrong.
    explicit CodePage(std::uint16_t numero, const std::string& contexto = "");

    static bool Conhecida(std::uint16_t numero);
    static constexpr const char* kConhecidas = "437, 850, 860 e 1252";

    std::string ParaUtf8(std::string_view bytes) const;
    // Empty when a character has no byte in this code page.
    std::optional<std::string> DeUtf8(std::string_view utf8) const;

private:
    const char32_t* superior_;  // 0x80..0xFF
};

// Decodes UTF-8 into code points; empty when the text is not valid UTF-8.
std::optional<std::u32string> DecodificarUtf8(std::string_view utf8);
void AcrescentarUtf8(std::string& destino, char32_t ponto);

}  // namespace rotulos
