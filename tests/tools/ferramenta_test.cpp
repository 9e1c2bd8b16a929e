// The table tool as a user runs it, from a shell: options anywhere, bad code
// pages refused with a message, tables with memo columns listed, and a
// filling disk that stops `inserir` with the count of rows it stored.

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "../support/Pxlib.h"
#include "../support/Temporario.h"
#include "Bytes.h"

namespace rotulos {
namespace {

using teste::PastaTemporaria;

struct Resultado {
    int status;
    std::string saida;
    std::string erros;
};

class Ferramenta : public ::testing::Test {
protected:
    // Runs `rotulos-tabela ARGUMENTOS` in bash, after `preparo` (a ulimit, say).
    Resultado Rodar(const std::string& argumentos, const std::string& preparo = "") {
        const std::string comando = "bash -c '" + preparo + " exec \"" + std::string(ROTULOS_FERRAMENTA) + "\" " +
                                    argumentos + "' >" + (pasta_ / "saida") + " 2>" + (pasta_ / "erros");
        const int status = std::system(comando.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, teste::LerTexto(pasta_ / "saida"),
                teste::LerTexto(pasta_ / "erros")};
    }

    std::string Caminho(const std::string& nome) const { return pasta_ / nome; }

    PastaTemporaria pasta_;
};

TEST_F(Ferramenta, OpcoesEmQualquerPosicao) {
    const std::string amostra = teste::Amostra("field-bcd.db");
    const Resultado antes = Rodar("listar --bruto " + amostra);
    const Resultado depois = Rodar("listar " + amostra + " --bruto");
    EXPECT_EQ(antes.status, 0) << antes.erros;
    EXPECT_EQ(antes.saida, depois.saida);
    EXPECT_FALSE(antes.saida.empty());

    EXPECT_EQ(Rodar("criar --codepage 850 " + Caminho("a.db") + " Nome:A10").status, 0);
    EXPECT_EQ(Rodar("criar " + Caminho("b.db") + " --codepage=850 Nome:A10").status, 0);
    EXPECT_EQ(Rodar("criar " + Caminho("c.db") + " Nome:A10 --codepage 437").status, 0);
    EXPECT_EQ(LeitorBytes(teste::LerArquivo(Caminho("a.db")), "a").U16(0x6A), 850);
    EXPECT_EQ(LeitorBytes(teste::LerArquivo(Caminho("b.db")), "b").U16(0x6A), 850);
    EXPECT_EQ(LeitorBytes(teste::LerArquivo(Caminho("c.db")), "c").U16(0x6A), 437);
}

class CodePageRecusado : public Ferramenta, public ::testing::WithParamInterface<const char*> {};

TEST_P(CodePageRecusado, ComMensagemENadaCriado) {
    const Resultado r = Rodar("criar " + Caminho("t.db") + " Nome:A10 --codepage " + GetParam());
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.erros.find(std::string("código de página \"") + GetParam() + "\" inválido"), std::string::npos)
        << r.erros;
    EXPECT_FALSE(std::filesystem::exists(Caminho("t.db")));
}

INSTANTIATE_TEST_SUITE_P(Casos, CodePageRecusado,
                         ::testing::Values("abc", "70000", "65536", "-1", "866", "0", "1252x"));

TEST_F(Ferramenta, UsoErradoDizOUso) {
    for (const char* argumentos : {"", "listar", "listar a b", "apagar x", "listar x --codepage 850", "criar x"}) {
        const Resultado r = Rodar(argumentos);
        EXPECT_EQ(r.status, 2) << argumentos;
        EXPECT_NE(r.erros.find("uso: rotulos-tabela"), std::string::npos) << argumentos;
    }
}

// A code page without a decoding here is named, not shown as the wrong letters.
TEST_F(Ferramenta, CodePageDesconhecidoNaTabelaENomeado) {
    ASSERT_EQ(Rodar("criar " + Caminho("cirilico.db") + " Nome:A10").status, 0);
    auto bytes = teste::LerArquivo(Caminho("cirilico.db"));
    GravarU16(&bytes[0x6A], 866);
    teste::GravarArquivo(Caminho("cirilico.db"), bytes);
    const Resultado r = Rodar("listar " + Caminho("cirilico.db"));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.erros.find("código de página 866"), std::string::npos) << r.erros;
    EXPECT_NE(r.erros.find(Caminho("cirilico.db")), std::string::npos) << r.erros;
    // Its bytes can still be listed as they are.
    EXPECT_EQ(Rodar("listar --bruto " + Caminho("cirilico.db")).status, 0);
}

// 100 rows of 330 bytes need about 36 KiB; the file may grow to 20 KiB only.
TEST_F(Ferramenta, InserirNumDiscoCheioDizQuantasLinhasGravou) {
    ASSERT_EQ(Rodar("criar " + Caminho("rotulos.db") + " Nome:A250,Lote:A80").status, 0);
    std::string linhas;
    for (int i = 1; i <= 100; ++i) linhas += "Produto " + std::to_string(i) + "\tL" + std::to_string(i) + "\n";
    teste::GravarArquivo(Caminho("linhas.tsv"), std::vector<std::uint8_t>(linhas.begin(), linhas.end()));

    const Resultado r =
        Rodar("inserir " + Caminho("rotulos.db") + " <" + Caminho("linhas.tsv"), "trap \"\" XFSZ; ulimit -f 20;");
    EXPECT_EQ(r.status, 1);
    const auto fim = r.erros.find(" de 100 linhas gravadas.");
    ASSERT_NE(fim, std::string::npos) << r.erros;
    const auto inicio = r.erros.rfind('\n', fim) + 1;
    const int gravadas = std::stoi(r.erros.substr(inicio, fim - inicio));
    EXPECT_GT(gravadas, 0);
    EXPECT_LT(gravadas, 100);

    const auto px = teste::LerComPxlib(Caminho("rotulos.db"));
    ASSERT_EQ(px.registros, gravadas);
    for (int i = 0; i < gravadas; ++i)
        EXPECT_EQ(px.linhas[static_cast<std::size_t>(i)][0].texto, "Produto " + std::to_string(i + 1));

    // With room again, the rest goes in after them, none twice.
    std::string resto;
    for (int i = gravadas + 1; i <= 100; ++i)
        resto += "Produto " + std::to_string(i) + "\tL" + std::to_string(i) + "\n";
    teste::GravarArquivo(Caminho("resto.tsv"), std::vector<std::uint8_t>(resto.begin(), resto.end()));
    ASSERT_EQ(Rodar("inserir " + Caminho("rotulos.db") + " <" + Caminho("resto.tsv")).status, 0);
    const auto completa = teste::LerComPxlib(Caminho("rotulos.db"));
    ASSERT_EQ(completa.registros, 100);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(completa.linhas[static_cast<std::size_t>(i)][0].texto, "Produto " + std::to_string(i + 1));
}

}  // namespace
}  // namespace rotulos
