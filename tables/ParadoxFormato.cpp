#include "ParadoxFormato.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "Bytes.h"
#include "Erro.h"

namespace rotulos::paradox {

namespace {

constexpr std::uint16_t kTamanhoBcd = 17;
constexpr std::int64_t kUltimoDia = 3652059;  // 9999-12-31
constexpr std::int64_t kMsPorDia = 86'400'000;

[[noreturn]] void Falhar(const std::string& contexto, const std::string& causa) {
    throw Erro(contexto + ": " + causa + ".");
}

std::string Aspas(const std::string& nome) { return "\"" + nome + "\""; }

// Where a value failed, spelled out only when there is a failure to report:
// values are read in hot loops.
struct Onde {
    const std::string& contexto;
    const Campo& campo;
    operator std::string() const { return contexto + ", coluna " + Aspas(campo.nome); }
};

[[noreturn]] void Falhar(const Onde& onde, const std::string& causa) { Falhar(std::string(onde), causa); }

std::optional<std::uint16_t> TamanhoArmazenado(TipoCampo tipo, std::uint8_t declarado) {
    switch (tipo) {
        case TipoCampo::Alpha:
        case TipoCampo::Bytes: return declarado >= 1 ? std::optional<std::uint16_t>(declarado) : std::nullopt;
        case TipoCampo::Short: return declarado == 2 ? std::optional<std::uint16_t>(2) : std::nullopt;
        case TipoCampo::Date:
        case TipoCampo::Long:
        case TipoCampo::Time:
        case TipoCampo::AutoInc: return declarado == 4 ? std::optional<std::uint16_t>(4) : std::nullopt;
        case TipoCampo::Currency:
        case TipoCampo::Number:
        case TipoCampo::Timestamp: return declarado == 8 ? std::optional<std::uint16_t>(8) : std::nullopt;
        case TipoCampo::Logical: return declarado == 1 ? std::optional<std::uint16_t>(1) : std::nullopt;
        case TipoCampo::Memo:
        case TipoCampo::Blob:
        case TipoCampo::FmtMemo:
        case TipoCampo::Ole:
        case TipoCampo::Graphic: return declarado >= 10 ? std::optional<std::uint16_t>(declarado) : std::nullopt;
        case TipoCampo::Bcd: return declarado <= 32 ? std::optional<std::uint16_t>(kTamanhoBcd) : std::nullopt;
    }
    return std::nullopt;
}

bool TipoConhecido(std::uint8_t codigo) {
    // clang-format off
    switch (codigo) {
        case 0x01: case 0x02: case 0x03: case 0x04: case 0x05: case 0x06: case 0x09:
        case 0x0C: case 0x0D: case 0x0E: case 0x0F: case 0x10:
        case 0x14: case 0x15: case 0x16: case 0x17: case 0x18: return true;
        default: return false;
    }
    // clang-format on
}

std::uint64_t BigEndian(std::span<const std::uint8_t> v) {
    std::uint64_t x = 0;
    for (const std::uint8_t b : v) x = (x << 8) | b;
    return x;
}

void GravarBigEndian(std::span<std::uint8_t> destino, std::uint64_t x) {
    for (std::size_t i = destino.size(); i-- > 0;) {
        destino[i] = static_cast<std::uint8_t>(x & 0xFF);
        x >>= 8;
    }
}

// Short, Long, Date, Time and AutoInc: big-endian with the sign bit flipped.
std::int64_t Inteiro(std::span<const std::uint8_t> v) {
    const unsigned bits = static_cast<unsigned>(v.size() * 8);
    const std::uint64_t sinal = std::uint64_t{1} << (bits - 1);
    const std::uint64_t cru = BigEndian(v) ^ sinal;
    return static_cast<std::int64_t>(cru) - ((cru & sinal) ? static_cast<std::int64_t>(sinal) * 2 : 0);
}

void GravarInteiro(std::span<std::uint8_t> destino, std::int64_t valor) {
    const unsigned bits = static_cast<unsigned>(destino.size() * 8);
    const std::uint64_t mascara = bits == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << bits) - 1;
    GravarBigEndian(destino, (static_cast<std::uint64_t>(valor) & mascara) ^ (std::uint64_t{1} << (bits - 1)));
}

// Number, Currency and Timestamp: IEEE double, sign bit set when positive, all bits inverted when negative.
double Real(std::span<const std::uint8_t> v) {
    std::uint64_t cru = BigEndian(v);
    cru = (cru & (std::uint64_t{1} << 63)) ? cru & ~(std::uint64_t{1} << 63) : ~cru;
    double d;
    std::memcpy(&d, &cru, sizeof d);
    return d;
}

void GravarReal(std::span<std::uint8_t> destino, double d) {
    std::uint64_t cru;
    std::memcpy(&cru, &d, sizeof cru);
    cru = std::signbit(d) ? ~cru : cru | (std::uint64_t{1} << 63);
    GravarBigEndian(destino, cru);
}

std::string FormatarReal(double d) {
    char b[40];
    std::snprintf(b, sizeof b, "%.15G", d);
    std::string s = b;
    std::replace(s.begin(), s.end(), '.', ',');
    return s;
}

std::optional<double> LerReal(std::string_view texto) {
    std::string s(texto);
    std::replace(s.begin(), s.end(), ',', '.');
    double d = 0;
    const char* fim = s.data() + s.size();
    const auto r = std::from_chars(s.data(), fim, d);
    if (r.ec != std::errc() || r.ptr != fim || !std::isfinite(d)) return std::nullopt;
    return d;
}

std::optional<std::int64_t> LerInteiro(std::string_view texto) {
    std::int64_t v = 0;
    const char* fim = texto.data() + texto.size();
    const auto r = std::from_chars(texto.data(), fim, v);
    if (r.ec != std::errc() || r.ptr != fim) return std::nullopt;
    return v;
}

std::int64_t DiaValido(std::int64_t dia, const Onde& contexto) {
    if (dia < 1 || dia > kUltimoDia) Falhar(contexto, "data inválida (dia " + std::to_string(dia) + ")");
    return dia;
}

std::int64_t HoraValida(std::int64_t ms, const Onde& contexto) {
    if (ms < 0 || ms >= kMsPorDia) Falhar(contexto, "hora inválida (" + std::to_string(ms) + " ms)");
    return ms;
}

TDateTime Carimbo(double ms, const Onde& contexto) {
    if (!std::isfinite(ms) || ms < static_cast<double>(kMsPorDia) ||
        ms >= static_cast<double>(kMsPorDia) * (kUltimoDia + 1))
        Falhar(contexto, "data e hora inválidas");
    const auto total = static_cast<std::int64_t>(std::floor(ms));
    return {total / kMsPorDia, total % kMsPorDia};
}

std::string TextoBcd(const Campo& campo, std::span<const std::uint8_t> v, const Onde& contexto) {
    std::uint8_t b[kTamanhoBcd];
    std::copy(v.begin(), v.end(), b);
    const bool negativo = !(b[0] & 0x80);
    if (negativo) {
        for (auto& x : b) x = static_cast<std::uint8_t>(~x);
    }
    const int decimais = campo.tamanhoDeclarado;
    // 17 significant digits are more than a double holds; digits past them do not change the text.
    std::uint64_t mantissa = 0;
    int significativos = 0;
    int expoente = 0;
    for (int i = 0; i < 32; ++i) {
        const int nibble = (i % 2 == 0) ? (b[1 + i / 2] >> 4) : (b[1 + i / 2] & 0x0F);
        const bool fracao = i >= 32 - decimais;
        if (significativos >= 17) {
            if (!fracao) ++expoente;
            continue;
        }
        if (nibble > 9) Falhar(contexto, "número decimal (BCD) inválido");
        if (mantissa == 0 && nibble == 0) {
            if (fracao) --expoente;
            continue;
        }
        mantissa = mantissa * 10 + static_cast<std::uint64_t>(nibble);
        ++significativos;
        if (fracao) --expoente;
    }
    const long double valor = static_cast<long double>(mantissa) * std::pow(10.0L, expoente);
    return FormatarReal(static_cast<double>(negativo ? -valor : valor));
}

void CodificarBcd(const Campo& campo, std::string_view texto, std::span<std::uint8_t> destino, const Onde& contexto) {
    const bool negativo = !texto.empty() && texto.front() == '-';
    if (negativo || (!texto.empty() && texto.front() == '+')) texto.remove_prefix(1);
    const auto separador = texto.find_first_of(",.");
    std::string_view inteira = texto.substr(0, separador);
    std::string_view fracao = separador == std::string_view::npos ? std::string_view() : texto.substr(separador + 1);
    const int decimais = campo.tamanhoDeclarado;
    const auto soDigitos = [](std::string_view s) {
        return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    while (inteira.size() > 1 && inteira.front() == '0') inteira.remove_prefix(1);
    while (!fracao.empty() && fracao.back() == '0') fracao.remove_suffix(1);
    if ((inteira.empty() && fracao.empty()) || !soDigitos(inteira) || !soDigitos(fracao))
        Falhar(contexto, "\"" + std::string(texto) + "\" não é um número");
    if (static_cast<int>(fracao.size()) > decimais || static_cast<int>(inteira.size()) > 32 - decimais)
        Falhar(contexto, "o número " + std::string(texto) + " não cabe na coluna " + Aspas(campo.nome));
    std::string digitos(static_cast<std::size_t>(32 - decimais) - inteira.size(), '0');
    digitos += inteira;
    digitos += fracao;
    digitos.append(32 - digitos.size(), '0');
    const bool zero = std::all_of(digitos.begin(), digitos.end(), [](char c) { return c == '0'; });
    destino[0] = static_cast<std::uint8_t>(0x80 | decimais);
    for (int i = 0; i < 16; ++i)
        destino[1 + static_cast<std::size_t>(i)] =
            static_cast<std::uint8_t>(((digitos[2 * i] - '0') << 4) | (digitos[2 * i + 1] - '0'));
    if (negativo && !zero) {
        for (auto& x : destino) x = static_cast<std::uint8_t>(~x);
    }
}

}  // namespace

std::string NomeDoTipo(TipoCampo tipo) {
    switch (tipo) {
        case TipoCampo::Alpha: return "alfanumérico";
        case TipoCampo::Date: return "data";
        case TipoCampo::Short: return "inteiro curto";
        case TipoCampo::Long: return "inteiro longo";
        case TipoCampo::Currency: return "moeda";
        case TipoCampo::Number: return "número";
        case TipoCampo::Logical: return "lógico";
        case TipoCampo::Memo: return "memo";
        case TipoCampo::Blob: return "BLOb";
        case TipoCampo::FmtMemo: return "memo formatado";
        case TipoCampo::Ole: return "OLE";
        case TipoCampo::Graphic: return "gráfico";
        case TipoCampo::Time: return "hora";
        case TipoCampo::Timestamp: return "data e hora";
        case TipoCampo::AutoInc: return "autoincremento";
        case TipoCampo::Bcd: return "decimal (BCD)";
        case TipoCampo::Bytes: return "bytes";
    }
    return "desconhecido";
}

bool DadosEmArquivoMb(TipoCampo tipo) {
    return tipo == TipoCampo::Memo || tipo == TipoCampo::Blob || tipo == TipoCampo::FmtMemo || tipo == TipoCampo::Ole ||
           tipo == TipoCampo::Graphic;
}

Cabecalho LerCabecalho(std::span<const std::uint8_t> bytes, const std::string& contexto) {
    const std::string onde = contexto + ": cabeçalho";
    if (bytes.size() < pos::kFimCabecalhoFixo) Falhar(contexto, "não é uma tabela Paradox (arquivo curto demais)");
    const LeitorBytes r(bytes, onde);
    Cabecalho c{};
    c.tamanhoRegistro = r.U16(0x00);
    c.tamanhoCabecalho = r.U16(0x02);
    c.tipoArquivo = r.U8(0x04);
    const std::uint8_t blocoKiB = r.U8(0x05);
    c.numRegistros = r.U32(pos::kNumRegistros);
    c.blocosEmUso = r.U16(pos::kBlocosEmUso);
    c.blocosNoArquivo = r.U16(pos::kBlocosNoArquivo);
    c.primeiroBloco = r.U16(pos::kPrimeiroBloco);
    c.ultimoBloco = r.U16(pos::kUltimoBloco);
    const std::int16_t numCampos = r.S16(0x21);
    const std::int16_t camposChave = r.S16(0x23);
    c.versao = r.U8(0x39);
    c.maxBlocos = r.U16(pos::kMaxBlocos);
    c.autoIncremento = r.U32(pos::kAutoIncremento);
    c.primeiroLivre = r.U16(pos::kPrimeiroLivre);

    if (c.tipoArquivo != 0 && c.tipoArquivo != 2)
        Falhar(contexto, "não é uma tabela Paradox (.DB): tipo de arquivo " + std::to_string(c.tipoArquivo));
    if (c.versao < 3 || c.versao > 12)
        Falhar(contexto, "não é uma tabela Paradox: versão " + std::to_string(c.versao) + " desconhecida");
    if (blocoKiB < 1 || blocoKiB > 32) Falhar(onde, "tamanho de bloco inválido (" + std::to_string(blocoKiB) + " KiB)");
    c.tamanhoBloco = std::uint32_t{blocoKiB} * 1024;
    if (numCampos < 1 || numCampos > 255)
        Falhar(onde, "número de colunas inválido (" + std::to_string(numCampos) + ")");
    if (camposChave < 0 || camposChave > numCampos)
        Falhar(onde, "número de colunas da chave inválido (" + std::to_string(camposChave) + ")");
    c.camposChave = static_cast<std::uint16_t>(camposChave);
    if (r.U8(0x14) != 0 || r.U8(0x2A) != 0)
        Falhar(contexto, "a tabela está marcada como danificada e precisa ser reconstruída pelo Paradox");

    // Paradox 3.x files end the fixed header at 0x58; 4.x and later add 0x58..0x77.
    c.estendido = c.versao >= 5;
    const std::uint32_t senha1 = r.U32(0x25);
    const bool protegida = c.estendido ? (senha1 != 0 && senha1 != 0xFF00FF00u) || r.U32(0x5C) != 0 : senha1 != 0;
    if (protegida) Falhar(contexto, "a tabela é protegida por senha");
    std::size_t p = c.estendido ? pos::kFimCabecalhoEstendido : pos::kFimCabecalhoFixo;
    c.codePage = c.estendido ? r.U16(0x6A) : 0;
    if (c.tamanhoCabecalho < p || c.tamanhoCabecalho > bytes.size())
        Falhar(onde, "tamanho do cabeçalho inválido (" + std::to_string(c.tamanhoCabecalho) + " bytes)");
    const LeitorBytes h(bytes.first(c.tamanhoCabecalho), onde);

    const auto n = static_cast<std::size_t>(numCampos);
    std::uint32_t soma = 0;
    c.campos.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint8_t codigo = h.U8(p + 2 * i);
        const std::uint8_t declarado = h.U8(p + 2 * i + 1);
        if (!TipoConhecido(codigo))
            Falhar(onde, "coluna " + std::to_string(i + 1) + " de tipo desconhecido (" + std::to_string(codigo) + ")");
        const auto tipo = static_cast<TipoCampo>(codigo);
        const auto tamanho = TamanhoArmazenado(tipo, declarado);
        if (!tamanho)
            Falhar(onde,
                   "coluna " + std::to_string(i + 1) + " com tamanho inválido (" + std::to_string(declarado) + ")");
        c.campos[i] = Campo{"", tipo, declarado, *tamanho, static_cast<std::uint16_t>(soma)};
        soma += *tamanho;
    }
    if (soma != c.tamanhoRegistro)
        Falhar(onde, "o tamanho do registro (" + std::to_string(c.tamanhoRegistro) + ") não confere com as colunas (" +
                         std::to_string(soma) + ")");
    if (c.tamanhoRegistro + kTamanhoInfoBloco > c.tamanhoBloco) Falhar(onde, "o registro não cabe num bloco");

