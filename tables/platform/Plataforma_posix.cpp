// POSIX side of the platform layer.

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

#include "Erro.h"
#include "SemCaixa.h"
#include "platform/Comum.h"
#include "platform/Plataforma.h"

namespace rotulos::plataforma {

namespace {

std::string DescricaoErrno(int codigo) {
    switch (codigo) {
        case ENOENT: return "arquivo ou pasta inexistente";
        case ENOTDIR: return "um componente do caminho não é uma pasta";
        case EACCES:
        case EPERM: return "permissão negada";
        case EISDIR: return "é uma pasta, não um arquivo";
        case EEXIST: return "o arquivo já existe";
        case ENOSPC: return "não há espaço livre no dispositivo";
        case EROFS: return "o sistema de arquivos é somente leitura";
        case EIO: return "erro de entrada e saída no dispositivo";
        case ENXIO: return "dispositivo ausente ou sem ninguém para receber os dados";
        case ENODEV: return "dispositivo inexistente";
        case EBUSY: return "dispositivo ocupado";
        case EPIPE: return "o dispositivo deixou de receber os dados";
        case EAGAIN: return "o dispositivo não aceita dados agora";
        case ENAMETOOLONG: return "nome longo demais";
        case ELOOP: return "ligações simbólicas em excesso no caminho";
        case EMFILE:
        case ENFILE: return "arquivos abertos em excesso";
        case EFBIG: return "arquivo grande demais";
        case EINVAL: return "operação inválida para este arquivo ou dispositivo";
        default: return "erro do sistema " + std::to_string(codigo) + " (" + std::strerror(codigo) + ")";
    }
}

[[noreturn]] void FalharSistema(const std::string& acao, const std::string& nome, int codigo) {
    throw Erro(acao + " \"" + nome + "\": " + DescricaoErrno(codigo) + ".");
}

// The entry of `pasta` that is `nome` or, failing that, equal to it without regard to case.
std::string ComponenteExistente(const std::string& pasta, const std::string& nome) {
    struct stat info {};
    const std::string exato = pasta + "/" + nome;
    if (::lstat(exato.c_str(), &info) == 0) return nome;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(pasta.empty() ? "/" : pasta.c_str()), &::closedir);
    if (!dir) return nome;
    while (const dirent* entrada = ::readdir(dir.get())) {
        if (IguaisSemCaixa(entrada->d_name, nome)) return entrada->d_name;
    }
    return nome;
}

}  // namespace

std::string CaminhoNativo(const std::string& caminho) {
    const bool temUnidade = caminho.size() >= 3 && std::isalpha(static_cast<unsigned char>(caminho[0])) &&
                            caminho[1] == ':' && (caminho[2] == '\\' || caminho[2] == '/');
    if (!temUnidade) return caminho;

    const char letra = static_cast<char>(std::toupper(static_cast<unsigned char>(caminho[0])));
    const std::string variavel = std::string("ROTULOS_DRIVE_") + letra;
    const char* raiz = std::getenv(variavel.c_str());
    std::string atual = raiz && *raiz ? raiz : std::string("/mnt/") + static_cast<char>(std::tolower(letra));
    while (atual.size() > 1 && atual.back() == '/') atual.pop_back();

    std::size_t inicio = 3;
    while (inicio <= caminho.size()) {
        std::size_t fim = caminho.find_first_of("\\/", inicio);
        if (fim == std::string::npos) fim = caminho.size();
        const std::string componente = caminho.substr(inicio, fim - inicio);
        if (!componente.empty() && componente != ".") {
            // Appended in two steps: `"/" + string` trips a false -Wrestrict in g++ 12 when inlined.
            atual += '/';
            atual += ComponenteExistente(atual, componente);
        }
        inicio = fim + 1;
    }
    return atual;
}

Arquivo::Arquivo(const std::string& caminhoNativo, Modo modo, std::string nomeExibido)
    : handle_(-1), modo_(modo), nome_(std::move(nomeExibido)) {
    const int flags = (modo == Modo::Leitura ? O_RDONLY : O_RDWR) | O_CLOEXEC;
    const int fd = ::open(caminhoNativo.c_str(), flags);
    if (fd < 0) FalharSistema("Não foi possível abrir", nome_, errno);
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        const int codigo = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
        ::close(fd);
        FalharSistema("Não foi possível abrir", nome_, codigo);
    }
    handle_ = fd;
}

Arquivo Arquivo::Criar(const std::string& caminhoNativo, std::string nomeExibido) {
    const int fd = ::open(caminhoNativo.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) FalharSistema("Não foi possível criar", nomeExibido, errno);
    ::close(fd);
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
    if (handle_ >= 0) ::close(static_cast<int>(handle_));
    handle_ = -1;
}

std::uint64_t Arquivo::Tamanho() const {
    struct stat info {};
    if (::fstat(static_cast<int>(handle_), &info) != 0) FalharSistema("Não foi possível ler", nome_, errno);
    return static_cast<std::uint64_t>(info.st_size);
}

std::size_t Arquivo::LerEm(std::uint64_t posicao, void* destino, std::size_t n) const {
    std::size_t lidos = 0;
    auto* bytes = static_cast<char*>(destino);
    while (lidos < n) {
        const ssize_t r =
            ::pread(static_cast<int>(handle_), bytes + lidos, n - lidos, static_cast<off_t>(posicao + lidos));
        if (r < 0 && errno == EINTR) continue;
        if (r < 0) FalharSistema("Não foi possível ler", nome_, errno);
        if (r == 0) break;
        lidos += static_cast<std::size_t>(r);
    }
    return lidos;
}

