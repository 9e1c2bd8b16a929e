#include "TTable.h"

#include <algorithm>
#include <ctime>

#include "Bytes.h"
#include "Erro.h"
#include "SemCaixa.h"

namespace rotulos {

using paradox::InfoBloco;
namespace pos = paradox::pos;

namespace {

std::string NomeDoIndicePrimario(const std::string& nativo, const std::string& extensao) {
    const auto ponto = nativo.find_last_of('.');
    const auto barra = nativo.find_last_of("/\\");
    const std::string base = (ponto == std::string::npos || (barra != std::string::npos && ponto < barra))
                                 ? nativo
                                 : nativo.substr(0, ponto);
    return base + extensao;
}

// The header's own size is in its first bytes: read those, then the rest.
std::vector<std::uint8_t> BytesDoCabecalho(const plataforma::Arquivo& arquivo, const std::string& contexto) {
    std::vector<std::uint8_t> bytes(pos::kFimCabecalhoEstendido);
    bytes.resize(arquivo.LerEm(0, bytes.data(), bytes.size()));
    if (bytes.size() >= 4) {
        const std::size_t tamanho = LeitorBytes(bytes, contexto).U16(2);
        if (tamanho > bytes.size()) {
            bytes.resize(tamanho);
            bytes.resize(arquivo.LerEm(0, bytes.data(), tamanho));
        }
    }
    return bytes;
}

bool MesmaEstrutura(const paradox::Cabecalho& a, const paradox::Cabecalho& b) {
    return a.tamanhoRegistro == b.tamanhoRegistro && a.tamanhoCabecalho == b.tamanhoCabecalho &&
           a.tamanhoBloco == b.tamanhoBloco && a.camposChave == b.camposChave &&
           std::equal(a.campos.begin(), a.campos.end(), b.campos.begin(), b.campos.end(),
                      [](const paradox::Campo& x, const paradox::Campo& y) {
                          return x.tipo == y.tipo && x.tamanho == y.tamanho && x.nome == y.nome;
                      });
}

// Empties a keyed table's primary index as the BDE leaves an empty one. Its
// counts go first, in one write, so an interruption leaves an index of no rows.
void EsvaziarIndice(plataforma::Arquivo& indice, const std::string& nome) {
    std::uint8_t cabecalho[pos::kFimCabecalhoFixo];
    if (indice.LerEm(0, cabecalho, sizeof cabecalho) != sizeof cabecalho)
        throw Erro("Índice \"" + nome + "\": não é um índice Paradox (arquivo curto demais).");
    const std::uint16_t tamanhoCabecalho = LeitorBytes(cabecalho, "Índice \"" + nome + "\"").U16(2);
    if (tamanhoCabecalho < pos::kFimCabecalhoFixo || tamanhoCabecalho > indice.Tamanho())
        throw Erro("Índice \"" + nome + "\": tamanho do cabeçalho inválido.");
    const std::uint8_t zeros[pos::kUltimoBloco + 2 - pos::kNumRegistros] = {};
    indice.EscreverEm(pos::kNumRegistros, zeros, sizeof zeros);  // rows, blocks in use and in file, first, last
    indice.EscreverEm(pos::kRaizIndice, zeros, 2);
    indice.EscreverEm(pos::kNiveisIndice, zeros, 1);
    indice.Truncar(tamanhoCabecalho);
    indice.Sincronizar();
}

}  // namespace

// --- TField -----------------------------------------------------------------

const std::string& TField::FieldName() const { return tabela_->cab_.campos[indice_].nome; }
paradox::TipoCampo TField::DataType() const { return tabela_->cab_.campos[indice_].tipo; }
int TField::Size() const { return tabela_->cab_.campos[indice_].tamanhoDeclarado; }

bool TField::IsNull() const {
    if (const auto& p = tabela_->pendentes_[indice_]) return p->empty();
    const auto& c = tabela_->cab_.campos[indice_];
    return paradox::Nulo(c, std::span(tabela_->registro_).subspan(c.deslocamento, c.tamanho));
}

std::string TField::AsString() const {
    if (const auto& p = tabela_->pendentes_[indice_]) return *p;
    const auto& c = tabela_->cab_.campos[indice_];
    return paradox::Texto(c, std::span(tabela_->registro_).subspan(c.deslocamento, c.tamanho), tabela_->Contexto());
}

void TField::SetAsString(const std::string& valor) {
    const TDataSetState estado = tabela_->estado_;
    if (estado != TDataSetState::dsEdit && estado != TDataSetState::dsInsert)
        throw Erro(tabela_->Contexto() + ": a linha não está em edição; não é possível alterar a coluna \"" +
                   FieldName() + "\".");
    tabela_->pendentes_[indice_] = valor;
    tabela_->observadores_.Avisar();
}

std::optional<TDateTime> TField::AsDateTime() const {
    const auto& c = tabela_->cab_.campos[indice_];
    if (const auto& p = tabela_->pendentes_[indice_]) {
        std::vector<std::uint8_t> bytes(c.tamanho);
        paradox::Codificar(c, *p, bytes, tabela_->Contexto());
        return paradox::DataHora(c, bytes, tabela_->Contexto());
    }
    return paradox::DataHora(c, std::span(tabela_->registro_).subspan(c.deslocamento, c.tamanho), tabela_->Contexto());
}

std::string TField::InicioDoMemo() const {
    const auto& c = tabela_->cab_.campos[indice_];
    return paradox::InicioDoMemo(c, std::span(tabela_->registro_).subspan(c.deslocamento, c.tamanho));
}

// --- TTable: opening and closing ----------------------------------------------

TTable::~TTable() = default;

const std::string& TTable::Contexto() const {
    // Rebuilt only when the name changes: every value read passes it along.
    if (contexto_.empty() || nomeDoContexto_ != TableName) {
        nomeDoContexto_ = TableName;
        contexto_ = "Tabela \"" + TableName + "\"";
    }
    return contexto_;
}

void TTable::ExigirAtiva() const {
    if (!Active()) throw Erro(Contexto() + ": a tabela não está aberta.");
}

void TTable::ExigirGravavel() {
    if (!arquivo_->Gravavel())
        throw Erro(Contexto() + ": a tabela só pode ser lida (arquivo sem permissão de gravação).");
}

const paradox::Cabecalho& TTable::Estrutura() const {
    ExigirAtiva();
    return cab_;
}

void TTable::Open() {
    if (Active()) return;
    const std::string nativo = plataforma::CaminhoNativo(TableName);
    try {
        arquivo_.emplace(nativo, plataforma::Arquivo::Modo::LeituraEscrita, TableName);
    } catch (const Erro&) {
        // A table on a read-only share can still be read; writing then fails with its own message.
        if (!plataforma::Existe(nativo)) throw;
        arquivo_.emplace(nativo, plataforma::Arquivo::Modo::Leitura, TableName);
    }
    try {
        EsquecerVisao();
        campos_.clear();
        Reconciliar();
        for (std::size_t i = 0; i < cab_.campos.size(); ++i) campos_.push_back(TField(*this, i));
        estado_ = TDataSetState::dsBrowse;
        First();
    } catch (...) {
        arquivo_.reset();
        campos_.clear();
        estado_ = TDataSetState::dsInactive;
        throw;
    }
}

void TTable::Close() {
    arquivo_.reset();
    EsquecerVisao();
    cadeia_ = Cadeia{};
    campos_.clear();
    pendentes_.clear();
    registro_.clear();
    dadosBloco_.clear();
    bloco_ = 0;
    eof_ = true;
    estado_ = TDataSetState::dsInactive;
    observadores_.Avisar();
}

// --- TTable: the live view of the file ------------------------------------------

paradox::Cabecalho TTable::CabecalhoDoArquivo() const {
    return paradox::LerCabecalho(BytesDoCabecalho(*arquivo_, Contexto()), Contexto());
}

void TTable::EsquecerVisao() {
    visaoValida_ = false;
    cacheValido_ = false;
}

void TTable::Reconciliar() {
    decltype(cabecalhoVisto_) cabecalho{};
    arquivo_->LerEm(0, cabecalho.data(), cabecalho.size());
    const std::uint64_t tamanho = arquivo_->Tamanho();
    if (visaoValida_ && cabecalho == cabecalhoVisto_ && tamanho == tamanhoArquivo_) return;

    // Something changed, or nothing is known yet.
    const bool conhecida = visaoValida_;
    EsquecerVisao();
    paradox::Cabecalho novo = CabecalhoDoArquivo();
    if (!campos_.empty() && !MesmaEstrutura(cab_, novo))
        throw Erro(Contexto() +
                   ": outro programa alterou a estrutura da tabela enquanto ela estava aberta; feche e abra de novo.");
    // Rows appended at the end, the usual change, are found by walking on from
    // the last block known; anything else walks the chain again.
    const bool soAcrescimo = conhecida && novo.primeiroBloco == cab_.primeiroBloco && cadeia_.ultimo != 0 &&
                             novo.numRegistros >= cab_.numRegistros && tamanho >= tamanhoArquivo_;
    const std::uint32_t acrescidos = novo.numRegistros - (soAcrescimo ? cab_.numRegistros : 0);
    cab_ = std::move(novo);
    tamanhoArquivo_ = tamanho;

    bool percorrida = false;
    if (soAcrescimo) {
        const std::uint32_t antes = cadeia_.registros;
        const InfoBloco ultimo = LerInfoBloco(cadeia_.ultimo);
        if (ultimo.registros >= cadeia_.registrosNoUltimo) {
            cadeia_.registros += ultimo.registros - cadeia_.registrosNoUltimo;
            cadeia_.registrosNoUltimo = ultimo.registros;
            SeguirCadeia(ultimo.proximo);
            percorrida = cadeia_.registros - antes == acrescidos;
        }
    }
    if (!percorrida) PercorrerCadeia();
    cabecalhoVisto_ = cabecalho;
    visaoValida_ = true;
}

void TTable::PercorrerCadeia() {
    cadeia_ = Cadeia{};
    SeguirCadeia(cab_.primeiroBloco);
}

void TTable::SeguirCadeia(std::uint32_t numero) {
    while (numero != 0) {
        ExigirBlocoNoArquivo(numero);
        if (numero >= cadeia_.blocos.size())
            cadeia_.blocos.resize(std::max<std::size_t>(numero + 1, BlocosPossiveis() + 1));
        if (cadeia_.blocos[numero]) throw Erro(Contexto() + ": a cadeia de blocos forma um ciclo.");
        const InfoBloco info = LerInfoBloco(numero);
        cadeia_.Acrescentar(static_cast<std::uint16_t>(numero), info.registros);
        numero = info.proximo;
    }
}

void TTable::Cadeia::Acrescentar(std::uint16_t numero, std::uint32_t registrosNoBloco) {
    if (primeiro == 0) primeiro = numero;
    if (numero >= blocos.size()) blocos.resize(numero + 1);
    blocos[numero] = true;
    registros += registrosNoBloco;
    ultimo = numero;
    registrosNoUltimo = registrosNoBloco;
    emUso += 1;
    maior = std::max(maior, numero);
}

std::uint32_t TTable::BlocosPossiveis() const {
    if (tamanhoArquivo_ <= cab_.tamanhoCabecalho) return 0;
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(
        (tamanhoArquivo_ - cab_.tamanhoCabecalho + cab_.tamanhoBloco - 1) / cab_.tamanhoBloco, 0xFFFF));
}