    p += 2 * n + 4 + 4 * n;          // field descriptors, then memory pointers kept as found
    p += c.versao >= 12 ? 261 : 79;  // table name
    for (std::size_t i = 0; i < n; ++i) {
        std::size_t fim = p;
        while (fim < c.tamanhoCabecalho && bytes[fim] != 0) ++fim;
        if (fim >= c.tamanhoCabecalho) Falhar(onde, "nomes das colunas truncados");
        c.campos[i].nome.assign(reinterpret_cast<const char*>(bytes.data() + p), fim - p);
        p = fim + 1;
    }
    return c;
}

std::uint64_t InicioDoBloco(const Cabecalho& cab, std::uint32_t numero) {
    return cab.tamanhoCabecalho + static_cast<std::uint64_t>(numero - 1) * cab.tamanhoBloco;
}

InfoBloco LerInfoBloco(std::span<const std::uint8_t> seisBytes, const Cabecalho& cab, std::uint32_t numero,
                       const std::string& contexto) {
    const LeitorBytes r(seisBytes, contexto + ": bloco " + std::to_string(numero));
    InfoBloco info{r.U16(0), r.U16(2), 0};
    const std::int32_t adicional = r.S16(4);
    const std::int32_t tamanho = cab.tamanhoRegistro;
    const std::int32_t capacidade =
        static_cast<std::int32_t>((cab.tamanhoBloco - kTamanhoInfoBloco) / cab.tamanhoRegistro);
    if (adicional < -tamanho || adicional % tamanho != 0 || adicional / tamanho + 1 > capacidade)
        r.Falhar("contagem de registros do bloco inválida (" + std::to_string(adicional) + ")");
    info.registros = static_cast<std::uint32_t>(adicional / tamanho + 1);
    return info;
}

