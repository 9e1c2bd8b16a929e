// The Win32 side of the platform layer, run under Wine: table paths used as
// Windows names them, ports opened through CreateFile, the rewrite, the bounded
// wait on a printer that takes nothing, and errors in Portuguese.

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "../support/PipeDeImpressora.h"
#include "../support/Temporario.h"
#include "../support/UnidadeC.h"
#include "Erro.h"
#include "ParadoxCriar.h"
#include "TTable.h"
#include "platform/Plataforma.h"

namespace rotulos::plataforma {
namespace {

using teste::PastaTemporaria;

TEST(CaminhoNativo, OsNomesDoWindowsFicamComoEstao) {
    EXPECT_EQ(CaminhoNativo("C:\\TARVEL\\TMP239.DB"), "C:\\TARVEL\\TMP239.DB");
}

// The table by its Windows path, in another case than it was created in.
TEST(CaminhoNativo, TabelaEmCTarvelSemDiferencaDeCaixa) {
    teste::UnidadeC unidade;
    unidade.Novo("TMP239.DB");
    paradox::CriarTabela("C:\\TARVEL\\TMP239.DB", paradox::LerDefinicaoColunas("Nome1:A40,DataFab:D"));
    {
        TTable t("c:\\tarvel\\tmp239.db");
        t.Open();
        t.Insert();
        t.FieldByName("nome1").SetAsString(
            "\xC1"
            "CIDO");
        t.FieldByName("DataFab").SetAsString("2024-03-05");
        t.Post();
        DbiSaveChanges(t.Handle());
    }
    TTable t("C:\\TARVEL\\TMP239.DB");
    t.Open();
    ASSERT_EQ(t.RecordCount(), 1u);
    EXPECT_EQ(t.FieldByName("Nome1").AsString(),
              "\xC1"
              "CIDO");
    t.Close();
    t.EmptyTable();
    t.Open();
    EXPECT_EQ(t.RecordCount(), 0u);
}

TEST(Arquivo, ErrosEmPortuguesNomeiamOArquivo) {
    PastaTemporaria pasta;
    try {
        Arquivo a(pasta / "nao-existe.db", Arquivo::Modo::Leitura, "C:\\TARVEL\\nao-existe.db");
        FAIL();
    } catch (const Erro& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Não foi possível abrir \"C:\\TARVEL\\nao-existe.db\": arquivo ou pasta inexistente.");
    }
    std::ofstream(pasta / "existe.db") << "x";
    try {
        Arquivo::Criar(pasta / "existe.db", "C:\\TARVEL\\existe.db");
        FAIL();
    } catch (const Erro& e) {
        EXPECT_EQ(std::string(e.what()), "Não foi possível criar \"C:\\TARVEL\\existe.db\": o arquivo já existe.");
    }
}

TEST(Arquivo, EscreveTruncaESincroniza) {
    PastaTemporaria pasta;
    const std::string caminho = pasta / "t.db";
    {
        Arquivo a = Arquivo::Criar(caminho, "t.db");
        a.EscreverEm(0, "abcdef", 6);
        a.EscreverEm(10, "z", 1);
        EXPECT_EQ(a.Tamanho(), 11u);
        a.Truncar(4);
        a.Sincronizar();
        char b[8] = {};
        EXPECT_EQ(a.LerEm(0, b, sizeof b), 4u);
        EXPECT_EQ(std::string(b, 4), "abcd");
    }
    EXPECT_EQ(teste::LerTexto(caminho), "abcd");
}

TEST(Dispositivo, PipeRecebeTudo) {
    teste::PipeDeImpressora pipe(teste::PipeDeImpressora::Leitura::Tudo);
    const std::string grande(100000, 'x');
    {
        Dispositivo d(ResolverPorta(pipe.Nome(), "LPT1"), "LPT1", std::chrono::seconds(5));
        d.Escrever("\x02L\r\n");
        d.Escrever(grande);
    }
    EXPECT_EQ(pipe.Recebido(), "\x02L\r\n" + grande);
}

// "LPT1" as Windows opens it. Wine maps the DOS device to what the test's
// prefix links it to (a file), which is rewritten from its start as the port
// would be; on a machine without that, there is no port to try.
TEST(Dispositivo, Lpt1PeloNomeDoDos) {
    const char* saida = std::getenv("ROTULOS_TESTE_LPT1");
    if (!saida || !*saida) GTEST_SKIP() << "sem ROTULOS_TESTE_LPT1: nenhuma porta de teste ligada a LPT1";
    std::ofstream(saida, std::ios::trunc) << std::string(5000, 'z');
    {
        Dispositivo d(ResolverPorta(" lpt1: ", "LPT1"), "LPT1", std::chrono::seconds(5));
        d.Escrever(
            "\x02"
            "c0000\r\n");
    }
    EXPECT_EQ(teste::LerTexto(saida),
              "\x02"
              "c0000\r\n");
}

}  // namespace
}  // namespace rotulos::plataforma
