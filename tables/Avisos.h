#pragma once

// Calls to make when something changes: each one registered gets a number to
// be taken back by. They are made from a copy of the list, so that a call may
// register or take back calls itself.

#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

namespace rotulos {

class Avisos {
public:
    int Ligar(std::function<void()> aviso) {
        lista_.emplace_back(++proximo_, std::move(aviso));
        return proximo_;
    }

    void Desligar(int id) {
        std::erase_if(lista_, [id](const auto& par) { return par.first == id; });
    }

    void Avisar() const {
        const auto copia = lista_;
        for (const auto& [id, aviso] : copia) aviso();
    }

private:
    int proximo_ = 0;
    std::vector<std::pair<int, std::function<void()>>> lista_;
};

}  // namespace rotulos
