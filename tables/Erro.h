#pragma once

#include <stdexcept>
#include <string>

namespace rotulos {

// Every failure the operator may see. The message is Portuguese, names the file
// or port concerned and says what went wrong; it is shown as it stands.
class Erro : public std::runtime_error {
public:
    explicit Erro(const std::string& mensagem) : std::runtime_error(mensagem) {}
};

}  // namespace rotulos
