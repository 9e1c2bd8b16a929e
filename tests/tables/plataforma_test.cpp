// The POSIX stand-ins for the Windows namespace: drive C:, names without regard
// to case, DOS port names; a FIFO port that must not block or kill the program.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <filesystem>
#include <fstream>

#include "../support/Temporario.h"
#include "Erro.h"
#include "platform/Plataforma.h"

namespace rotulos::plataforma {
namespace {

using teste::PastaTemporaria;

class VariavelDeAmbiente {
public:
    VariavelDeAmbiente(const char* nome, const std::string& valor) : nome_(nome) { ::setenv(nome, valor.c_str(), 1); }
    ~VariavelDeAmbiente() { ::unsetenv(nome_); }

private:
    const char* nome_;
};

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

struct CasoPorta {
    const char* porta;
    const char* dispositivo;
};

class Porta : public ::testing::TestWithParam<CasoPorta> {};

TEST_P(Porta, NomeDoDosViraDispositivo) {
    ::unsetenv("ROTULOS_DEVICE_DIR");
    EXPECT_EQ(DispositivoDaPorta(GetParam().porta), GetParam().dispositivo);
}

INSTANTIATE_TEST_SUITE_P(Nomes, Porta,
                         ::testing::Values(CasoPorta{"LPT1", "/dev/lp0"}, CasoPorta{"LPT3", "/dev/lp2"},
                                           CasoPorta{"lpt3:", "/dev/lp2"}, CasoPorta{"PRN", "/dev/lp0"},
                                           CasoPorta{"prn:", "/dev/lp0"}, CasoPorta{"COM2", "/dev/ttyS1"},
                                           CasoPorta{"LPT9", "/dev/lp8"}, CasoPorta{"LPT0", "LPT0"},
                                           CasoPorta{"LPT10", "LPT10"}, CasoPorta{"/tmp/saida.prn", "/tmp/saida.prn"},
                                           CasoPorta{"", ""}),
                         [](const auto& info) {
                             std::string nome;
                             for (const char c : std::string(info.param.porta))
                                 if (std::isalnum(static_cast<unsigned char>(c))) nome += c;
                             return std::to_string(info.index) + "_" + (nome.empty() ? "vazia" : nome);
                         });

TEST(Porta, ComPastaDeDispositivosViraArquivoEmMaiusculas) {
    VariavelDeAmbiente pasta("ROTULOS_DEVICE_DIR", "/srv/portas");
    EXPECT_EQ(DispositivoDaPorta("lpt3"), "/srv/portas/LPT3");
    EXPECT_EQ(DispositivoDaPorta("PRN"), "/srv/portas/LPT1");
    EXPECT_EQ(DispositivoDaPorta("saida.txt"), "saida.txt");
}

TEST(Dispositivo, FifoSemLeitorNaoBloqueiaAAbertura) {
    PastaTemporaria pasta;
    const std::string fifo = pasta / "LPT1";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_THROW(Dispositivo(fifo, "LPT1", std::chrono::seconds(1)), Erro);
}

TEST(Dispositivo, LeitorQueFechaViraErroENaoSinal) {
    PastaTemporaria pasta;
    const std::string fifo = pasta / "LPT1";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const int leitor = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    Dispositivo d(fifo, "LPT1", std::chrono::seconds(1));
    ::close(leitor);
    EXPECT_THROW(d.Escrever("x"), Erro);
}

}  // namespace
}  // namespace rotulos::plataforma