void TTable::ExigirBlocoNoArquivo(std::uint32_t numero) {
    // Another program may have grown the file since it was last looked at.
    if (numero > BlocosPossiveis()) tamanhoArquivo_ = std::max(tamanhoArquivo_, arquivo_->Tamanho());
    if (numero < 1 || numero > BlocosPossiveis())
        throw Erro(Contexto() + ": a cadeia de blocos aponta para o bloco " + std::to_string(numero) +
                   ", que não existe no arquivo.");
}

std::span<const std::uint8_t> TTable::Ler(std::uint64_t posicao, std::size_t n) {
    // Blocks are mostly chained in file order, and one system call then serves many of them.
    constexpr std::size_t kCache = 64 * 1024;
    const bool dentro = cacheValido_ && posicao >= inicioCache_ && posicao + n <= inicioCache_ + cache_.size();
    if (!dentro) {
        cache_.resize(std::max(kCache, n));
        cache_.resize(arquivo_->LerEm(posicao, cache_.data(), cache_.size()));
        inicioCache_ = posicao;
        cacheValido_ = true;
    }
    const std::size_t deslocamento = static_cast<std::size_t>(posicao - inicioCache_);
    return std::span<const std::uint8_t>(cache_).subspan(deslocamento, std::min(n, cache_.size() - deslocamento));
}