void GravarInfoBloco(std::uint8_t* destino, const InfoBloco& info, const Cabecalho& cab) {
    GravarU16(destino, info.proximo);
    GravarU16(destino + 2, info.anterior);
    const auto adicional =
        static_cast<std::int16_t>((static_cast<std::int32_t>(info.registros) - 1) * cab.tamanhoRegistro);
    GravarU16(destino + 4, static_cast<std::uint16_t>(adicional));
}

bool Nulo(const Campo& campo, std::span<const std::uint8_t> valor) {
    if (campo.tipo == TipoCampo::Bcd) return valor[0] == 0;
    return std::all_of(valor.begin(), valor.end(), [](std::uint8_t b) { return b == 0; });
}

std::string Texto(const Campo& campo, std::span<const std::uint8_t> v, const std::string& contexto) {
    const Onde onde{contexto, campo};
    if (DadosEmArquivoMb(campo.tipo))
        Falhar(onde, "colunas do tipo " + NomeDoTipo(campo.tipo) +
                         " guardam os dados no arquivo .MB, que este programa não lê");
    if (Nulo(campo, v)) return {};
    switch (campo.tipo) {
        case TipoCampo::Alpha: {
            const auto fim = std::find(v.begin(), v.end(), std::uint8_t{0});
            return std::string(v.begin(), fim);
        }
        case TipoCampo::Bytes: return std::string(v.begin(), v.end());
        case TipoCampo::Short:
        case TipoCampo::Long:
        case TipoCampo::AutoInc: return std::to_string(Inteiro(v));
        case TipoCampo::Number:
        case TipoCampo::Currency: {
            const double d = Real(v);
            if (!std::isfinite(d)) Falhar(onde, "número inválido");
            return FormatarReal(d);
        }
        case TipoCampo::Bcd: return TextoBcd(campo, v, onde);
        case TipoCampo::Logical:
            if (v[0] == 0x80) return "false";
            if (v[0] == 0x81) return "true";
            Falhar(onde, "valor lógico inválido (" + std::to_string(v[0]) + ")");
        case TipoCampo::Date: return FormatDateTime("dd/mm/yyyy", {DiaValido(Inteiro(v), onde), 0});
        case TipoCampo::Time: return FormatDateTime("hh:nn:ss", {1, HoraValida(Inteiro(v), onde)});
        case TipoCampo::Timestamp: return FormatDateTime("dd/mm/yyyy hh:nn:ss", Carimbo(Real(v), onde));
        default: break;
    }
    Falhar(onde, "tipo de coluna sem valor de texto");
}

