// Stands for a program killed, as by a power cut or kill -9, just before its
// Nth change to a table file, in the middle of one operation:
//   tabela_interrompida anexar|editar|esvaziar ARQUIVO N
// Exit status 0 when the operation finished before its Nth change.

#include <cstdlib>
#include <iostream>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#endif

#include "TTable.h"
#include "platform/Plataforma.h"

namespace {

[[noreturn]] void Morrer() {
#ifdef _WIN32
    TerminateProcess(GetCurrentProcess(), 137);
#else
    std::raise(SIGKILL);
#endif
    std::abort();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "uso: tabela_interrompida anexar|editar|esvaziar ARQUIVO N\n";
        return 2;
    }
    const std::string operacao = argv[1];
    rotulos::TTable t(argv[2]);
    const int n = std::atoi(argv[3]);
    int alteracoes = 0;
    rotulos::plataforma::AntesDeAlterarArquivo() = [&] {
        if (++alteracoes == n) Morrer();
    };
    if (operacao == "esvaziar") {
        t.EmptyTable();
        return 0;
    }
    t.Open();
    if (operacao == "anexar")
        t.Insert();
    else
        t.Edit();
    t.FieldByName("Nome").SetAsString(operacao == "anexar" ? "nova" : "editada");
    t.Post();
    return 0;
}