InfoBloco TTable::LerInfoBloco(std::uint32_t numero) {
    ExigirBlocoNoArquivo(numero);
    const std::uint64_t inicio = paradox::InicioDoBloco(cab_, numero);
    const InfoBloco info = paradox::LerInfoBloco(Ler(inicio, paradox::kTamanhoInfoBloco), cab_, numero, Contexto());
    if (inicio + paradox::kTamanhoInfoBloco + std::uint64_t{info.registros} * cab_.tamanhoRegistro > tamanhoArquivo_)
        throw Erro(Contexto() + ": o bloco " + std::to_string(numero) + " está truncado.");
    return info;
}

InfoBloco TTable::CarregarBloco(std::uint32_t numero) {
    const InfoBloco info = LerInfoBloco(numero);
    const std::size_t usados = std::size_t{info.registros} * cab_.tamanhoRegistro;
    const auto bytes = Ler(paradox::InicioDoBloco(cab_, numero), paradox::kTamanhoInfoBloco + usados);
    if (bytes.size() < paradox::kTamanhoInfoBloco + usados)
        throw Erro(Contexto() + ": o bloco " + std::to_string(numero) + " está truncado.");
    dadosBloco_.assign(bytes.begin() + paradox::kTamanhoInfoBloco, bytes.end());
    return info;
}

