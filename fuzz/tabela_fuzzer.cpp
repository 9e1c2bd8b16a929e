// libFuzzer target: arbitrary bytes as a table file, opened and read whole.
// Anything but a clean Erro (a crash, a sanitizer report, a hang) is a finding.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "Erro.h"
#include "LerTabela.h"

namespace {

std::string ArquivoDeTrabalho() {
    const char* pasta = std::getenv("TMPDIR");
    return std::string(pasta && *pasta ? pasta : "/tmp") + "/rotulos-fuzz-" + std::to_string(::getpid()) + ".db";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
    static const std::string caminho = ArquivoDeTrabalho();
    if (std::FILE* f = std::fopen(caminho.c_str(), "wb")) {
        std::fwrite(dados, 1, tamanho, f);
        std::fclose(f);
    } else {
        return 0;
    }
    try {
        rotulos::LerTabelaInteira(caminho);
    } catch (const rotulos::Erro&) {
        // A clean refusal is the expected outcome for most inputs.
    }
    return 0;
}
