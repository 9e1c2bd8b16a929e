#pragma once

// The on-disk layout of a Paradox .DB file: header, field descriptors, data
// blocks and field values. Pure functions over bytes, so that every check can
// be tested and fuzzed without a file.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "DataHora.h"

namespace rotulos::paradox {

enum class TipoCampo : std::uint8_t {
    Alpha = 0x01,
    Date = 0x02,
    Short = 0x03,
    Long = 0x04,
    Currency = 0x05,
    Number = 0x06,
    Logical = 0x09,
    Memo = 0x0C,
    Blob = 0x0D,
    FmtMemo = 0x0E,
    Ole = 0x0F,
    Graphic = 0x10,
    Time = 0x14,
    Timestamp = 0x15,
    AutoInc = 0x16,
    Bcd = 0x17,
    Bytes = 0x18,
};

struct Campo {
    std::string nome;
    TipoCampo tipo;
    std::uint8_t tamanhoDeclarado;  // header byte: width, or decimals for BCD
    std::uint16_t tamanho;          // bytes in the record
    std::uint16_t deslocamento;     // offset in the record
};

// Header offsets that writers touch.
namespace pos {
constexpr std::size_t kNumRegistros = 0x06;
constexpr std::size_t kBlocosEmUso = 0x0A;
constexpr std::size_t kBlocosNoArquivo = 0x0C;
constexpr std::size_t kPrimeiroBloco = 0x0E;
constexpr std::size_t kUltimoBloco = 0x10;
constexpr std::size_t kRaizIndice = 0x1E;
constexpr std::size_t kNiveisIndice = 0x20;
constexpr std::size_t kMaxBlocos = 0x3A;
constexpr std::size_t kAutoIncremento = 0x49;
constexpr std::size_t kPrimeiroLivre = 0x4D;
constexpr std::size_t kHoraAtualizacao = 0x60;
constexpr std::size_t kFimCabecalhoFixo = 0x58;
constexpr std::size_t kFimCabecalhoEstendido = 0x78;
}  // namespace pos

struct Cabecalho {
    std::uint16_t tamanhoRegistro;
    std::uint16_t tamanhoCabecalho;
    std::uint8_t tipoArquivo;
    std::uint32_t tamanhoBloco;  // bytes
    std::uint32_t numRegistros;
    std::uint16_t blocosEmUso;
    std::uint16_t blocosNoArquivo;
    std::uint16_t primeiroBloco;
    std::uint16_t ultimoBloco;
    std::uint16_t camposChave;
    std::uint8_t versao;
    bool estendido;  // has the 0x58..0x77 part (Paradox 4 and later)
    std::uint16_t codePage;
    std::uint16_t maxBlocos;
    std::uint32_t autoIncremento;
    std::uint16_t primeiroLivre;
    std::vector<Campo> campos;
};

// Parses and checks the header. `contexto` opens every error message.
Cabecalho LerCabecalho(std::span<const std::uint8_t> bytes, const std::string& contexto);

constexpr std::size_t kTamanhoInfoBloco = 6;

struct InfoBloco {
    std::uint16_t proximo;
    std::uint16_t anterior;
    std::uint32_t registros;  // 0 for an empty block left in the chain
};

InfoBloco LerInfoBloco(std::span<const std::uint8_t> seisBytes, const Cabecalho& cab, std::uint32_t numero,
                       const std::string& contexto);
void GravarInfoBloco(std::uint8_t* destino, const InfoBloco& info, const Cabecalho& cab);

std::uint64_t InicioDoBloco(const Cabecalho& cab, std::uint32_t numero);

bool DadosEmArquivoMb(TipoCampo tipo);
std::string NomeDoTipo(TipoCampo tipo);

// Field values. `valor` is the field's bytes within a record.
bool Nulo(const Campo& campo, std::span<const std::uint8_t> valor);
// The text value; throws Erro (opened by `contexto`) for a value that cannot be
// given as text (a memo, a corrupt number).
std::string Texto(const Campo& campo, std::span<const std::uint8_t> valor, const std::string& contexto);
// The beginning of a memo's text that the row keeps itself (all but the last
// 10 bytes, which point into the .MB file); empty for the other kinds kept
// there, whose bytes are not text.
std::string InicioDoMemo(const Campo& campo, std::span<const std::uint8_t> valor);
// Empty for NULL; throws for a type that holds no date.
std::optional<TDateTime> DataHora(const Campo& campo, std::span<const std::uint8_t> valor, const std::string& contexto);
// Stores `texto` as the field's bytes; empty text stores NULL. Throws when the
// text does not fit the column or is not a value of its type.
void Codificar(const Campo& campo, std::string_view texto, std::span<std::uint8_t> destino,
               const std::string& contexto);

}  // namespace rotulos::paradox