// --- TTable: moving ----------------------------------------------------------

bool TTable::IrParaBlocoComRegistros(std::uint32_t numero) {
    const std::uint32_t possiveis = BlocosPossiveis();
    for (std::uint32_t passos = 0; numero != 0; ++passos) {
        if (passos > possiveis) throw Erro(Contexto() + ": a cadeia de blocos forma um ciclo.");
        infoBloco_ = CarregarBloco(numero);
        if (infoBloco_.registros > 0) {
            bloco_ = numero;
            indice_ = 0;
            return true;
        }
        numero = infoBloco_.proximo;
    }
    return false;
}

void TTable::CarregarRegistro() {
    registro_.assign(cab_.tamanhoRegistro, 0);
    if (bloco_ != 0) {
        const auto inicio = dadosBloco_.begin() + static_cast<std::ptrdiff_t>(indice_) * cab_.tamanhoRegistro;
        std::copy(inicio, inicio + cab_.tamanhoRegistro, registro_.begin());
    }
    pendentes_.assign(cab_.campos.size(), std::nullopt);
}

std::uint32_t TTable::RecordCount() {
    ExigirAtiva();
    Reconciliar();
    return cadeia_.registros;
}

void TTable::CheckBrowseMode() {
    if (estado_ != TDataSetState::dsEdit && estado_ != TDataSetState::dsInsert) return;
    // Moving away from an edited row keeps what was typed, as data sets do.
    if (std::any_of(pendentes_.begin(), pendentes_.end(), [](const auto& p) { return p.has_value(); }))
        Post();
    else
        Cancel();
}

