#pragma once

// Bounds-checked reads from a byte buffer. Every read names where it failed, so
// a truncated or corrupted file gives a clear message and never a stray read.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>

#include "Erro.h"

namespace rotulos {

class LeitorBytes {
public:
    // `contexto` opens every error message ("Tabela \"C:\...\": cabeçalho").
    LeitorBytes(std::span<const std::uint8_t> dados, std::string contexto)
        : dados_(dados), contexto_(std::move(contexto)) {}

    std::uint8_t U8(std::size_t pos) const {
        Exigir(pos, 1);
        return dados_[pos];
    }
    std::uint16_t U16(std::size_t pos) const {
        Exigir(pos, 2);
        return static_cast<std::uint16_t>(dados_[pos] | (dados_[pos + 1] << 8));
    }
    std::int16_t S16(std::size_t pos) const { return static_cast<std::int16_t>(U16(pos)); }
    std::uint32_t U32(std::size_t pos) const {
        Exigir(pos, 4);
        return static_cast<std::uint32_t>(dados_[pos]) | (static_cast<std::uint32_t>(dados_[pos + 1]) << 8) |
               (static_cast<std::uint32_t>(dados_[pos + 2]) << 16) |
               (static_cast<std::uint32_t>(dados_[pos + 3]) << 24);
    }

    [[noreturn]] void Falhar(const std::string& causa) const { throw Erro(contexto_ + ": " + causa + "."); }

private:
    void Exigir(std::size_t pos, std::size_t n) const {
        if (pos > dados_.size() || n > dados_.size() - pos)
            Falhar("termina antes do esperado (faltam dados na posição " + std::to_string(pos) + ")");
    }

    std::span<const std::uint8_t> dados_;
    std::string contexto_;
};

inline void GravarU16(std::uint8_t* p, std::uint16_t v) {
    p[0] = static_cast<std::uint8_t>(v & 0xFF);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

inline void GravarU32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>((v >> (8 * i)) & 0xFF);
}

}  // namespace rotulos
