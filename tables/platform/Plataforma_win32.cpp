// Win32 side of the platform layer. Paths and port names are used as they stand:
// Windows itself resolves "C:\TARVEL\..." without regard to case and opens "LPT1".

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>

#include "Erro.h"
#include "platform/Comum.h"
#include "platform/Plataforma.h"
#include "platform/Utf16.h"

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
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME: return "nome inválido";
        case ERROR_DIRECTORY: return "um componente do caminho não é uma pasta";
        case ERROR_TOO_MANY_OPEN_FILES: return "arquivos abertos em excesso";
        case ERROR_FILENAME_EXCED_RANGE: return "nome longo demais";
        case ERROR_GEN_FAILURE:
        case ERROR_IO_DEVICE: return "erro de entrada e saída no dispositivo";
        case ERROR_PIPE_BUSY:
        case ERROR_BUSY: return "dispositivo ocupado";
        case ERROR_PIPE_NOT_CONNECTED: return "dispositivo ausente ou sem ninguém para receber os dados";
        case ERROR_OPERATION_ABORTED: return "a operação foi cancelada";
        default: break;
    }
    // The system's own words for the rest: in Portuguese where it has them, else in its own language.
    wchar_t* texto = nullptr;
    const auto formatar = [&](DWORD idioma) {
        return FormatMessageW(
            FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
            codigo, idioma, reinterpret_cast<wchar_t*>(&texto), 0, nullptr);
    };
    DWORD n = formatar(MAKELANGID(LANG_PORTUGUESE, SUBLANG_PORTUGUESE_BRAZILIAN));
    if (n == 0) n = formatar(0);
    std::string resultado = "erro do sistema " + std::to_string(codigo);
    if (n > 0 && texto) {
        std::string utf8 = Utf8(std::wstring_view(texto, n));
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

HANDLE Nativo(std::intptr_t h) { return reinterpret_cast<HANDLE>(h); }

}  // namespace

std::string CaminhoNativo(const std::string& caminho) { return caminho; }

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

Arquivo::~Arquivo() { Fechar(); }

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
    if (const auto& gancho = AntesDeAlterarArquivo()) gancho();
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
    if (const auto& gancho = AntesDeAlterarArquivo()) gancho();
    FILE_END_OF_FILE_INFO fim{};
    fim.EndOfFile.QuadPart = static_cast<LONGLONG>(tamanho);
    if (!SetFileInformationByHandle(Nativo(handle_), FileEndOfFileInfo, &fim, sizeof fim))
        FalharSistema("Não foi possível gravar", nome_, GetLastError());
}

void Arquivo::Sincronizar() {
    if (!FlushFileBuffers(Nativo(handle_))) FalharSistema("Não foi possível salvar no disco", nome_, GetLastError());
}

void RemoverArquivo(const std::string& caminhoNativo) noexcept { DeleteFileA(caminhoNativo.c_str()); }

bool Existe(const std::string& caminhoNativo) {
    return GetFileAttributesA(caminhoNativo.c_str()) != INVALID_FILE_ATTRIBUTES;
}

namespace {

// \\computador\impressora: a server and a share, and nothing after them.
bool CompartilhamentoDeRede(const std::string& texto) {
    if (texto.size() < 5 || texto.compare(0, 2, "\\\\") != 0 || texto[2] == '.' || texto[2] == '?') return false;
    const auto barra = texto.find('\\', 2);
    return barra != std::string::npos && barra > 2 && barra + 1 < texto.size() &&
           texto.find_first_of("\\/", barra + 1) == std::string::npos;
}

}  // namespace

DestinoDaPorta ResolverPorta(const std::string& porta, const std::string& nomeExibido) {
    using Tipo = DestinoDaPorta::Tipo;
    const std::string texto = comum::SemEspacosEmVolta(porta);
    // No folder of files stands in for the ports here: "LPT1" in any folder is the device itself.
    if (const std::optional<std::string> dos = comum::PortaDoDos(texto)) return {*dos, Tipo::Dos};
    if (texto.size() > 4 && texto.compare(0, 4, "\\\\.\\") == 0) return {texto, Tipo::Dispositivo};
    if (CompartilhamentoDeRede(texto)) return {texto, Tipo::Compartilhamento};
    throw comum::NaoEImpressora(nomeExibido, "ou um compartilhamento de impressora, como \\\\computador\\impressora");
}