void TTable::First() {
    ExigirAtiva();
    CheckBrowseMode();
    cacheValido_ = false;  // rows may have changed in place since
    Reconciliar();
    bloco_ = 0;
    eof_ = !IrParaBlocoComRegistros(cadeia_.primeiro);
    CarregarRegistro();
    observadores_.Avisar();
}

void TTable::Next() {
    ExigirAtiva();
    CheckBrowseMode();
    if (eof_) return;
    if (indice_ + 1 < infoBloco_.registros) {
        ++indice_;
    } else if (!IrParaOProximoBloco()) {
        eof_ = true;  // the last row stays current, as data sets do
        observadores_.Avisar();
        return;
    }
    CarregarRegistro();
    observadores_.Avisar();
}

bool TTable::IrParaOProximoBloco() {
    std::uint32_t proximo = infoBloco_.proximo;
    if (proximo == 0) {
        // Past the last row known: another program may have appended since,
        // to this block or after it.
        cacheValido_ = false;
        Reconciliar();
        infoBloco_ = CarregarBloco(bloco_);
        if (indice_ + 1 < infoBloco_.registros) {
            ++indice_;
            return true;
        }
        proximo = infoBloco_.proximo;
    }
    const std::uint32_t atual = bloco_;
    const std::uint32_t indice = indice_;
    if (proximo != 0 && IrParaBlocoComRegistros(proximo)) return true;
    infoBloco_ = CarregarBloco(atual);
    bloco_ = atual;
    indice_ = indice;
    return false;
}

// --- TTable: editing ---------------------------------------------------------

void TTable::Insert() {
    ExigirAtiva();
    CheckBrowseMode();
    registro_.assign(cab_.tamanhoRegistro, 0);
    pendentes_.assign(cab_.campos.size(), std::nullopt);
    estado_ = TDataSetState::dsInsert;
    observadores_.Avisar();
}

void TTable::Edit() {
    ExigirAtiva();
    if (estado_ == TDataSetState::dsEdit || estado_ == TDataSetState::dsInsert) return;
    if (bloco_ == 0) {
        Insert();
        return;
    }
    estado_ = TDataSetState::dsEdit;
    observadores_.Avisar();
}

void TTable::Cancel() {
    if (estado_ != TDataSetState::dsEdit && estado_ != TDataSetState::dsInsert) return;
    estado_ = TDataSetState::dsBrowse;
    CarregarRegistro();
    observadores_.Avisar();
}

std::uint64_t TTable::PosicaoDoRegistro() const {
    return paradox::InicioDoBloco(cab_, bloco_) + paradox::kTamanhoInfoBloco +
           std::uint64_t{indice_} * cab_.tamanhoRegistro;
}

void TTable::Post() {
    ExigirAtiva();
    if (estado_ != TDataSetState::dsEdit && estado_ != TDataSetState::dsInsert)
        throw Erro(Contexto() + ": não há alteração a gravar (a linha não está em edição).");
    std::vector<std::uint8_t> novo = registro_;
    for (std::size_t i = 0; i < cab_.campos.size(); ++i) {
        if (!pendentes_[i]) continue;
        const auto& c = cab_.campos[i];
        paradox::Codificar(c, *pendentes_[i], std::span(novo).subspan(c.deslocamento, c.tamanho), Contexto());
    }
    ExigirGravavel();
    Reconciliar();
    if (estado_ == TDataSetState::dsEdit) {
        for (std::size_t i = 0; i < cab_.camposChave; ++i) {
            const auto& c = cab_.campos[i];
            if (!std::equal(novo.begin() + c.deslocamento, novo.begin() + c.deslocamento + c.tamanho,
                            registro_.begin() + c.deslocamento))
                throw Erro(Contexto() + ": a coluna \"" + c.nome +
                           "\" faz parte da chave primária e não pode ser alterada por este programa.");
        }
        Gravar(PosicaoDoRegistro(), novo);
        if (CabecalhoDiscordaDaCadeia()) GravarContagens();
        MarcarAtualizacao();
    } else {
        Anexar(novo);
    }
    infoBloco_ = CarregarBloco(bloco_);
    registro_ = std::move(novo);
    pendentes_.assign(cab_.campos.size(), std::nullopt);
    estado_ = TDataSetState::dsBrowse;
    eof_ = false;
    observadores_.Avisar();
    if (AfterPost) AfterPost(*this);
}

