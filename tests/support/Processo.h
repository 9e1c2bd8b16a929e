#pragma once

// Runs a program of the build and waits for it: its exit status, or 128 plus
// the signal that ended it (POSIX). Arguments are passed as they stand.

#include <string>
#include <vector>

#ifdef _WIN32
#include <process.h>
#else
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <stdexcept>

namespace rotulos::teste {

inline int Executar(const std::string& programa, const std::vector<std::string>& argumentos) {
    std::vector<const char*> argv{programa.c_str()};
    for (const auto& a : argumentos) argv.push_back(a.c_str());
    argv.push_back(nullptr);
#ifdef _WIN32
    // The runtime joins the arguments into one command line; quoted so that
    // paths with spaces survive.
    std::vector<std::string> citados;
    for (const char* a : argv) {
        if (a) citados.push_back("\"" + std::string(a) + "\"");
    }
    std::vector<const char*> linha;
    for (const auto& c : citados) linha.push_back(c.c_str());
    linha.push_back(nullptr);
    const intptr_t status = _spawnv(_P_WAIT, programa.c_str(), linha.data());
    if (status < 0) throw std::runtime_error("não foi possível executar " + programa);
    return static_cast<int>(status);
#else
    const pid_t filho = ::fork();
    if (filho < 0) throw std::runtime_error("fork");
    if (filho == 0) {
        ::execv(programa.c_str(), const_cast<char* const*>(argv.data()));
        ::_exit(127);
    }
    int status = 0;
    while (::waitpid(filho, &status, 0) < 0) {
    }
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
#endif
}

#ifndef _WIN32
// The same with standard input read from a file.
inline int ExecutarComEntrada(const std::string& programa, const std::vector<std::string>& argumentos,
                              const std::string& entrada) {
    const int fd = ::open(entrada.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw std::runtime_error("open " + entrada);
    const int copia = ::dup(STDIN_FILENO);
    ::dup2(fd, STDIN_FILENO);
    ::close(fd);
    const int status = Executar(programa, argumentos);
    ::dup2(copia, STDIN_FILENO);
    ::close(copia);
    return status;
}
#endif

}  // namespace rotulos::teste
