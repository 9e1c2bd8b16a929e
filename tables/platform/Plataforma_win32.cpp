// Win32 side of the platform layer. Paths and port names are used as they stand:
// Windows itself resolves "C:\TARVEL\..." without regard to case and opens "LPT1".

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <string>

#include "Erro.h"
#include "platform/Plataforma.h"

namespace rotulos::plataforma {

namespace {

std::string DescricaoCodigo(DWORD codigo) {
    switch (codigo) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND: return "arquivo ou pasta inexistente";
        case ERROR_ACCESS_DENIED: return "permissão negada";
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION: return "o arquivo está em uso por outro programa";
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS: return "o arquivo já existe";
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL: return "não há espaço livre no dispositivo";
        case ERROR_WRITE_PROTECT: return "o disco está protegido contra gravação";
        case ERROR_NOT_READY: return "o dispositivo não está pronto";
        case ERROR_BAD_UNIT:
        case ERROR_DEV_NOT_EXIST: return "dispositivo inexistente";
        case ERROR_NO_DATA:
        case ERROR_BROKEN_PIPE: return "o dispositivo deixou de receber os dados";
        case ERROR_INVALID_NAME: return "nome inválido";
        default: break;
    }
    wchar_t* texto = nullptr;
    const DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, codigo,
        MAKELANGID(LANG_PORTUGUESE, SUBLANG_PORTUGUESE_BRAZILIAN), reinterpret_cast<wchar_t*>(&texto), 0, nullptr);
    std::string resultado = "erro do sistema " + std::to_string(codigo);
    if (n > 0 && texto) {
        const int tamanho = WideCharToMultiByte(CP_UTF8, 0, texto, static_cast<int>(n), nullptr, 0, nullptr, nullptr);
        std::string utf8(static_cast<std::size_t>(tamanho), '\0');
        WideCharToMultiByte(CP_UTF8, 0, texto, static_cast<int>(n), utf8.data(), tamanho, nullptr, nullptr);
        while (!utf8.empty() &&
               (utf8.back() == '\n' || utf8.back() == '\r' || utf8.back() == '.' || utf8.back() == ' '))
            utf8.pop_back();
        resultado += " (" + utf8 + ")";
    }
    if (texto) LocalFree(texto);
    return resultado;
}

[[noreturn]] void FalharSistema(const std::string& acao, const std::string& nome, DWORD codigo) {
    throw Erro(acao + " \"" + nome + "\": " + DescricaoCodigo(codigo) + ".");
}

// Paths are 8-bit texts in the system's ANSI code page, as the program has always used them.
HANDLE AbrirArquivo(const std::string& caminho, DWORD acesso, DWORD criacao, DWORD atributos) {
    return CreateFileA(caminho.c_str(), acesso, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, criacao, atributos,
                       nullptr);
}

HANDLE Nativo(std::intptr_t h) {
    return reinterpret_cast<HANDLE>(h);
}

}  // namespace

std::string DescricaoUltimoErro() {
    return DescricaoCodigo(GetLastError());
}

std::string CaminhoNativo(const std::string& caminho) {
    return caminho;
}