std::string InicioDoMemo(const Campo& campo, std::span<const std::uint8_t> v) {
    if (campo.tipo != TipoCampo::Memo || v.size() <= 10) return {};
    const auto texto = v.first(v.size() - 10);
    return std::string(texto.begin(), std::find(texto.begin(), texto.end(), std::uint8_t{0}));
}

std::optional<TDateTime> DataHora(const Campo& campo, std::span<const std::uint8_t> v, const std::string& contexto) {
    const Onde onde{contexto, campo};
    switch (campo.tipo) {
        case TipoCampo::Date:
            if (Nulo(campo, v)) return std::nullopt;
            return TDateTime{DiaValido(Inteiro(v), onde), 0};
        case TipoCampo::Timestamp:
            if (Nulo(campo, v)) return std::nullopt;
            return Carimbo(Real(v), onde);
        case TipoCampo::Alpha: {
            // Some programs keep dates as typed text; read those the way they are typed here.
            const std::string texto = Texto(campo, v, contexto);
            if (texto.empty()) return std::nullopt;
            if (const auto data = LerData(texto)) return TDateTime{NumeroDoDia(*data), 0};
            Falhar(onde, "\"" + texto + "\" não é uma data");
        }
        default: break;
    }
    Falhar(onde, "uma coluna do tipo " + NomeDoTipo(campo.tipo) + " não contém data");
}

