// The POSIX stand-ins for the Windows namespace: drive C:, names without regard
// to case, DOS port names; a FIFO port that must not block or kill the program.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <filesystem>
#include <fstream>

#include "../support/Ambiente.h"
#include "../support/Temporario.h"
#include "Erro.h"
#include "platform/Plataforma.h"

namespace rotulos::plataforma {
namespace {

using teste::PastaTemporaria;

using teste::VariavelDeAmbiente;

void Tocar(const std::string& caminho) { std::ofstream(caminho).put('x'); }

TEST(CaminhoNativo, UnidadeCNaPastaDaVariavelSemDiferencaDeCaixa) {
    PastaTemporaria pasta;
    std::filesystem::create_directories(pasta.Caminho() / "tarvel");
    Tocar(pasta / "tarvel/tmp239.db");
    Tocar(pasta / "tarvel/ConfImpr.db");
    VariavelDeAmbiente drive("ROTULOS_DRIVE_C", pasta.Caminho().string() + "/");
    EXPECT_EQ(CaminhoNativo("C:\\TARVEL\\TMP239.DB"), pasta / "tarvel/tmp239.db");
    EXPECT_EQ(CaminhoNativo("c:\\Tarvel\\confimpr.DB"), pasta / "tarvel/ConfImpr.db");
    EXPECT_EQ(CaminhoNativo("C:/TARVEL/ConfImpr.db"), pasta / "tarvel/ConfImpr.db");
    // Absent names stay as given, so the error names what was asked for.
    EXPECT_EQ(CaminhoNativo("C:\\TARVEL\\NOVA.DB"), pasta / "tarvel/NOVA.DB");
}

TEST(CaminhoNativo, NomeExatoTemPreferencia) {
    PastaTemporaria pasta;
    Tocar(pasta / "a.db");
    Tocar(pasta / "A.DB");
    VariavelDeAmbiente drive("ROTULOS_DRIVE_C", pasta.Caminho().string());
    EXPECT_EQ(CaminhoNativo("C:\\A.DB"), pasta / "A.DB");
    EXPECT_EQ(CaminhoNativo("C:\\a.db"), pasta / "a.db");
}

TEST(CaminhoNativo, SemVariavelUsaMntCECaminhosNativosFicamComoEstao) {
    ::unsetenv("ROTULOS_DRIVE_C");
    EXPECT_EQ(CaminhoNativo("C:\\X\\Y.DB").rfind("/mnt/c/", 0), 0u);
    EXPECT_EQ(CaminhoNativo("/tmp/Tabela.DB"), "/tmp/Tabela.DB");
    EXPECT_EQ(CaminhoNativo("relativo/t.db"), "relativo/t.db");
}

TEST(Porta, ComPastaDeDispositivosViraArquivoEmMaiusculas) {
    VariavelDeAmbiente pasta("ROTULOS_DEVICE_DIR", "/srv/portas");
    EXPECT_EQ(ResolverPorta("lpt3", "lpt3").caminho, "/srv/portas/LPT3");
    EXPECT_EQ(ResolverPorta("PRN", "PRN").caminho, "/srv/portas/LPT1");
    EXPECT_EQ(ResolverPorta("PRN", "PRN").tipo, DestinoDaPorta::Tipo::ArquivoDeTeste);
    EXPECT_THROW(ResolverPorta("saida.txt", "saida.txt"), Erro);
}

// A path that leads to a file or a folder opens nothing and changes nothing:
// only devices and FIFOs take labels.
TEST(Porta, CaminhoQueNaoEDispositivoNaoEAbertoNemAlterado) {
    PastaTemporaria pasta;
    const std::string arquivo = pasta / "dados.txt";
    std::ofstream(arquivo) << "importante";
    for (const std::string& caminho : {arquivo, pasta.Caminho().string(), pasta / "nao-existe"}) {
        EXPECT_THROW(Dispositivo(ResolverPorta(caminho, caminho), caminho, std::chrono::seconds(1)), Erro) << caminho;
    }
    EXPECT_EQ(teste::LerTexto(arquivo), "importante");
    EXPECT_FALSE(std::filesystem::exists(pasta / "nao-existe"));
    // A DOS name on a machine without that device creates no /dev/lpN either.
    EXPECT_THROW(Dispositivo(DestinoDaPorta{pasta / "lp9", DestinoDaPorta::Tipo::Dos}, "LPT9", std::chrono::seconds(1)),
                 Erro);
    EXPECT_FALSE(std::filesystem::exists(pasta / "lp9"));
}

TEST(Dispositivo, FifoSemLeitorNaoBloqueiaAAbertura) {
    PastaTemporaria pasta;
    const std::string fifo = pasta / "LPT1";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_THROW(Dispositivo(ResolverPorta(fifo, "LPT1"), "LPT1", std::chrono::seconds(1)), Erro);
}

TEST(Dispositivo, LeitorQueFechaViraErroENaoSinal) {
    PastaTemporaria pasta;
    const std::string fifo = pasta / "LPT1";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const int leitor = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    Dispositivo d(ResolverPorta(fifo, "LPT1"), "LPT1", std::chrono::seconds(1));
    ::close(leitor);
    EXPECT_THROW(d.Escrever("x"), Erro);
}

}  // namespace
}  // namespace rotulos::plataforma