Arquivo::Arquivo(const std::string& caminhoNativo, Modo modo, std::string nomeExibido)
    : handle_(-1), modo_(modo), nome_(std::move(nomeExibido)) {
    const DWORD acesso = modo == Modo::Leitura ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
    HANDLE h = AbrirArquivo(caminhoNativo, acesso, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
    if (h == INVALID_HANDLE_VALUE) FalharSistema("Não foi possível abrir", nome_, GetLastError());
    if (GetFileType(h) != FILE_TYPE_DISK) {
        CloseHandle(h);
        FalharSistema("Não foi possível abrir", nome_, ERROR_INVALID_NAME);
    }
    handle_ = reinterpret_cast<std::intptr_t>(h);
}

Arquivo Arquivo::Criar(const std::string& caminhoNativo, std::string nomeExibido) {
    HANDLE h = AbrirArquivo(caminhoNativo, GENERIC_READ | GENERIC_WRITE, CREATE_NEW, FILE_ATTRIBUTE_NORMAL);
    if (h == INVALID_HANDLE_VALUE) FalharSistema("Não foi possível criar", nomeExibido, GetLastError());
    CloseHandle(h);
    return Arquivo(caminhoNativo, Modo::LeituraEscrita, std::move(nomeExibido));
}

Arquivo::~Arquivo() {
    Fechar();
}

Arquivo::Arquivo(Arquivo&& outro) noexcept : handle_(outro.handle_), modo_(outro.modo_), nome_(std::move(outro.nome_)) {
    outro.handle_ = -1;
}

Arquivo& Arquivo::operator=(Arquivo&& outro) noexcept {
    if (this != &outro) {
        Fechar();
        handle_ = outro.handle_;
        modo_ = outro.modo_;
        nome_ = std::move(outro.nome_);
        outro.handle_ = -1;
    }
    return *this;
}

void Arquivo::Fechar() noexcept {
    if (handle_ != -1) CloseHandle(Nativo(handle_));
    handle_ = -1;
}

std::uint64_t Arquivo::Tamanho() const {
    LARGE_INTEGER tamanho{};
    if (!GetFileSizeEx(Nativo(handle_), &tamanho)) FalharSistema("Não foi possível ler", nome_, GetLastError());
    return static_cast<std::uint64_t>(tamanho.QuadPart);
}

std::size_t Arquivo::LerEm(std::uint64_t posicao, void* destino, std::size_t n) const {
    std::size_t lidos = 0;
    auto* bytes = static_cast<char*>(destino);
    while (lidos < n) {
        OVERLAPPED pos{};
        const std::uint64_t onde = posicao + lidos;
        pos.Offset = static_cast<DWORD>(onde & 0xFFFFFFFFu);
        pos.OffsetHigh = static_cast<DWORD>(onde >> 32);
        DWORD r = 0;
        const DWORD pedir = static_cast<DWORD>(std::min<std::size_t>(n - lidos, 1u << 30));
        if (!ReadFile(Nativo(handle_), bytes + lidos, pedir, &r, &pos)) {
            const DWORD codigo = GetLastError();
            if (codigo == ERROR_HANDLE_EOF) break;
            FalharSistema("Não foi possível ler", nome_, codigo);
        }
        if (r == 0) break;
        lidos += r;
    }
    return lidos;
}

void Arquivo::EscreverEm(std::uint64_t posicao, const void* origem, std::size_t n) {
    std::size_t escritos = 0;
    const auto* bytes = static_cast<const char*>(origem);
    while (escritos < n) {
        OVERLAPPED pos{};
        const std::uint64_t onde = posicao + escritos;
        pos.Offset = static_cast<DWORD>(onde & 0xFFFFFFFFu);
        pos.OffsetHigh = static_cast<DWORD>(onde >> 32);
        DWORD w = 0;
        const DWORD pedir = static_cast<DWORD>(std::min<std::size_t>(n - escritos, 1u << 30));
        if (!WriteFile(Nativo(handle_), bytes + escritos, pedir, &w, &pos) || w == 0)
            FalharSistema("Não foi possível gravar", nome_, GetLastError());
        escritos += w;
    }
}

void Arquivo::Truncar(std::uint64_t tamanho) {
    FILE_END_OF_FILE_INFO fim{};
    fim.EndOfFile.QuadPart = static_cast<LONGLONG>(tamanho);
    if (!SetFileInformationByHandle(Nativo(handle_), FileEndOfFileInfo, &fim, sizeof fim))
        FalharSistema("Não foi possível gravar", nome_, GetLastError());
}

void Arquivo::Sincronizar() {
    if (!FlushFileBuffers(Nativo(handle_))) FalharSistema("Não foi possível salvar no disco", nome_, GetLastError());
}

void RemoverArquivo(const std::string& caminhoNativo) noexcept {
    DeleteFileA(caminhoNativo.c_str());
}

bool Existe(const std::string& caminhoNativo) {
    return GetFileAttributesA(caminhoNativo.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string DispositivoDaPorta(const std::string& porta) {
    return porta;
}

Dispositivo::Dispositivo(const std::string& caminhoNativo, std::string nomeExibido,
                         std::chrono::milliseconds limiteSemProgresso)
    : handle_(-1), nome_(std::move(nomeExibido)), limite_(limiteSemProgresso) {
    if (caminhoNativo.empty()) FalharSistema("Não foi possível abrir a porta", nome_, ERROR_FILE_NOT_FOUND);
    HANDLE h = CreateFileA(caminhoNativo.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) FalharSistema("Não foi possível abrir a porta", nome_, GetLastError());
    // A port that takes nothing must fail the write, not hang the program.
    COMMTIMEOUTS prazos{};
    prazos.WriteTotalTimeoutConstant = static_cast<DWORD>(limite_.count());
    SetCommTimeouts(h, &prazos);  // only ports have time-outs; files and pipes ignore the call
    handle_ = reinterpret_cast<std::intptr_t>(h);
}

Dispositivo::~Dispositivo() {
    if (handle_ != -1) CloseHandle(Nativo(handle_));
}

void Dispositivo::Escrever(std::string_view bytes) {
    std::size_t escritos = 0;
    while (escritos < bytes.size()) {
        DWORD w = 0;
        if (!WriteFile(Nativo(handle_), bytes.data() + escritos, static_cast<DWORD>(bytes.size() - escritos), &w,
                       nullptr))
            FalharSistema("Falha ao enviar dados para a impressora", nome_, GetLastError());
        if (w == 0) {
            throw Erro("Falha ao enviar dados para a impressora \"" + nome_ + "\": a impressora não aceita dados há " +
                       std::to_string(std::chrono::duration_cast<std::chrono::seconds>(limite_).count()) +
                       " segundos (desligada, sem papel ou desconectada?).");
        }
        escritos += w;
    }
}

void Dormir(std::chrono::milliseconds duracao) {
    Sleep(static_cast<DWORD>(duracao.count()));
}

}  // namespace rotulos::plataforma
