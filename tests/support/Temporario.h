#pragma once

// A fresh folder per test, removed afterwards, and small file helpers.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace rotulos::teste {

class PastaTemporaria {
public:
    PastaTemporaria() {
        // create_directory is atomic: a name someone else took is just tried again.
        std::random_device aleatorio;
        for (int tentativa = 0; tentativa < 100; ++tentativa) {
            const auto candidato =
                std::filesystem::temp_directory_path() / ("rotulos-" + std::to_string(aleatorio() % 100000000u));
            if (std::filesystem::create_directory(candidato)) {
                caminho_ = candidato;
                return;
            }
        }
        throw std::runtime_error("não foi possível criar uma pasta temporária");
    }
    ~PastaTemporaria() {
        std::error_code ignorado;
        std::filesystem::remove_all(caminho_, ignorado);
    }
    PastaTemporaria(const PastaTemporaria&) = delete;
    PastaTemporaria& operator=(const PastaTemporaria&) = delete;

    std::string operator/(const std::string& nome) const { return (caminho_ / nome).string(); }
    const std::filesystem::path& Caminho() const { return caminho_; }

private:
    std::filesystem::path caminho_;
};

inline std::vector<std::uint8_t> LerArquivo(const std::string& caminho) {
    std::ifstream f(caminho, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

// The same as text: what a port file or a reference file holds, byte for byte.
inline std::string LerTexto(const std::string& caminho) {
    std::ifstream f(caminho, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

inline void GravarArquivo(const std::string& caminho, const std::vector<std::uint8_t>& bytes) {
    std::ofstream f(caminho, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline std::string Amostra(const std::string& nome) { return std::string(ROTULOS_AMOSTRAS) + "/" + nome; }

inline std::string CopiarAmostra(const PastaTemporaria& pasta, const std::string& nome) {
    const std::string destino = pasta / nome;
    std::filesystem::copy_file(Amostra(nome), destino, std::filesystem::copy_options::overwrite_existing);
    std::filesystem::permissions(destino, std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
    return destino;
}

}  // namespace rotulos::teste
