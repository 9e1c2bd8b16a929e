// Field values: the bytes each type is stored as, and the texts they give.

#include <gtest/gtest.h>

#include <vector>

#include "CodePage.h"
#include "Erro.h"
#include "ParadoxFormato.h"

namespace rotulos::paradox {
namespace {

Campo CampoDe(TipoCampo tipo, std::uint8_t declarado) {
    const std::uint16_t tamanho = tipo == TipoCampo::Bcd ? 17 : declarado;
    return Campo{"Coluna", tipo, declarado, tamanho, 0};
}

struct CasoValor {
    const char* nome;
    TipoCampo tipo;
    std::uint8_t declarado;
    const char* texto;                // what is stored
    std::vector<std::uint8_t> bytes;  // how it is stored
    std::string textoLido;            // what reading gives back
};

class Valor : public ::testing::TestWithParam<CasoValor> {};

TEST_P(Valor, GravaOsBytesELeOTexto) {
    const CasoValor& caso = GetParam();
    const Campo campo = CampoDe(caso.tipo, caso.declarado);
    std::vector<std::uint8_t> bytes(campo.tamanho, 0xEE);
    Codificar(campo, caso.texto, bytes, "teste");
    EXPECT_EQ(bytes, caso.bytes);
    EXPECT_EQ(Texto(campo, bytes, "teste"), caso.textoLido);
}

std::vector<std::uint8_t> Bcd(std::uint8_t primeiro, std::initializer_list<std::pair<int, std::uint8_t>> posicoes) {
    std::vector<std::uint8_t> b(17, 0);
    b[0] = primeiro;
    for (const auto& [i, v] : posicoes) b[static_cast<std::size_t>(i)] = v;
    return b;
}

std::vector<std::uint8_t> Invertidos(std::vector<std::uint8_t> b) {
    for (auto& x : b) x = static_cast<std::uint8_t>(~x);
    return b;
}

INSTANTIATE_TEST_SUITE_P(
    Tipos, Valor,
    ::testing::Values(
        CasoValor{"AlphaComPreenchimento", TipoCampo::Alpha, 5, "ab", {'a', 'b', 0, 0, 0}, "ab"},
        CasoValor{"AlphaCheio", TipoCampo::Alpha, 3, "abc", {'a', 'b', 'c'}, "abc"},
        CasoValor{"Alpha8Bits", TipoCampo::Alpha, 2, "\xC1\xE7", {0xC1, 0xE7}, "\xC1\xE7"},
        CasoValor{"AlphaVazioENulo", TipoCampo::Alpha, 2, "", {0, 0}, ""},
        CasoValor{"ShortUm", TipoCampo::Short, 2, "1", {0x80, 0x01}, "1"},
        CasoValor{"ShortMenosUm", TipoCampo::Short, 2, "-1", {0x7F, 0xFF}, "-1"},
        CasoValor{"ShortZero", TipoCampo::Short, 2, "0", {0x80, 0x00}, "0"},
        CasoValor{"LongMaximo", TipoCampo::Long, 4, "2147483647", {0xFF, 0xFF, 0xFF, 0xFF}, "2147483647"},
        CasoValor{"LongNegativo", TipoCampo::Long, 4, "-2", {0x7F, 0xFF, 0xFF, 0xFE}, "-2"},
        CasoValor{"AutoInc", TipoCampo::AutoInc, 4, "7", {0x80, 0, 0, 7}, "7"},
        CasoValor{"NumeroComVirgula", TipoCampo::Number, 8, "12,5", {0xC0, 0x29, 0, 0, 0, 0, 0, 0}, "12,5"},
        CasoValor{"NumeroComPonto", TipoCampo::Number, 8, "12.5", {0xC0, 0x29, 0, 0, 0, 0, 0, 0}, "12,5"},
        CasoValor{"NumeroNegativo", TipoCampo::Number, 8, "-1", {0x40, 0x0F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, "-1"},
        CasoValor{"NumeroZero", TipoCampo::Number, 8, "0", {0x80, 0, 0, 0, 0, 0, 0, 0}, "0"},
        CasoValor{"NumeroQuinzeDigitos",
                  TipoCampo::Number,
                  8,
                  "0,1",
                  {0xBF, 0xB9, 0x99, 0x99, 0x99, 0x99, 0x99, 0x9A},
                  "0,1"},
        CasoValor{"Moeda", TipoCampo::Currency, 8, "1,5", {0xBF, 0xF8, 0, 0, 0, 0, 0, 0}, "1,5"},
        CasoValor{"Verdadeiro", TipoCampo::Logical, 1, "true", {0x81}, "true"},
        CasoValor{"Falso", TipoCampo::Logical, 1, "false", {0x80}, "false"},
        CasoValor{"DataIso", TipoCampo::Date, 4, "2018-01-01", {0x80, 0x0B, 0x3D, 0xB7}, "01/01/2018"},
        CasoValor{"DataBrasileira", TipoCampo::Date, 4, "05/03/2024", {0x80, 0x0B, 0x46, 0x86}, "05/03/2024"},
        CasoValor{"Hora", TipoCampo::Time, 4, "01:00:01", {0x80, 0x36, 0xF2, 0x68}, "01:00:01"},
        CasoValor{"HoraMeiaNoite", TipoCampo::Time, 4, "00:00:00", {0x80, 0, 0, 0}, "00:00:00"},
        CasoValor{"Carimbo",
                  TipoCampo::Timestamp,
                  8,
                  "2020-02-01 01:00:01",
                  {0xC2, 0xCC, 0xF9, 0x8A, 0xCB, 0x19, 0x34, 0x00},
                  "01/02/2020 01:00:01"},
        CasoValor{"BcdDuasCasas", TipoCampo::Bcd, 2, "1,23", Bcd(0x82, {{15, 0x01}, {16, 0x23}}), "1,23"},
        CasoValor{"BcdInteiro", TipoCampo::Bcd, 0, "1", Bcd(0x80, {{16, 0x01}}), "1"},
        CasoValor{"BcdNegativo", TipoCampo::Bcd, 2, "-1,23", Invertidos(Bcd(0x82, {{15, 0x01}, {16, 0x23}})), "-1,23"},
        CasoValor{"Bytes", TipoCampo::Bytes, 3, "\x01\x02", {1, 2, 0}, std::string("\x01\x02\x00", 3)}),
    [](const auto& info) { return std::string(info.param.nome); });

TEST(Valor, CarimboSeparaDiaEHora) {
    // The bytes of the "Carimbo" row are those the BDE wrote in field-timestamp.db.
    const Campo campo = CampoDe(TipoCampo::Timestamp, 8);
    std::vector<std::uint8_t> bytes(8);
    Codificar(campo, "2020-02-01 01:00:01", bytes, "teste");
    const TDateTime v = *DataHora(campo, bytes, "teste");
    EXPECT_EQ(v.dia, NumeroDoDia({2020, 2, 1}));
    EXPECT_EQ(v.milissegundos, 3'601'000);
}

TEST(Valor, NuloNaoTemData) {
    const Campo campo = CampoDe(TipoCampo::Date, 4);
    const std::vector<std::uint8_t> zeros(4, 0);
    EXPECT_TRUE(Nulo(campo, zeros));
    EXPECT_FALSE(DataHora(campo, zeros, "teste").has_value());
    EXPECT_EQ(Texto(campo, zeros, "teste"), "");
}

TEST(Valor, DataEmTextoComoDigitadaNoBrasil) {
    const Campo campo = CampoDe(TipoCampo::Alpha, 10);
    std::vector<std::uint8_t> bytes(10);
    Codificar(campo, "05/03/2024", bytes, "teste");
    EXPECT_EQ(*DataHora(campo, bytes, "teste"), (TDateTime{NumeroDoDia({2024, 3, 5}), 0}));
    Codificar(campo, "ontem", bytes, "teste");
    EXPECT_THROW(DataHora(campo, bytes, "teste"), Erro);
}

struct CasoRecusado {
    const char* nome;
    TipoCampo tipo;
    std::uint8_t declarado;
    const char* texto;
};

class ValorRecusado : public ::testing::TestWithParam<CasoRecusado> {};

TEST_P(ValorRecusado, LancaErroQueNomeiaAColuna) {
    const CasoRecusado& caso = GetParam();
    const Campo campo = CampoDe(caso.tipo, caso.declarado);
    std::vector<std::uint8_t> bytes(campo.tamanho);
    try {
        Codificar(campo, caso.texto, bytes, "Tabela \"C:\\TARVEL\\X.DB\"");
        FAIL() << "aceitou " << caso.texto;
    } catch (const Erro& e) {
        EXPECT_NE(std::string(e.what()).find("C:\\TARVEL\\X.DB"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("\"Coluna\""), std::string::npos) << e.what();
    }
}

INSTANTIATE_TEST_SUITE_P(Textos, ValorRecusado,
                         ::testing::Values(CasoRecusado{"AlphaLongoDemais", TipoCampo::Alpha, 3, "abcd"},
                                           CasoRecusado{"ShortForaDoIntervalo", TipoCampo::Short, 2, "40000"},
                                           CasoRecusado{"ShortQueSeriaNulo", TipoCampo::Short, 2, "-32768"},
                                           CasoRecusado{"LongComLetras", TipoCampo::Long, 4, "12a"},
                                           CasoRecusado{"NumeroVazioDeDigitos", TipoCampo::Number, 8, "abc"},
                                           CasoRecusado{"DataInexistente", TipoCampo::Date, 4, "2023-02-29"},
                                           CasoRecusado{"DataSemFormato", TipoCampo::Date, 4, "1/1/2020"},
                                           CasoRecusado{"HoraInvalida", TipoCampo::Time, 4, "24:00:00"},
                                           CasoRecusado{"Logico", TipoCampo::Logical, 1, "sim"},
                                           CasoRecusado{"BcdCasasDemais", TipoCampo::Bcd, 2, "1,234"},
                                           CasoRecusado{"Memo", TipoCampo::Memo, 11, "x"}),
                         [](const auto& info) { return std::string(info.param.nome); });

struct CasoCorrompido {
    const char* nome;
    TipoCampo tipo;
    std::uint8_t declarado;
    std::vector<std::uint8_t> bytes;
};

class ValorCorrompido : public ::testing::TestWithParam<CasoCorrompido> {};

TEST_P(ValorCorrompido, LancaErroEmVezDeUmValorErrado) {
    const CasoCorrompido& caso = GetParam();
    EXPECT_THROW(Texto(CampoDe(caso.tipo, caso.declarado), caso.bytes, "teste"), Erro);
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, ValorCorrompido,
    ::testing::Values(CasoCorrompido{"LogicoDesconhecido", TipoCampo::Logical, 1, {0x05}},
                      CasoCorrompido{"DataNegativa", TipoCampo::Date, 4, {0x00, 0x00, 0x00, 0x05}},
                      CasoCorrompido{"DataAlemDe9999", TipoCampo::Date, 4, {0xFF, 0xFF, 0xFF, 0xFF}},
                      CasoCorrompido{"HoraDeMaisDeUmDia", TipoCampo::Time, 4, {0xFF, 0, 0, 0}},
                      CasoCorrompido{"NumeroNaoFinito", TipoCampo::Number, 8, {0xFF, 0xF0, 0, 0, 0, 0, 0, 0}},
                      CasoCorrompido{"BcdComDigitoInvalido",
                                     TipoCampo::Bcd,
                                     0,
                                     {0x80, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xAB}}),
    [](const auto& info) { return std::string(info.param.nome); });

TEST(DataHora, FormataDiaMesAnoComDoisDigitos) {
    EXPECT_EQ(FormatDateTime("dd/mm/yy", {NumeroDoDia({2024, 3, 5}), 0}), "05/03/24");
    EXPECT_EQ(FormatDateTime("dd/mm/yy", {NumeroDoDia({1999, 12, 31}), 0}), "31/12/99");
    EXPECT_EQ(FormatDateTime("dd/mm/yy", {NumeroDoDia({2000, 1, 9}), 0}), "09/01/00");
}

TEST(DataHora, NumeroDoDiaComoOCalendarioGregorianoProleptico) {
    EXPECT_EQ(NumeroDoDia({1, 1, 1}), 1);
    EXPECT_EQ(NumeroDoDia({2018, 1, 1}), 736695);
    for (const std::int64_t dia : {1LL, 59LL, 60LL, 146097LL, 736695LL, 3652059LL}) {
        const DataCivil d = DataDoNumero(dia);
        EXPECT_TRUE(DataValida(d)) << dia;
        EXPECT_EQ(NumeroDoDia(d), dia);
    }
}

struct CasoCodePage {
    std::uint16_t numero;
    const char* bytes;
    const char* utf8;
};

class PaginaDeCodigo : public ::testing::TestWithParam<CasoCodePage> {};

// The same letters from each code page the installation's tables may carry, both ways.
TEST_P(PaginaDeCodigo, DecodificaECodificaDeVolta) {
    const CodePage pagina(GetParam().numero);
    EXPECT_EQ(pagina.ParaUtf8(GetParam().bytes), GetParam().utf8);
    EXPECT_EQ(pagina.DeUtf8(GetParam().utf8), std::string(GetParam().bytes));
}

INSTANTIATE_TEST_SUITE_P(Paginas, PaginaDeCodigo,
                         ::testing::Values(CasoCodePage{1252,
                                                        "\xC1"
                                                        "CIDO \xE3\xE7\x80",
                                                        "ÁCIDO ãç€"},
                                           CasoCodePage{0,
                                                        "\xC1"
                                                        "CIDO \xE3\xE7",
                                                        "ÁCIDO ãç"},
                                           CasoCodePage{850,
                                                        "\xB5"
                                                        "CIDO \xC6\x87",
                                                        "ÁCIDO ãç"},
                                           CasoCodePage{860,
                                                        "\x86"
                                                        "CIDO \x84\x87",
                                                        "ÁCIDO ãç"},
                                           CasoCodePage{437, "\x87\x82", "çé"}),
                         [](const auto& info) { return "cp" + std::to_string(info.param.numero); });

TEST(PaginaDeCodigo, DesconhecidaERecusadaComONumeroEATabela) {
    try {
        CodePage pagina(866, "Tabela \"T.DB\"");
        FAIL() << "aceitou o código de página 866";
    } catch (const Erro& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Tabela \"T.DB\": o código de página 866 não é conhecido por este programa (conhece 437, 850, 860 "
                  "e 1252).");
    }
    EXPECT_FALSE(CodePage::Conhecida(866));
    EXPECT_TRUE(CodePage::Conhecida(860));
}

}  // namespace
}  // namespace rotulos::paradox
