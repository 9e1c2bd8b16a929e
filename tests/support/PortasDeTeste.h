#pragma once

// Printer ports that misbehave, made from what each system has: a port that
// takes nothing (a FIFO or a named pipe nobody reads) and one whose writes
// fail (/dev/full, or a named pipe whose reader hangs up).

#include <string>

#include "PipeDeImpressora.h"
#include "Temporario.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <stdexcept>
#endif

namespace rotulos::teste {

class PortaQueNaoRecebe {
public:
#ifdef _WIN32
    explicit PortaQueNaoRecebe(const PastaTemporaria&) {}
    std::string Nome() const { return pipe_.Nome(); }

private:
    PipeDeImpressora pipe_{PipeDeImpressora::Leitura::Nunca};
#else
    explicit PortaQueNaoRecebe(const PastaTemporaria& pasta) : nome_(pasta / "parada.prn") {
        if (::mkfifo(nome_.c_str(), 0600) != 0) throw std::runtime_error("mkfifo " + nome_);
        // Open for reading so the writer can open, but never read; a small pipe fills at once.
        leitor_ = ::open(nome_.c_str(), O_RDONLY | O_NONBLOCK);
        if (leitor_ < 0) throw std::runtime_error("open " + nome_);
        ::fcntl(leitor_, F_SETPIPE_SZ, 4096);
    }
    ~PortaQueNaoRecebe() { ::close(leitor_); }
    PortaQueNaoRecebe(const PortaQueNaoRecebe&) = delete;
    PortaQueNaoRecebe& operator=(const PortaQueNaoRecebe&) = delete;
    std::string Nome() const { return nome_; }

private:
    std::string nome_;
    int leitor_ = -1;
#endif
};

// Opens, then fails a write: at the first one on POSIX, once the pipe's
// buffer is full on Windows.
class PortaQueFalha {
public:
#ifdef _WIN32
    std::string Nome() const { return pipe_.Nome(); }

private:
    PipeDeImpressora pipe_{PipeDeImpressora::Leitura::FechaAoConectar};
#else
    std::string Nome() const { return "/dev/full"; }
#endif
};

}  // namespace rotulos::teste