// --- TTable: writing -----------------------------------------------------------

void TTable::Gravar(std::uint64_t posicao, std::span<const std::uint8_t> bytes) {
    try {
        arquivo_->EscreverEm(posicao, bytes.data(), bytes.size());
    } catch (...) {
        // Part of it may be in the file: look at the file afresh before trusting anything known.
        EsquecerVisao();
        throw;
    }
    const std::uint64_t fim = posicao + bytes.size();
    const auto copiarSobre = [&](auto& destino, std::uint64_t inicioDestino) {
        const std::uint64_t de = std::max(posicao, inicioDestino);
        const std::uint64_t ate = std::min(fim, inicioDestino + destino.size());
        if (de < ate)
            std::copy(bytes.begin() + static_cast<std::ptrdiff_t>(de - posicao),
                      bytes.begin() + static_cast<std::ptrdiff_t>(ate - posicao),
                      destino.begin() + static_cast<std::ptrdiff_t>(de - inicioDestino));
    };
    if (cacheValido_) copiarSobre(cache_, inicioCache_);
    copiarSobre(cabecalhoVisto_, 0);
    tamanhoArquivo_ = std::max(tamanhoArquivo_, fim);
}

void TTable::Truncar(std::uint64_t tamanho) {
    cacheValido_ = false;
    try {
        arquivo_->Truncar(tamanho);
    } catch (...) {
        EsquecerVisao();
        throw;
    }
    tamanhoArquivo_ = tamanho;
}

void TTable::GravarU16Em(std::uint64_t posicao, std::uint16_t valor) {
    std::uint8_t b[2];
    GravarU16(b, valor);
    Gravar(posicao, b);
}

bool TTable::CabecalhoDiscordaDaCadeia() const {
    return cab_.numRegistros != cadeia_.registros || cab_.blocosEmUso != cadeia_.emUso ||
           cab_.primeiroBloco != cadeia_.primeiro || cab_.ultimoBloco != cadeia_.ultimo ||
           cab_.blocosNoArquivo < cadeia_.maior;
}

void TTable::GravarContagens() {
    // Rows, blocks in use, blocks in the file, first and last block: one write,
    // so that no reader finds some of them changed and others not.
    cab_.numRegistros = cadeia_.registros;
    cab_.blocosEmUso = cadeia_.emUso;
    cab_.blocosNoArquivo = std::max(cab_.blocosNoArquivo, cadeia_.maior);
    cab_.primeiroBloco = cadeia_.primeiro;
    cab_.ultimoBloco = cadeia_.ultimo;
    if (cab_.maxBlocos < cab_.blocosNoArquivo) {
        cab_.maxBlocos = cab_.blocosNoArquivo;  // must never be below the blocks in the file
        GravarU16Em(pos::kMaxBlocos, cab_.maxBlocos);
    }
    std::uint8_t b[pos::kUltimoBloco + 2 - pos::kNumRegistros];
    GravarU32(b, cab_.numRegistros);
    GravarU16(b + (pos::kBlocosEmUso - pos::kNumRegistros), cab_.blocosEmUso);
    GravarU16(b + (pos::kBlocosNoArquivo - pos::kNumRegistros), cab_.blocosNoArquivo);
    GravarU16(b + (pos::kPrimeiroBloco - pos::kNumRegistros), cab_.primeiroBloco);
    GravarU16(b + (pos::kUltimoBloco - pos::kNumRegistros), cab_.ultimoBloco);
    Gravar(pos::kNumRegistros, b);
}

