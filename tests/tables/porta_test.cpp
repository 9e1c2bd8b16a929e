// What each port text opens, on each system: only printer names lead
// anywhere, and any other text is refused with the rule, naming the port.

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <string>

#include "Erro.h"
#include "platform/Plataforma.h"

namespace rotulos::plataforma {
namespace {

struct CasoPorta {
    const char* porta;
    const char* caminho;  // empty: not a printer name, refused
};

// clang-format off
#ifdef _WIN32
constexpr const char* kOutrosNomes = "ou um compartilhamento de impressora, como \\\\computador\\impressora.";
constexpr CasoPorta kCasos[] = {
    {"LPT1", "LPT1"}, {"lpt3:", "LPT3"}, {" LPT1 ", "LPT1"}, {"prn", "PRN"}, {"COM2:", "COM2"},
    {"\\\\.\\pipe\\impressora", "\\\\.\\pipe\\impressora"},
    {"\\\\expedicao\\Datamax", "\\\\expedicao\\Datamax"},
    {"\\\\expedicao\\Datamax\\x.txt", ""}, {"\\\\expedicao", ""}, {"\\\\.\\", ""}, {"C:\\saida.prn", ""},
    {"saida.prn", ""}, {".profile", ""}, {"LTP1", ""}, {"LPT0", ""}, {"", ""},
};
#else
constexpr const char* kOutrosNomes = "ou o caminho de um dispositivo, como /dev/usb/lp0.";
constexpr CasoPorta kCasos[] = {
    {"LPT1", "/dev/lp0"}, {"LPT3", "/dev/lp2"}, {"lpt3:", "/dev/lp2"}, {"  LPT1 ", "/dev/lp0"},
    {"\tLpt1:", "/dev/lp0"}, {"PRN", "/dev/lp0"}, {"prn:", "/dev/lp0"}, {"COM2", "/dev/ttyS1"}, {"LPT9", "/dev/lp8"},
    {"/dev/usb/lp0", "/dev/usb/lp0"}, {" /dev/usb/lp0", "/dev/usb/lp0"},
    {"LPT0", ""}, {"LPT10", ""}, {"LTP1", ""}, {"i", ""}, {".profile", ""}, {"saida.prn", ""}, {"LPT1 :", ""},
    {"LPT1.txt", ""}, {"", ""}, {"   ", ""},
};
#endif
// clang-format on

class Porta : public ::testing::TestWithParam<CasoPorta> {};

TEST_P(Porta, SoNomesDeImpressoraLevamAAlgumLugar) {
#ifndef _WIN32
    ::unsetenv("ROTULOS_DEVICE_DIR");
#endif
    const std::string esperado = GetParam().caminho;
    if (esperado.empty()) {
        try {
            ResolverPorta(GetParam().porta, GetParam().porta);
            FAIL() << "aceitou \"" << GetParam().porta << "\"";
        } catch (const Erro& e) {
            EXPECT_EQ(std::string(e.what()), "Porta \"" + std::string(GetParam().porta) +
                                                 "\": não é o nome de uma impressora. Use LPT1 a LPT9, COM1 a COM9 "
                                                 "ou PRN, " +
                                                 kOutrosNomes);
        }
        return;
    }
    EXPECT_EQ(ResolverPorta(GetParam().porta, "porta").caminho, esperado);
}

INSTANTIATE_TEST_SUITE_P(Nomes, Porta, ::testing::ValuesIn(kCasos), [](const auto& info) {
    std::string nome;
    for (const char c : std::string(info.param.porta))
        if (std::isalnum(static_cast<unsigned char>(c))) nome += c;
    return std::to_string(info.index) + "_" + (nome.empty() ? "vazia" : nome);
});

}  // namespace
}  // namespace rotulos::plataforma
