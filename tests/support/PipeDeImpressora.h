#pragma once

// Windows only: a named pipe that stands in for the printer port. Its server
// end reads everything, never reads, or hangs up as soon as the program
// connects.

#ifdef _WIN32

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <atomic>
#include <stdexcept>
#include <string>
#include <thread>

namespace rotulos::teste {

class PipeDeImpressora {
public:
    enum class Leitura { Tudo, Nunca, FechaAoConectar };

    explicit PipeDeImpressora(Leitura leitura) : leitura_(leitura) {
        static std::atomic<int> contador{0};
        nome_ =
            "\\\\.\\pipe\\rotulos-teste-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++contador);
        // A small buffer, so a printer that takes nothing is noticed at once.
        pipe_ =
            CreateNamedPipeA(nome_.c_str(), PIPE_ACCESS_INBOUND, PIPE_TYPE_BYTE | PIPE_WAIT, 1, 0, 4096, 0, nullptr);
        if (pipe_ == INVALID_HANDLE_VALUE) throw std::runtime_error("CreateNamedPipe " + nome_);
        if (leitura_ != Leitura::Nunca) leitor_ = std::thread([this] { Servir(); });
    }
    ~PipeDeImpressora() {
        if (leitor_.joinable()) {
            // Unblocks a ConnectNamedPipe still waiting for a client that never came.
            HANDLE cliente = CreateFileA(nome_.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            if (cliente != INVALID_HANDLE_VALUE) CloseHandle(cliente);
            leitor_.join();
        }
        CloseHandle(pipe_);
    }
    PipeDeImpressora(const PipeDeImpressora&) = delete;
    PipeDeImpressora& operator=(const PipeDeImpressora&) = delete;

    const std::string& Nome() const { return nome_; }

    // What arrived, once the program has closed its end.
    std::string Recebido() {
        if (leitor_.joinable()) leitor_.join();
        return recebido_;
    }

private:
    void Servir() {
        // A program that has written and gone already leaves ERROR_NO_DATA; what
        // it wrote is still there to read.
        if (!ConnectNamedPipe(pipe_, nullptr) && GetLastError() != ERROR_PIPE_CONNECTED &&
            GetLastError() != ERROR_NO_DATA)
            return;
        if (leitura_ == Leitura::FechaAoConectar) {
            DisconnectNamedPipe(pipe_);
            return;
        }
        char buffer[4096];
        DWORD lidos = 0;
        while (ReadFile(pipe_, buffer, sizeof buffer, &lidos, nullptr) && lidos > 0) recebido_.append(buffer, lidos);
    }

    Leitura leitura_;
    std::string nome_;
    HANDLE pipe_ = INVALID_HANDLE_VALUE;
    std::thread leitor_;
    std::string recebido_;
};

}  // namespace rotulos::teste

#endif