void TTable::MarcarAtualizacao() {
    if (!cab_.estendido) return;
    std::uint8_t b[4];
    GravarU32(b, static_cast<std::uint32_t>(std::time(nullptr)));
    Gravar(pos::kHoraAtualizacao, b);
}

std::uint16_t TTable::BlocoLivreUtilizavel(std::uint16_t& proximoLivre) {
    const std::uint16_t livre = cab_.primeiroLivre;
    if (livre == 0) return 0;
    // A free list that leads out of the file or into the chain was left by an
    // interrupted writer: using it would overwrite rows.
    if (livre > BlocosPossiveis() || (livre < cadeia_.blocos.size() && cadeia_.blocos[livre])) return 0;
    const auto bytes = Ler(paradox::InicioDoBloco(cab_, livre), 2);
    if (bytes.size() < 2) return 0;
    proximoLivre = LeitorBytes(bytes, Contexto()).U16(0);
    return livre;
}

void TTable::Anexar(std::vector<std::uint8_t>& registro) {
    if (cab_.camposChave > 0)
        throw Erro(Contexto() + ": não é possível incluir linhas numa tabela com chave primária.");
    if (cadeia_.registros == 0xFFFFFFFFu) throw Erro(Contexto() + ": a tabela está cheia.");

    std::uint32_t autoIncremento = cab_.autoIncremento;
    for (const auto& c : cab_.campos) {
        const auto valor = std::span(registro).subspan(c.deslocamento, c.tamanho);
        if (c.tipo == paradox::TipoCampo::AutoInc && paradox::Nulo(c, valor))
            paradox::Codificar(c, std::to_string(++autoIncremento), valor, Contexto());
    }

    // The record, then the block that holds it, then the header: stopped
    // anywhere, the chain leads to the old rows or to the new ones.
    const std::uint32_t capacidade = (cab_.tamanhoBloco - paradox::kTamanhoInfoBloco) / cab_.tamanhoRegistro;
    InfoBloco info{};
    if (cadeia_.ultimo != 0) info = LerInfoBloco(cadeia_.ultimo);
    std::uint32_t destino = 0;
    if (cadeia_.ultimo != 0 && info.registros < capacidade) {
        destino = cadeia_.ultimo;
        const std::uint64_t inicio = paradox::InicioDoBloco(cab_, destino);
        Gravar(inicio + paradox::kTamanhoInfoBloco + std::uint64_t{info.registros} * cab_.tamanhoRegistro, registro);
        info.registros += 1;
        std::uint8_t b[paradox::kTamanhoInfoBloco];
        paradox::GravarInfoBloco(b, info, cab_);
        Gravar(inicio + 4, std::span(b).subspan(4, 2));
        cadeia_.registrosNoUltimo = info.registros;
        cadeia_.registros += 1;
    } else {
        std::uint16_t proximoLivre = 0;
        destino = BlocoLivreUtilizavel(proximoLivre);
        if (cab_.primeiroLivre != 0) {
            // Off the free list before it joins the chain, so that a block is
            // never in both; a list that cannot be used is dropped.
            cab_.primeiroLivre = proximoLivre;
            GravarU16Em(pos::kPrimeiroLivre, proximoLivre);
        }
        if (destino == 0) {
            const std::uint32_t noArquivo = std::max(cab_.blocosNoArquivo, cadeia_.maior);
            if (noArquivo >= 0xFFFF) throw Erro(Contexto() + ": a tabela está cheia.");
            destino = noArquivo + 1;
        }
        std::vector<std::uint8_t> bloco(cab_.tamanhoBloco, 0);
        paradox::GravarInfoBloco(bloco.data(), InfoBloco{0, cadeia_.ultimo, 1}, cab_);
        std::copy(registro.begin(), registro.end(), bloco.begin() + paradox::kTamanhoInfoBloco);
        Gravar(paradox::InicioDoBloco(cab_, destino), bloco);
        if (cadeia_.ultimo != 0)
            GravarU16Em(paradox::InicioDoBloco(cab_, cadeia_.ultimo), static_cast<std::uint16_t>(destino));
        cadeia_.Acrescentar(static_cast<std::uint16_t>(destino), 1);
    }
    GravarContagens();
    if (autoIncremento != cab_.autoIncremento) {
        cab_.autoIncremento = autoIncremento;
        std::uint8_t b[4];
        GravarU32(b, autoIncremento);
        Gravar(pos::kAutoIncremento, b);
    }
    MarcarAtualizacao();
    bloco_ = destino;
    indice_ = cadeia_.registrosNoUltimo - 1;
}

