#include "CodePage.h"

#include "Erro.h"

namespace rotulos {

namespace {

#include "CodePageTables.inc"

// The upper half of a known code page; null for the others.
const char32_t* MetadeSuperior(std::uint16_t numero) {
    switch (numero) {
        case 0:  // old tables record none; the installation's is 1252
        case 1252: return kCp1252;
        case 437: return kCp437;
        case 850: return kCp850;
        case 860: return kCp860;
        default: return nullptr;
    }
}

}  // namespace

CodePage::CodePage(std::uint16_t numero, const std::string& contexto) : superior_(MetadeSuperior(numero)) {
    if (!superior_)
        throw Erro((contexto.empty() ? std::string() : contexto + ": ") + "o código de página " +
                   std::to_string(numero) + " não é conhecido por este programa (conhece " + kConhecidas + ").");
}

bool CodePage::Conhecida(std::uint16_t numero) { return MetadeSuperior(numero) != nullptr; }

void AcrescentarUtf8(std::string& destino, char32_t ponto) {
    if (ponto < 0x80) {
        destino += static_cast<char>(ponto);
    } else if (ponto < 0x800) {
        destino += static_cast<char>(0xC0 | (ponto >> 6));
        destino += static_cast<char>(0x80 | (ponto & 0x3F));
    } else if (ponto < 0x10000) {
        destino += static_cast<char>(0xE0 | (ponto >> 12));
        destino += static_cast<char>(0x80 | ((ponto >> 6) & 0x3F));
        destino += static_cast<char>(0x80 | (ponto & 0x3F));
    } else {
        destino += static_cast<char>(0xF0 | (ponto >> 18));
        destino += static_cast<char>(0x80 | ((ponto >> 12) & 0x3F));
        destino += static_cast<char>(0x80 | ((ponto >> 6) & 0x3F));
        destino += static_cast<char>(0x80 | (ponto & 0x3F));
    }
}

std::optional<std::u32string> DecodificarUtf8(std::string_view utf8) {
    std::u32string pontos;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        int extras = 0;
        char32_t ponto = 0;
        if (c < 0x80) {
            ponto = c;
        } else if ((c & 0xE0) == 0xC0 && c >= 0xC2) {
            extras = 1;
            ponto = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            extras = 2;
            ponto = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0 && c <= 0xF4) {
            extras = 3;
            ponto = c & 0x07;
        } else {
            return std::nullopt;
        }
        if (extras > 0 && i + static_cast<std::size_t>(extras) >= utf8.size()) return std::nullopt;
        for (int k = 1; k <= extras; ++k) {
            const auto cont = static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]);
            if ((cont & 0xC0) != 0x80) return std::nullopt;
            ponto = (ponto << 6) | (cont & 0x3F);
        }
        const char32_t minimo[] = {0, 0x80, 0x800, 0x10000};
        if (ponto < minimo[extras] || ponto > 0x10FFFF || (ponto >= 0xD800 && ponto <= 0xDFFF)) return std::nullopt;
        pontos += ponto;
        i += static_cast<std::size_t>(extras) + 1;
    }
    return pontos;
}

std::string CodePage::ParaUtf8(std::string_view bytes) const {
    std::string texto;
    texto.reserve(bytes.size());
    for (const char b : bytes) {
        const auto byte = static_cast<unsigned char>(b);
        // Bytes a code page leaves undefined keep their own value, as Windows maps them.
        const char32_t ponto = byte < 0x80 ? byte : (superior_[byte - 0x80] ? superior_[byte - 0x80] : byte);
        AcrescentarUtf8(texto, ponto);
    }
    return texto;
}

std::optional<std::string> CodePage::DeUtf8(std::string_view utf8) const {
    const auto pontos = DecodificarUtf8(utf8);
    if (!pontos) return std::nullopt;
    std::string bytes;
    bytes.reserve(pontos->size());
    for (const char32_t ponto : *pontos) {
        if (ponto < 0x80) {
            bytes += static_cast<char>(ponto);
            continue;
        }
        int achado = -1;
        for (int i = 0; i < 128; ++i) {
            if (superior_[i] == ponto || (superior_[i] == 0 && ponto == static_cast<char32_t>(0x80 + i))) {
                achado = i;
                break;
            }
        }
        if (achado < 0) return std::nullopt;
        bytes += static_cast<char>(0x80 + achado);
    }
    return bytes;
}

}  // namespace rotulos
