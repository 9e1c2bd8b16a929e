#pragma once

// "C:\TARVEL\..." for a test, as the program names its tables. On POSIX the
// drive is a temporary folder (ROTULOS_DRIVE_C); on Windows it is the real
// C:\, where the test only creates files that were not there and removes
// them afterwards, so an installation's own tables are never touched.

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "Temporario.h"

namespace rotulos::teste {

class UnidadeC {
public:
    UnidadeC() {
#ifdef _WIN32
        raiz_ = "C:\\";
#else
        ::setenv("ROTULOS_DRIVE_C", pasta_.Caminho().c_str(), 1);
        raiz_ = pasta_.Caminho();
#endif
        criouTarvel_ = std::filesystem::create_directory(raiz_ / "TARVEL");
    }
    ~UnidadeC() {
        std::error_code ignorado;
        for (const auto& arquivo : criados_) std::filesystem::remove(arquivo, ignorado);
        if (criouTarvel_) std::filesystem::remove_all(raiz_ / "TARVEL", ignorado);
#ifndef _WIN32
        ::unsetenv("ROTULOS_DRIVE_C");
#endif
    }
    UnidadeC(const UnidadeC&) = delete;
    UnidadeC& operator=(const UnidadeC&) = delete;

    // The native path of C:\TARVEL\<nome>, which must not exist yet; removed at the end.
    std::string Novo(const std::string& nome) {
        const auto caminho = raiz_ / "TARVEL" / nome;
        if (std::filesystem::exists(caminho))
            throw std::runtime_error(caminho.string() + " já existe; o teste não o sobrescreve");
        criados_.push_back(caminho);
        return caminho.string();
    }

private:
#ifndef _WIN32
    PastaTemporaria pasta_;
#endif
    std::filesystem::path raiz_;
    bool criouTarvel_ = false;
    std::vector<std::filesystem::path> criados_;
};

}  // namespace rotulos::teste
