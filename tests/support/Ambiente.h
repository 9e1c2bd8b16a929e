#pragma once

// An environment variable set for the length of a scope, on either system.

#include <cstdlib>
#include <optional>
#include <string>

namespace rotulos::teste {

class VariavelDeAmbiente {
public:
    VariavelDeAmbiente(const char* nome, const std::string& valor) : nome_(nome) {
        if (const char* antes = std::getenv(nome)) anterior_ = antes;
        Definir(valor.c_str());
    }
    ~VariavelDeAmbiente() { Definir(anterior_ ? anterior_->c_str() : nullptr); }
    VariavelDeAmbiente(const VariavelDeAmbiente&) = delete;
    VariavelDeAmbiente& operator=(const VariavelDeAmbiente&) = delete;

private:
    void Definir(const char* valor) {
#ifdef _WIN32
        _putenv_s(nome_, valor ? valor : "");
#else
        if (valor)
            ::setenv(nome_, valor, 1);
        else
            ::unsetenv(nome_);
#endif
    }

    const char* nome_;
    std::optional<std::string> anterior_;
};

}  // namespace rotulos::teste