Dispositivo::Dispositivo(const DestinoDaPorta& destino, std::string nomeExibido,
                         std::chrono::milliseconds limiteSemProgresso)
    : handle_(-1), nome_(std::move(nomeExibido)), limite_(limiteSemProgresso) {
    using Tipo = DestinoDaPorta::Tipo;
    // A port is opened as it is; only a file a test stands in for one is
    // created. Overlapped, so that a write can be waited for with a limit and given up.
    const DWORD criacao = destino.tipo == Tipo::ArquivoDeTeste ? CREATE_ALWAYS : OPEN_EXISTING;
    HANDLE h = CreateFileA(destino.caminho.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, criacao,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OVERLAPPED, nullptr);
    if (h == INVALID_HANDLE_VALUE) FalharSistema("Não foi possível abrir a porta", nome_, GetLastError());
    std::unique_ptr<void, decltype(&CloseHandle)> aberto(h, &CloseHandle);  // closed if a check below fails
    if (GetFileType(h) == FILE_TYPE_DISK) {
        // \\.\ names a disk as readily as a printer; never write over one.
        if (destino.tipo == Tipo::Dispositivo)
            throw Erro("Não foi possível abrir a porta \"" + nome_ + "\": \"" + destino.caminho +
                       "\" é um disco, não uma impressora.");
        // A DOS name that leads to a file (as Wine links LPT1) is rewritten from its start.
        FILE_END_OF_FILE_INFO fim{};
        if (destino.tipo == Tipo::Dos && !SetFileInformationByHandle(h, FileEndOfFileInfo, &fim, sizeof fim))
            FalharSistema("Não foi possível abrir a porta", nome_, GetLastError());
    }
    evento_ = reinterpret_cast<std::intptr_t>(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (evento_ == 0) FalharSistema("Não foi possível abrir a porta", nome_, GetLastError());
    handle_ = reinterpret_cast<std::intptr_t>(aberto.release());
}

Dispositivo::~Dispositivo() {
    if (handle_ != -1) CloseHandle(Nativo(handle_));
    if (evento_ != 0) CloseHandle(Nativo(evento_));
}

void Dispositivo::Escrever(std::string_view bytes) {
    std::size_t escritos = 0;
    while (escritos < bytes.size()) {
        OVERLAPPED pedido{};
        pedido.hEvent = Nativo(evento_);
        // Files need the position; devices and pipes ignore it.
        pedido.Offset = static_cast<DWORD>(posicao_ & 0xFFFFFFFFu);
        pedido.OffsetHigh = static_cast<DWORD>(posicao_ >> 32);
        const auto n = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - escritos, 1u << 20));
        if (!WriteFile(Nativo(handle_), bytes.data() + escritos, n, nullptr, &pedido)) {
            const DWORD codigo = GetLastError();
            if (codigo != ERROR_IO_PENDING) FalharSistema("Falha ao enviar dados para a impressora", nome_, codigo);
            if (WaitForSingleObject(pedido.hEvent, static_cast<DWORD>(limite_.count())) == WAIT_TIMEOUT) {
                DWORD ignorado = 0;
                CancelIoEx(Nativo(handle_), &pedido);
                GetOverlappedResult(Nativo(handle_), &pedido, &ignorado, TRUE);
                throw comum::ImpressoraParada(nome_, limite_);
            }
        }
        DWORD w = 0;
        if (!GetOverlappedResult(Nativo(handle_), &pedido, &w, TRUE))
            FalharSistema("Falha ao enviar dados para a impressora", nome_, GetLastError());
        if (w == 0) throw comum::ImpressoraParada(nome_, limite_);
        escritos += w;
        posicao_ += w;
    }
}

void Dormir(std::chrono::milliseconds duracao) { Sleep(static_cast<DWORD>(duracao.count())); }

}  // namespace rotulos::plataforma