void TTable::EsvaziarArquivoDaTabela() {
    // The BDE's own empty table is its header alone. The counts go first, in
    // one write: stopped after it, the table is empty to every reader; the
    // free list goes before the blocks it names.
    cab_ = CabecalhoDoArquivo();
    tamanhoArquivo_ = arquivo_->Tamanho();
    const std::uint8_t zeros[pos::kUltimoBloco + 2 - pos::kNumRegistros] = {};
    Gravar(pos::kNumRegistros, zeros);
    Gravar(pos::kMaxBlocos, std::span(zeros).first(2));
    Gravar(pos::kAutoIncremento, std::span(zeros).first(4));
    Gravar(pos::kPrimeiroLivre, std::span(zeros).first(2));
    Truncar(cab_.tamanhoCabecalho);
    arquivo_->Sincronizar();
    EsquecerVisao();
    cadeia_ = Cadeia{};
}

// --- TTable: fields and the rest -------------------------------------------------

TField* TTable::FindField(std::string_view nome) {
    ExigirAtiva();
    // Names are nearly always spelt as declared; the case-blind pass is the fallback.
    for (auto& campo : campos_) {
        if (campo.FieldName() == nome) return &campo;
    }
    for (auto& campo : campos_) {
        if (IguaisSemCaixa(campo.FieldName(), nome)) return &campo;
    }
    return nullptr;
}

TField& TTable::FieldByName(std::string_view nome) {
    if (TField* campo = FindField(nome)) return *campo;
    throw Erro(Contexto() + ": coluna \"" + std::string(nome) + "\" não encontrada.");
}

bool TTable::Exists() const { return plataforma::Existe(plataforma::CaminhoNativo(TableName)); }

void TTable::EmptyTable() {
    const std::string nativo = plataforma::CaminhoNativo(TableName);
    if (Active()) {
        ExigirGravavel();
        Cancel();
        EsvaziarArquivoDaTabela();
        First();
    } else {
        // A closed table is emptied through its file, read no further than its
        // header: one whose chain is damaged can still be emptied.
        arquivo_.emplace(nativo, plataforma::Arquivo::Modo::LeituraEscrita, TableName);
        try {
            EsvaziarArquivoDaTabela();
        } catch (...) {
            arquivo_.reset();
            throw;
        }
        arquivo_.reset();
    }
    // A keyed table's primary index must be emptied with it, or the BDE finds it out of date.
    for (const char* extensao : {".PX", ".px", ".Px", ".pX"}) {
        const std::string px = NomeDoIndicePrimario(nativo, extensao);
        if (!plataforma::Existe(px)) continue;
        const std::string nomePx = NomeDoIndicePrimario(TableName, ".PX");
        plataforma::Arquivo indice(px, plataforma::Arquivo::Modo::LeituraEscrita, nomePx);
        EsvaziarIndice(indice, nomePx);
        break;
    }
}

hDBICur TTable::Handle() {
    ExigirAtiva();
    return this;
}

void DbiSaveChanges(hDBICur cursor) {
    if (cursor == nullptr || !cursor->Active()) throw Erro("Não há tabela aberta para salvar no disco.");
    cursor->arquivo_->Sincronizar();
}

}  // namespace rotulos
