#pragma once

// The one place where the core reaches the operating system: files, devices,
// paths and sleeping. POSIX and Win32 each implement it in their own file.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace rotulos::plataforma {

// Where tests stand between a table and the disk: run before every change to a
// file opened as Arquivo (a write or a truncation), it may throw, as a full
// disk does, or end the process, as a power cut does. The program sets none.
inline std::function<void()>& AntesDeAlterarArquivo() {
    static std::function<void()> gancho;
    return gancho;
}

// Maps a table path as the program names it ("C:\TARVEL\TMP239.DB") to a
// path the system can open. On Windows it is the path itself. On POSIX, "C:\"
// is the folder in ROTULOS_DRIVE_C (default /mnt/c), backslashes become
// slashes and each component that is absent under its exact name is looked up
// without regard to case, as Windows would. Paths without a drive letter are
// taken as native paths, with the same case-insensitive lookup.
std::string CaminhoNativo(const std::string& caminho);

// A file opened for random access; closed when the object goes.
class Arquivo {
public:
    enum class Modo { Leitura, LeituraEscrita };

    // Throws Erro naming `nomeExibido` when the file cannot be opened.
    Arquivo(const std::string& caminhoNativo, Modo modo, std::string nomeExibido);
    ~Arquivo();
    Arquivo(Arquivo&& outro) noexcept;
    Arquivo& operator=(Arquivo&& outro) noexcept;
    Arquivo(const Arquivo&) = delete;
    Arquivo& operator=(const Arquivo&) = delete;

    // Creates a new file, failing if one exists already.
    static Arquivo Criar(const std::string& caminhoNativo, std::string nomeExibido);

    bool Gravavel() const { return modo_ == Modo::LeituraEscrita; }
    const std::string& Nome() const { return nome_; }
    std::uint64_t Tamanho() const;
    // Reads up to `n` bytes at `posicao`; returns how many were read (fewer only at the end).
    std::size_t LerEm(std::uint64_t posicao, void* destino, std::size_t n) const;
    void EscreverEm(std::uint64_t posicao, const void* origem, std::size_t n);
    void Truncar(std::uint64_t tamanho);
    // Makes everything written so far durable on disk.
    void Sincronizar();

private:
    void Fechar() noexcept;

    std::intptr_t handle_;
    Modo modo_;
    std::string nome_;
};

// Removes a file; used to undo a table that could not be created whole.
void RemoverArquivo(const std::string& caminhoNativo) noexcept;
bool Existe(const std::string& caminhoNativo);

// Where an operator's port text leads, when it names a printer at all.
struct DestinoDaPorta {
    enum class Tipo {
        Dos,               // LPT1..LPT9, COM1..COM9, PRN
        Dispositivo,       // a device by its own name: \\.\ on Windows, an absolute path on POSIX
        Compartilhamento,  // a printer shared on the network, \\computador\impressora (Windows)
        ArquivoDeTeste,    // a DOS name as a file of ROTULOS_DEVICE_DIR (POSIX), for the demo and the tests
    };
    std::string caminho;  // the native name to open
    Tipo tipo;
};

// Only printer names lead anywhere: the DOS names in any case, with an
// optional colon and spaces around them; on Windows also \\.\ device names
// and \\computador\impressora shares; on POSIX also the absolute path of a
// character device or FIFO (a USB printer is /dev/usb/lp0). On POSIX a DOS
// name is /dev/lpN or /dev/ttySN, or with ROTULOS_DEVICE_DIR set the file of
// its upper-case name in that folder (on Windows LPT1 in any folder is the
// device, so the prefix's DOS devices stand in there). Any other text
// throws Erro naming the port (`nomeExibido`) and the rule: nothing is opened,
// created or emptied for a typo.
DestinoDaPorta ResolverPorta(const std::string& porta, const std::string& nomeExibido);

// A printer port opened for writing from its start (rewrite mode). Opening
// never blocks; each write either hands all its bytes to the device or fails,
// and fails when the device takes nothing for `limiteSemProgresso`. Only a
// file standing in for the port is created; anything else must already be a
// device (a file behind a DOS name, as Wine links them, is emptied first).
class Dispositivo {
public:
    Dispositivo(const DestinoDaPorta& destino, std::string nomeExibido, std::chrono::milliseconds limiteSemProgresso);
    ~Dispositivo();
    Dispositivo(const Dispositivo&) = delete;
    Dispositivo& operator=(const Dispositivo&) = delete;

    void Escrever(std::string_view bytes);

private:
    std::intptr_t handle_;
#ifdef _WIN32
    std::intptr_t evento_ = 0;   // the event each write waits on
    std::uint64_t posicao_ = 0;  // where the next write goes when the port is a file
#endif
    std::string nome_;
    std::chrono::milliseconds limite_;
};

void Dormir(std::chrono::milliseconds duracao);

}  // namespace rotulos::plataforma
