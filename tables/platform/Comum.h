#pragma once

// What both sides of the platform layer read and say alike, so that a port
// name means the same and a stalled printer reads the same on both.

#include <cctype>
#include <chrono>
#include <optional>
#include <string>

#include "Erro.h"

namespace rotulos::plataforma::comum {

// The port text without the spaces and tabs around it.
inline std::string SemEspacosEmVolta(const std::string& texto) {
    const auto inicio = texto.find_first_not_of(" \t");
    if (inicio == std::string::npos) return {};
    return texto.substr(inicio, texto.find_last_not_of(" \t") - inicio + 1);
}

// LPT1..LPT9, COM1..COM9 and PRN in any case, with an optional trailing
// colon, as DOS compares them (upper case, no colon); nullopt for any other text.
inline std::optional<std::string> PortaDoDos(const std::string& porta) {
    std::string nome = porta;
    if (!nome.empty() && nome.back() == ':') nome.pop_back();
    for (char& c : nome) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (nome == "PRN") return nome;
    const bool lptOuCom = nome.size() == 4 && (nome.compare(0, 3, "LPT") == 0 || nome.compare(0, 3, "COM") == 0);
    if (!lptOuCom || nome[3] < '1' || nome[3] > '9') return std::nullopt;
    return nome;
}

inline Erro NaoEImpressora(const std::string& porta, const std::string& outrosNomes) {
    return Erro("Porta \"" + porta + "\": não é o nome de uma impressora. Use LPT1 a LPT9, COM1 a COM9 ou PRN, " +
                outrosNomes + ".");
}

inline Erro ImpressoraParada(const std::string& porta, std::chrono::milliseconds limite) {
    return Erro("Falha ao enviar dados para a impressora \"" + porta + "\": a impressora não aceita dados há " +
                std::to_string(std::chrono::duration_cast<std::chrono::seconds>(limite).count()) +
                " segundos (desligada, sem papel ou desconectada?).");
}

}  // namespace rotulos::plataforma::comum
