// Damaged files: every one gives an Erro that names the table and the cause,
// never a crash, a hang or a wrong value.

#include <gtest/gtest.h>

#include <functional>

#include "../../fuzz/LerTabela.h"
#include "../support/Temporario.h"
#include "../support/UnidadeC.h"
#include "Bytes.h"
#include "Erro.h"
#include "TTable.h"

namespace rotulos {
namespace {

using teste::LerArquivo;
using teste::PastaTemporaria;

struct CasoDano {
    const char* nome;
    std::function<void(std::vector<std::uint8_t>&)> danificar;
    const char* causa;  // part of the message
};

class ArquivoDanificado : public ::testing::TestWithParam<CasoDano> {};

TEST_P(ArquivoDanificado, ErroNomeiaATabelaEACausa) {
    PastaTemporaria pasta;
    const std::string caminho = teste::CopiarAmostra(pasta, "listitem-422-rows.db");
    auto bytes = LerArquivo(caminho);
    GetParam().danificar(bytes);
    teste::GravarArquivo(caminho, bytes);
    try {
        LerTabelaInteira(caminho);
        FAIL() << "leu o arquivo danificado";
    } catch (const Erro& e) {
        const std::string mensagem = e.what();
        EXPECT_NE(mensagem.find(caminho), std::string::npos) << mensagem;
        EXPECT_NE(mensagem.find(GetParam().causa), std::string::npos) << mensagem;
    }
}

// listitem-422-rows.db: 58-byte records, 2 KiB blocks, 14 blocks, chain 1..13.
INSTANTIATE_TEST_SUITE_P(
    Danos, ArquivoDanificado,
    ::testing::Values(CasoDano{"Vazio", [](auto& b) { b.clear(); }, "não é uma tabela Paradox"},
                      CasoDano{"Texto", [](auto& b) { b.assign(3000, 'x'); }, "não é uma tabela Paradox"},
                      CasoDano{"CabecalhoCortado", [](auto& b) { b.resize(0x70); }, "tamanho do cabeçalho inválido"},
                      CasoDano{"NomesCortados", [](auto& b) { b.resize(0x1A0); }, "tamanho do cabeçalho inválido"},
                      CasoDano{"BlocoCortado", [](auto& b) { b.resize(2048 + 2048 * 4 + 100); }, "bloco"},
                      CasoDano{"SemBlocos", [](auto& b) { b.resize(2048); }, "não existe no arquivo"},
                      CasoDano{"TipoDeArquivoIndice", [](auto& b) { b[0x04] = 1; }, "não é uma tabela Paradox (.DB)"},
                      CasoDano{"VersaoDesconhecida", [](auto& b) { b[0x39] = 0x40; }, "versão 64 desconhecida"},
                      CasoDano{"BlocoDeZeroKiB", [](auto& b) { b[0x05] = 0; }, "tamanho de bloco inválido"},
                      CasoDano{"SemColunas", [](auto& b) { GravarU16(&b[0x21], 0); }, "número de colunas inválido"},
                      CasoDano{"ChaveMaiorQueAsColunas", [](auto& b) { GravarU16(&b[0x23], 9); }, "colunas da chave"},
                      CasoDano{"TamanhoDoRegistro", [](auto& b) { GravarU16(&b[0x00], 57); }, "tamanho do registro"},
                      CasoDano{"TipoDeColuna", [](auto& b) { b[0x78] = 0x07; }, "tipo desconhecido"},
                      CasoDano{"TamanhoDaColuna", [](auto& b) { b[0x79] = 3; }, "tamanho inválido"},
                      CasoDano{"CadeiaEmCiclo", [](auto& b) { GravarU16(&b[2048 + 2048 * 2], 1); }, "ciclo"},
                      CasoDano{"CadeiaParaForaDoArquivo", [](auto& b) { GravarU16(&b[2048], 999); }, "bloco 999"},
                      CasoDano{"PrimeiroBlocoInexistente", [](auto& b) { GravarU16(&b[0x0E], 60000); }, "bloco 60000"},
                      CasoDano{"ContagemDoBlocoTorta", [](auto& b) { GravarU16(&b[2048 + 4], 57); },
                               "contagem de registros do bloco"},
                      CasoDano{"ContagemDoBlocoDemais", [](auto& b) { GravarU16(&b[2048 + 4], 58 * 40); },
                               "contagem de registros do bloco"},
                      CasoDano{"MarcadaParaReconstruir", [](auto& b) { b[0x14] = 1; }, "reconstruída"},
                      CasoDano{"ProtegidaPorSenha", [](auto& b) { GravarU32(&b[0x5C], 0x12345678); }, "senha"}),
    [](const auto& info) { return std::string(info.param.nome); });

TEST(ArquivoDanificado, ArquivoInexistenteNomeiaOCaminhoDoWindows) {
    teste::UnidadeC unidade;
    unidade.Novo("TMP239.DB");
    TTable t("C:\\TARVEL\\TMP239.DB");
    try {
        t.Open();
        FAIL();
    } catch (const Erro& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Não foi possível abrir \"C:\\TARVEL\\TMP239.DB\": arquivo ou pasta inexistente.");
    }
    EXPECT_FALSE(t.Active());
}

TEST(ArquivoDanificado, PastaNoLugarDaTabela) {
    PastaTemporaria pasta;
    TTable t(pasta.Caminho().string());
    EXPECT_THROW(t.Open(), Erro);
}

// Every single byte of the header and of the first block headers, set to each
// of a few values, and the file cut at many lengths: a clean Erro or a good
// read, nothing else. Run under the sanitizers this also proves no stray read.
TEST(Varredura, BytesTrocadosECortesNuncaDerrubam) {
    PastaTemporaria pasta;
    const std::string caminho = pasta / "t.db";
    const auto original = LerArquivo(teste::Amostra("field-date7.db"));
    std::vector<std::size_t> posicoes;
    for (std::size_t p = 0; p < 0x200; ++p) posicoes.push_back(p);
    for (std::size_t p = 2048; p < 2048 + 16; ++p) posicoes.push_back(p);
    int erros = 0;
    for (const std::size_t p : posicoes) {
        for (const std::uint8_t valor : {0x00, 0x01, 0x7F, 0x80, 0xFF}) {
            auto bytes = original;
            bytes[p] = valor;
            teste::GravarArquivo(caminho, bytes);
            try {
                LerTabelaInteira(caminho);
            } catch (const Erro&) {
                ++erros;
            }
        }
    }
    for (std::size_t tamanho = 0; tamanho < original.size(); tamanho += 7) {
        teste::GravarArquivo(caminho, std::vector<std::uint8_t>(
                                          original.begin(), original.begin() + static_cast<std::ptrdiff_t>(tamanho)));
        try {
            LerTabelaInteira(caminho);
        } catch (const Erro&) {
            ++erros;
        }
    }
    EXPECT_GT(erros, 0);
}

}  // namespace
}  // namespace rotulos

namespace rotulos {
namespace {

// Inputs the fuzzer once found trouble with stay as regression cases.
TEST(Regressoes, ArquivosDoFuzzerDaoErroLimpo) {
    namespace fs = std::filesystem;
    const fs::path pasta = fs::path(ROTULOS_REGRESSOES);
    for (const auto& entrada : fs::directory_iterator(pasta)) {
        if (!entrada.is_regular_file() || entrada.path().filename().string().front() == '.') continue;
        SCOPED_TRACE(entrada.path().string());
        try {
            LerTabelaInteira(entrada.path().string());
        } catch (const Erro&) {
            // a clean refusal is a pass; a crash or sanitizer report is the failure
        }
    }
}

}  // namespace
}  // namespace rotulos
