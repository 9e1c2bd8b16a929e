#pragma once

// The printer ports LPT1 and LPT3 as a test sees them. On POSIX they are
// files of a folder of the test's own (ROTULOS_DEVICE_DIR). On Windows "LPT1"
// in any folder is the device itself, so they are the Wine prefix's DOS
// devices, which scripts/wine-teste.sh links to the files it names in
// ROTULOS_TESTE_LPT1 and ROTULOS_TESTE_LPT3; each starts the test holding a
// mark that opening the port erases.

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>

#include "Ambiente.h"
#include "Temporario.h"

namespace rotulos::teste {

class PortasLpt {
public:
    PortasLpt() {
#ifdef _WIN32
        for (const char* porta : {"LPT1", "LPT3"}) GravarTexto(Arquivo(porta), kNuncaAberta);
#endif
    }

    // What reached the port; nothing when it was never opened.
    std::optional<std::string> Conteudo(const std::string& porta) const {
        const std::string arquivo = Arquivo(porta);
        if (!std::filesystem::exists(arquivo)) return std::nullopt;
        std::string conteudo = LerTexto(arquivo);
#ifdef _WIN32
        if (conteudo == kNuncaAberta) return std::nullopt;
#endif
        return conteudo;
    }
    bool NenhumaAberta() const { return !Conteudo("LPT1") && !Conteudo("LPT3"); }
    // What an earlier run left on the port.
    void Preencher(const std::string& porta, const std::string& texto) { GravarTexto(Arquivo(porta), texto); }

    // A port name that opens nothing on this system, and creates nothing.
#ifdef _WIN32
    static constexpr const char* kInexistente = "\\\\.\\rotulos-porta-inexistente";
#else
    static constexpr const char* kInexistente = "/dev/rotulos-porta-inexistente";
#endif

private:
    static constexpr const char* kNuncaAberta = "(porta nunca aberta)";

    static void GravarTexto(const std::string& arquivo, const std::string& texto) {
        GravarArquivo(arquivo, std::vector<std::uint8_t>(texto.begin(), texto.end()));
    }

    std::string Arquivo(const std::string& porta) const {
#ifdef _WIN32
        const char* arquivo = std::getenv(("ROTULOS_TESTE_" + porta).c_str());
        if (!arquivo || !*arquivo) throw std::runtime_error("sem ROTULOS_TESTE_" + porta + " (scripts/wine-teste.sh)");
        return arquivo;
#else
        return pasta_ / porta;
#endif
    }

#ifndef _WIN32
    PastaTemporaria pasta_;
    VariavelDeAmbiente variavel_{"ROTULOS_DEVICE_DIR", pasta_.Caminho().string()};
#endif
};

}  // namespace rotulos::teste