void Codificar(const Campo& campo, std::string_view texto, std::span<std::uint8_t> destino,
               const std::string& contexto) {
    const Onde onde{contexto, campo};
    std::fill(destino.begin(), destino.end(), std::uint8_t{0});
    if (DadosEmArquivoMb(campo.tipo))
        Falhar(onde, "colunas do tipo " + NomeDoTipo(campo.tipo) + " não podem ser gravadas por este programa");
    if (texto.empty()) return;
    const auto invalido = [&]() {
        Falhar(onde, "\"" + std::string(texto) + "\" não é um valor do tipo " + NomeDoTipo(campo.tipo));
    };
    switch (campo.tipo) {
        case TipoCampo::Alpha:
        case TipoCampo::Bytes:
            if (texto.size() > destino.size())
                Falhar(onde, "o texto tem " + std::to_string(texto.size()) + " caracteres e a coluna só comporta " +
                                 std::to_string(destino.size()));
            if (campo.tipo == TipoCampo::Alpha && texto.find('\0') != std::string_view::npos) invalido();
            std::copy(texto.begin(), texto.end(), destino.begin());
            return;
        case TipoCampo::Short:
        case TipoCampo::Long:
        case TipoCampo::AutoInc: {
            const auto v = LerInteiro(texto);
            // The most negative value would be stored as all zeros, which is NULL.
            const std::int64_t limite = campo.tipo == TipoCampo::Short ? 32767 : 2147483647;
            if (!v) invalido();
            if (*v < -limite || *v > limite)
                Falhar(onde, "o número " + std::string(texto) + " está fora do intervalo da coluna");
            GravarInteiro(destino, *v);
            return;
        }
        case TipoCampo::Number:
        case TipoCampo::Currency: {
            const auto d = LerReal(texto);
            if (!d) invalido();
            GravarReal(destino, *d);
            return;
        }
        case TipoCampo::Bcd: CodificarBcd(campo, texto, destino, onde); return;
        case TipoCampo::Logical:
            if (texto == "true")
                destino[0] = 0x81;
            else if (texto == "false")
                destino[0] = 0x80;
            else
                invalido();
            return;
        case TipoCampo::Date: {
            const auto d = LerData(texto);
            if (!d) invalido();
            GravarInteiro(destino, NumeroDoDia(*d));
            return;
        }
        case TipoCampo::Time: {
            const auto ms = LerHora(texto);
            if (!ms) invalido();
            GravarInteiro(destino, *ms);
            return;
        }
        case TipoCampo::Timestamp: {
            const auto espaco = texto.find(' ');
            const auto d = LerData(texto.substr(0, espaco));
            const auto ms =
                espaco == std::string_view::npos ? std::optional<std::int64_t>(0) : LerHora(texto.substr(espaco + 1));
            if (!d || !ms) invalido();
            GravarReal(destino, static_cast<double>(NumeroDoDia(*d) * kMsPorDia + *ms));
            return;
        }
        default: break;
    }
    invalido();
}

}  // namespace rotulos::paradox