void Arquivo::EscreverEm(std::uint64_t posicao, const void* origem, std::size_t n) {
    if (const auto& gancho = AntesDeAlterarArquivo()) gancho();
    std::size_t escritos = 0;
    const auto* bytes = static_cast<const char*>(origem);
    while (escritos < n) {
        const ssize_t r =
            ::pwrite(static_cast<int>(handle_), bytes + escritos, n - escritos, static_cast<off_t>(posicao + escritos));
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) FalharSistema("Não foi possível gravar", nome_, r < 0 ? errno : EIO);
        escritos += static_cast<std::size_t>(r);
    }
}

void Arquivo::Truncar(std::uint64_t tamanho) {
    if (const auto& gancho = AntesDeAlterarArquivo()) gancho();
    if (::ftruncate(static_cast<int>(handle_), static_cast<off_t>(tamanho)) != 0)
        FalharSistema("Não foi possível gravar", nome_, errno);
}

void Arquivo::Sincronizar() {
    if (::fsync(static_cast<int>(handle_)) != 0) FalharSistema("Não foi possível salvar no disco", nome_, errno);
}

void RemoverArquivo(const std::string& caminhoNativo) noexcept { ::unlink(caminhoNativo.c_str()); }

bool Existe(const std::string& caminhoNativo) {
    struct stat info {};
    return ::stat(caminhoNativo.c_str(), &info) == 0;
}

DestinoDaPorta ResolverPorta(const std::string& porta, const std::string& nomeExibido) {
    using Tipo = DestinoDaPorta::Tipo;
    const std::string texto = comum::SemEspacosEmVolta(porta);
    if (const std::optional<std::string> dos = comum::PortaDoDos(texto)) {
        const std::string nome = *dos == "PRN" ? "LPT1" : *dos;
        if (const char* pasta = std::getenv("ROTULOS_DEVICE_DIR"); pasta && *pasta)
            return {std::string(pasta) + "/" + nome, Tipo::ArquivoDeTeste};
        const int indice = nome[3] - '1';
        return {(nome.compare(0, 3, "LPT") == 0 ? "/dev/lp" : "/dev/ttyS") + std::to_string(indice), Tipo::Dos};
    }
    // Checked to be a device once open, before anything is written.
    if (!texto.empty() && texto.front() == '/') return {texto, Tipo::Dispositivo};
    throw comum::NaoEImpressora(nomeExibido, "ou o caminho de um dispositivo, como /dev/usb/lp0");
}

Dispositivo::Dispositivo(const DestinoDaPorta& destino, std::string nomeExibido,
                         std::chrono::milliseconds limiteSemProgresso)
    : handle_(-1), nome_(std::move(nomeExibido)), limite_(limiteSemProgresso) {
    // A reader that goes away must show up as a write error, not end the program.
    std::signal(SIGPIPE, SIG_IGN);
    const bool arquivo = destino.tipo == DestinoDaPorta::Tipo::ArquivoDeTeste;
    // Only the file standing in for a port is created or emptied; a device is opened as it is.
    const int flags = O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | (arquivo ? O_CREAT | O_TRUNC : 0);
    const int fd = ::open(destino.caminho.c_str(), flags, 0666);
    if (fd < 0) FalharSistema("Não foi possível abrir a porta", nome_, errno);
    struct stat info {};
    if (!arquivo && (::fstat(fd, &info) != 0 || !(S_ISCHR(info.st_mode) || S_ISFIFO(info.st_mode)))) {
        ::close(fd);
        throw Erro("Não foi possível abrir a porta \"" + nome_ + "\": \"" + destino.caminho +
                   "\" não é um dispositivo de impressora.");
    }
    handle_ = fd;
}

Dispositivo::~Dispositivo() {
    if (handle_ >= 0) ::close(static_cast<int>(handle_));
}

void Dispositivo::Escrever(std::string_view bytes) {
    using Relogio = std::chrono::steady_clock;
    const int fd = static_cast<int>(handle_);
    auto prazo = Relogio::now() + limite_;
    std::size_t escritos = 0;
    bool disseQueEstavaPronto = false;
    while (escritos < bytes.size()) {
        const ssize_t r = ::write(fd, bytes.data() + escritos, bytes.size() - escritos);
        if (r > 0) {
            escritos += static_cast<std::size_t>(r);
            prazo = Relogio::now() + limite_;
            disseQueEstavaPronto = false;
            continue;
        }
        if (r < 0 && errno == EINTR) continue;
        if (r < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
            FalharSistema("Falha ao enviar dados para a impressora", nome_, errno);
        const auto resta = std::chrono::duration_cast<std::chrono::milliseconds>(prazo - Relogio::now());
        if (resta.count() <= 0) {
            throw comum::ImpressoraParada(nome_, limite_);
        }
        // Some drivers (the parallel port's among them) say they are ready and still refuse
        // data; a short nap then keeps the wait from spinning.
        if (disseQueEstavaPronto) Dormir(std::chrono::milliseconds(10));
        pollfd espera{fd, POLLOUT, 0};
        const int pronto = ::poll(&espera, 1, static_cast<int>(std::min<long long>(resta.count(), 100)));
        if (pronto < 0 && errno != EINTR) FalharSistema("Falha ao enviar dados para a impressora", nome_, errno);
        disseQueEstavaPronto = pronto > 0;
    }
}

void Dormir(std::chrono::milliseconds duracao) { std::this_thread::sleep_for(duracao); }

}  // namespace rotulos::plataforma
