#include "TTable.h"

#include <algorithm>
#include <cctype>
#include <ctime>

#include "Bytes.h"
#include "Erro.h"

namespace rotulos {

using paradox::InfoBloco;

namespace {

bool MesmoNome(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

std::string NomeDoIndicePrimario(const std::string& nativo, const std::string& extensao) {
    const auto ponto = nativo.find_last_of('.');
    const auto barra = nativo.find_last_of("/\\");
    const std::string base = (ponto == std::string::npos || (barra != std::string::npos && ponto < barra))
                                 ? nativo
                                 : nativo.substr(0, ponto);
    return base + extensao;
}

// Empties one open .DB or .PX file the way the BDE leaves an empty table:
// header only, no blocks, every other header byte as found.
void EsvaziarArquivo(plataforma::Arquivo& arquivo, std::uint16_t tamanhoCabecalho, bool indice) {
    std::uint8_t zeros[8] = {};
    arquivo.EscreverEm(paradox::pos::kNumRegistros, zeros, 4);
    arquivo.EscreverEm(paradox::pos::kBlocosEmUso, zeros, 8);  // 0x0A..0x11: blocks in use, in file, first, last
    if (indice) {
        arquivo.EscreverEm(paradox::pos::kRaizIndice, zeros, 2);
        arquivo.EscreverEm(paradox::pos::kNiveisIndice, zeros, 1);
    } else {
        arquivo.EscreverEm(paradox::pos::kMaxBlocos, zeros, 2);
        arquivo.EscreverEm(paradox::pos::kAutoIncremento, zeros, 4);
        arquivo.EscreverEm(paradox::pos::kPrimeiroLivre, zeros, 2);
    }
    arquivo.Truncar(tamanhoCabecalho);
    arquivo.Sincronizar();
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
    tabela_->Avisar();
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

// --- TTable -----------------------------------------------------------------

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
        LerCabecalhoDoArquivo();
        VerificarCadeia();
        campos_.clear();
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
    campos_.clear();
    pendentes_.clear();
    registro_.clear();
    dadosBloco_.clear();
    bloco_ = 0;
    eof_ = true;
    estado_ = TDataSetState::dsInactive;
    Avisar();
}

namespace {

// The header's own size is in its first bytes: read those, then the rest.
std::vector<std::uint8_t> BytesDoCabecalho(const plataforma::Arquivo& arquivo) {
    std::vector<std::uint8_t> bytes(paradox::pos::kFimCabecalhoEstendido);
    bytes.resize(arquivo.LerEm(0, bytes.data(), bytes.size()));
    if (bytes.size() >= 4) {
        const std::size_t tamanho = bytes[2] | (bytes[3] << 8);
        if (tamanho > bytes.size()) {
            bytes.resize(tamanho);
            bytes.resize(arquivo.LerEm(0, bytes.data(), tamanho));
        }
    }
    return bytes;
}

}  // namespace

void TTable::LerCabecalhoDoArquivo() { cab_ = paradox::LerCabecalho(BytesDoCabecalho(*arquivo_), Contexto()); }

std::uint32_t TTable::BlocosPossiveis() const {
    if (tamanhoArquivo_ <= cab_.tamanhoCabecalho) return 0;
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(
        (tamanhoArquivo_ - cab_.tamanhoCabecalho + cab_.tamanhoBloco - 1) / cab_.tamanhoBloco, 0xFFFF));
}

void TTable::ExigirBlocoNoArquivo(std::uint32_t numero) const {
    if (numero < 1 || numero > BlocosPossiveis())
        throw Erro(Contexto() + ": a cadeia de blocos aponta para o bloco " + std::to_string(numero) +
                   ", que não existe no arquivo.");
}

std::span<const std::uint8_t> TTable::Ler(std::uint64_t posicao, std::size_t n) {
    // Reads go through a small window of the file: blocks are mostly chained in
    // file order, and one system call then serves many of them.
    constexpr std::size_t kJanela = 64 * 1024;
    const bool dentro = janelaValida_ && posicao >= inicioJanela_ && posicao + n <= inicioJanela_ + janela_.size();
    if (!dentro) {
        janela_.resize(std::max(kJanela, n));
        janela_.resize(arquivo_->LerEm(posicao, janela_.data(), janela_.size()));
        inicioJanela_ = posicao;
        janelaValida_ = true;
    }
    const std::size_t deslocamento = static_cast<std::size_t>(posicao - inicioJanela_);
    return std::span<const std::uint8_t>(janela_).subspan(deslocamento, std::min(n, janela_.size() - deslocamento));
}

paradox::InfoBloco TTable::CarregarBloco(std::uint32_t numero) {
    ExigirBlocoNoArquivo(numero);
    const auto bytes = Ler(paradox::InicioDoBloco(cab_, numero), cab_.tamanhoBloco);
    const InfoBloco info = paradox::LerInfoBloco(bytes.first(std::min(bytes.size(), paradox::kTamanhoInfoBloco)), cab_,
                                                 numero, Contexto());
    const std::size_t usados = std::size_t{info.registros} * cab_.tamanhoRegistro;
    if (bytes.size() < paradox::kTamanhoInfoBloco + usados)
        throw Erro(Contexto() + ": o bloco " + std::to_string(numero) + " está truncado.");
    dadosBloco_.assign(bytes.begin() + paradox::kTamanhoInfoBloco,
                       bytes.begin() + static_cast<std::ptrdiff_t>(paradox::kTamanhoInfoBloco + usados));
    return info;
}

void TTable::VerificarCadeia() {
    tamanhoArquivo_ = arquivo_->Tamanho();
    janelaValida_ = false;
    const std::uint32_t possiveis = BlocosPossiveis();
    std::uint64_t total = 0;
    std::uint32_t visitados = 0;
    for (std::uint32_t b = cab_.primeiroBloco; b != 0;) {
        if (++visitados > possiveis) {
            ExigirBlocoNoArquivo(b);
            throw Erro(Contexto() + ": a cadeia de blocos forma um ciclo.");
        }
        ExigirBlocoNoArquivo(b);
        const std::uint64_t inicio = paradox::InicioDoBloco(cab_, b);
        const InfoBloco info = paradox::LerInfoBloco(Ler(inicio, paradox::kTamanhoInfoBloco), cab_, b, Contexto());
        if (inicio + paradox::kTamanhoInfoBloco + std::uint64_t{info.registros} * cab_.tamanhoRegistro >
            tamanhoArquivo_)
            throw Erro(Contexto() + ": o bloco " + std::to_string(b) + " está truncado.");
        total += info.registros;
        b = info.proximo;
    }
    if (total != cab_.numRegistros)
        throw Erro(Contexto() + ": o cabeçalho diz " + std::to_string(cab_.numRegistros) +
                   " registros, mas os blocos contêm " + std::to_string(total) + ".");
}

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

std::uint32_t TTable::RecordCount() const {
    ExigirAtiva();
    return cab_.numRegistros;
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
    janelaValida_ = false;  // another program may have written since
    bloco_ = 0;
    eof_ = !IrParaBlocoComRegistros(cab_.primeiroBloco);
    CarregarRegistro();
    Avisar();
}

void TTable::Next() {
    ExigirAtiva();
    CheckBrowseMode();
    if (eof_) return;
    if (indice_ + 1 < infoBloco_.registros) {
        ++indice_;
    } else {
        const std::uint32_t atual = bloco_;
        const std::uint32_t indice = indice_;
        if (!IrParaBlocoComRegistros(infoBloco_.proximo)) {
            // Past the last row: the last row stays current, as data sets do.
            infoBloco_ = CarregarBloco(atual);
            bloco_ = atual;
            indice_ = indice;
            eof_ = true;
            Avisar();
            return;
        }
    }
    CarregarRegistro();
    Avisar();
}

void TTable::Insert() {
    ExigirAtiva();
    CheckBrowseMode();
    registro_.assign(cab_.tamanhoRegistro, 0);
    pendentes_.assign(cab_.campos.size(), std::nullopt);
    estado_ = TDataSetState::dsInsert;
    Avisar();
}

void TTable::Edit() {
    ExigirAtiva();
    if (estado_ == TDataSetState::dsEdit || estado_ == TDataSetState::dsInsert) return;
    if (bloco_ == 0) {
        Insert();
        return;
    }
    estado_ = TDataSetState::dsEdit;
    Avisar();
}

void TTable::Cancel() {
    if (estado_ != TDataSetState::dsEdit && estado_ != TDataSetState::dsInsert) return;
    estado_ = TDataSetState::dsBrowse;
    CarregarRegistro();
    Avisar();
}

std::uint64_t TTable::PosicaoDoRegistro() const {
    return paradox::InicioDoBloco(cab_, bloco_) + paradox::kTamanhoInfoBloco +
           std::uint64_t{indice_} * cab_.tamanhoRegistro;
}

void TTable::ExigirGravavel() {
    if (!arquivo_->Gravavel())
        throw Erro(Contexto() + ": a tabela só pode ser lida (arquivo sem permissão de gravação).");
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
    janelaValida_ = false;
    if (estado_ == TDataSetState::dsEdit) {
        for (std::size_t i = 0; i < cab_.camposChave; ++i) {
            const auto& c = cab_.campos[i];
            if (!std::equal(novo.begin() + c.deslocamento, novo.begin() + c.deslocamento + c.tamanho,
                            registro_.begin() + c.deslocamento))
                throw Erro(Contexto() + ": a coluna \"" + c.nome +
                           "\" faz parte da chave primária e não pode ser alterada por este programa.");
        }
        arquivo_->EscreverEm(PosicaoDoRegistro(), novo.data(), novo.size());
        std::copy(novo.begin(), novo.end(),
                  dadosBloco_.begin() + static_cast<std::ptrdiff_t>(indice_) * cab_.tamanhoRegistro);
    } else {
        Anexar(novo);
    }
    registro_ = std::move(novo);
    pendentes_.assign(cab_.campos.size(), std::nullopt);
    estado_ = TDataSetState::dsBrowse;
    eof_ = false;
    Avisar();
    if (AfterPost) AfterPost(*this);
}

void TTable::GravarCabecalho16(std::size_t posicao, std::uint16_t valor) {
    janelaValida_ = false;
    std::uint8_t b[2];
    GravarU16(b, valor);
    arquivo_->EscreverEm(posicao, b, sizeof b);
}

void TTable::GravarCabecalho32(std::size_t posicao, std::uint32_t valor) {
    std::uint8_t b[4];
    GravarU32(b, valor);
    arquivo_->EscreverEm(posicao, b, sizeof b);
}

void TTable::MarcarAtualizacao() {
    if (cab_.estendido)
        GravarCabecalho32(paradox::pos::kHoraAtualizacao, static_cast<std::uint32_t>(std::time(nullptr)));
}

void TTable::Anexar(std::vector<std::uint8_t>& registro) {
    // Another program may have changed the table since it was opened: check the
    // chain again then, and only then, so appending stays cheap.
    const paradox::Cabecalho anterior = cab_;
    LerCabecalhoDoArquivo();
    if (cab_.numRegistros != anterior.numRegistros || cab_.primeiroBloco != anterior.primeiroBloco ||
        cab_.ultimoBloco != anterior.ultimoBloco || cab_.blocosNoArquivo != anterior.blocosNoArquivo ||
        cab_.primeiroLivre != anterior.primeiroLivre)
        VerificarCadeia();
    if (cab_.camposChave > 0)
        throw Erro(Contexto() + ": não é possível incluir linhas numa tabela com chave primária.");
    if (cab_.numRegistros == 0xFFFFFFFFu) throw Erro(Contexto() + ": a tabela está cheia.");

    for (std::size_t i = 0; i < cab_.campos.size(); ++i) {
        const auto& c = cab_.campos[i];
        const auto valor = std::span(registro).subspan(c.deslocamento, c.tamanho);
        if (c.tipo == paradox::TipoCampo::AutoInc && paradox::Nulo(c, valor)) {
            cab_.autoIncremento += 1;
            paradox::Codificar(c, std::to_string(cab_.autoIncremento), valor, Contexto());
            GravarCabecalho32(paradox::pos::kAutoIncremento, cab_.autoIncremento);
        }
    }

    const std::uint32_t capacidade = (cab_.tamanhoBloco - paradox::kTamanhoInfoBloco) / cab_.tamanhoRegistro;
    std::uint32_t destino = 0;
    InfoBloco info{};
    if (cab_.ultimoBloco != 0) {
        info = CarregarBloco(cab_.ultimoBloco);
        if (info.registros < capacidade) destino = cab_.ultimoBloco;
    }

    if (destino != 0) {
        // Room in the last block: the record, then the block's count, then the header.
        const std::uint64_t inicio = paradox::InicioDoBloco(cab_, destino);
        arquivo_->EscreverEm(inicio + paradox::kTamanhoInfoBloco + std::uint64_t{info.registros} * cab_.tamanhoRegistro,
                             registro.data(), registro.size());
        info.registros += 1;
        std::uint8_t b[paradox::kTamanhoInfoBloco];
        paradox::GravarInfoBloco(b, info, cab_);
        arquivo_->EscreverEm(inicio + 4, b + 4, 2);
    } else {
        // A new block: from the free list if there is one, else at the end of the file.
        const bool daListaLivre = cab_.primeiroLivre != 0;
        std::uint16_t proximoLivre = 0;
        if (daListaLivre) {
            destino = cab_.primeiroLivre;
            if (destino > BlocosPossiveis())
                throw Erro(Contexto() + ": a lista de blocos livres aponta para fora do arquivo.");
            std::uint8_t b[2];
            if (arquivo_->LerEm(paradox::InicioDoBloco(cab_, destino), b, 2) != 2)
                throw Erro(Contexto() + ": a lista de blocos livres aponta para fora do arquivo.");
            proximoLivre = static_cast<std::uint16_t>(b[0] | (b[1] << 8));
        } else {
            if (cab_.blocosNoArquivo == 0xFFFF) throw Erro(Contexto() + ": a tabela está cheia.");
            destino = std::uint32_t{cab_.blocosNoArquivo} + 1;
        }
        std::vector<std::uint8_t> bloco(cab_.tamanhoBloco, 0);
        paradox::GravarInfoBloco(bloco.data(), InfoBloco{0, cab_.ultimoBloco, 1}, cab_);
        std::copy(registro.begin(), registro.end(), bloco.begin() + paradox::kTamanhoInfoBloco);
        arquivo_->EscreverEm(paradox::InicioDoBloco(cab_, destino), bloco.data(), bloco.size());
        tamanhoArquivo_ = std::max(tamanhoArquivo_, paradox::InicioDoBloco(cab_, destino) + bloco.size());
        if (cab_.ultimoBloco != 0) {
            std::uint8_t b[2];
            GravarU16(b, static_cast<std::uint16_t>(destino));
            arquivo_->EscreverEm(paradox::InicioDoBloco(cab_, cab_.ultimoBloco), b, 2);
        }
        if (daListaLivre) {
            cab_.primeiroLivre = proximoLivre;
            GravarCabecalho16(paradox::pos::kPrimeiroLivre, proximoLivre);
        } else {
            cab_.blocosNoArquivo = static_cast<std::uint16_t>(destino);
            GravarCabecalho16(paradox::pos::kBlocosNoArquivo, cab_.blocosNoArquivo);
            if (cab_.maxBlocos < cab_.blocosNoArquivo) {
                cab_.maxBlocos = cab_.blocosNoArquivo;
                GravarCabecalho16(paradox::pos::kMaxBlocos, cab_.maxBlocos);
            }
        }
        cab_.blocosEmUso += 1;
        GravarCabecalho16(paradox::pos::kBlocosEmUso, cab_.blocosEmUso);
        if (cab_.primeiroBloco == 0) {
            cab_.primeiroBloco = static_cast<std::uint16_t>(destino);
            GravarCabecalho16(paradox::pos::kPrimeiroBloco, cab_.primeiroBloco);
        }
        cab_.ultimoBloco = static_cast<std::uint16_t>(destino);
        GravarCabecalho16(paradox::pos::kUltimoBloco, cab_.ultimoBloco);
    }
    cab_.numRegistros += 1;
    GravarCabecalho32(paradox::pos::kNumRegistros, cab_.numRegistros);
    MarcarAtualizacao();

    infoBloco_ = CarregarBloco(destino);
    bloco_ = destino;
    indice_ = infoBloco_.registros - 1;
}

TField* TTable::FindField(std::string_view nome) {
    ExigirAtiva();
    // Names are nearly always spelt as declared; the case-blind pass is the fallback.
    for (auto& campo : campos_) {
        const std::string& nomeDoCampo = campo.FieldName();
        if (nomeDoCampo.size() == nome.size() && nomeDoCampo.compare(0, nome.size(), nome) == 0) return &campo;
    }
    for (auto& campo : campos_) {
        if (MesmoNome(campo.FieldName(), nome)) return &campo;
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
        LerCabecalhoDoArquivo();
        EsvaziarArquivo(*arquivo_, cab_.tamanhoCabecalho, false);
        LerCabecalhoDoArquivo();
        VerificarCadeia();
        First();
    } else {
        plataforma::Arquivo arquivo(nativo, plataforma::Arquivo::Modo::LeituraEscrita, TableName);
        const paradox::Cabecalho cab = paradox::LerCabecalho(BytesDoCabecalho(arquivo), Contexto());
        EsvaziarArquivo(arquivo, cab.tamanhoCabecalho, false);
    }
    // A keyed table's primary index must be emptied with it, or the BDE finds it out of date.
    for (const char* extensao : {".PX", ".px", ".Px", ".pX"}) {
        const std::string px = NomeDoIndicePrimario(nativo, extensao);
        if (!plataforma::Existe(px)) continue;
        const std::string nomePx = NomeDoIndicePrimario(TableName, ".PX");
        plataforma::Arquivo indice(px, plataforma::Arquivo::Modo::LeituraEscrita, nomePx);
        std::uint8_t b[4];
        if (indice.LerEm(0, b, 4) != 4 || indice.Tamanho() < paradox::pos::kFimCabecalhoFixo)
            throw Erro("Índice \"" + nomePx + "\": não é um índice Paradox (arquivo curto demais).");
        const auto tamanhoCabecalho = static_cast<std::uint16_t>(b[2] | (b[3] << 8));
        if (tamanhoCabecalho < paradox::pos::kFimCabecalhoFixo || tamanhoCabecalho > indice.Tamanho())
            throw Erro("Índice \"" + nomePx + "\": tamanho do cabeçalho inválido.");
        EsvaziarArquivo(indice, tamanhoCabecalho, true);
        break;
    }
}

hDBICur TTable::Handle() {
    ExigirAtiva();
    return this;
}

int TTable::Observar(Observador observador) {
    observadores_.emplace_back(++proximoObservador_, std::move(observador));
    return proximoObservador_;
}

void TTable::DeixarDeObservar(int id) {
    std::erase_if(observadores_, [id](const auto& par) { return par.first == id; });
}

void TTable::Avisar() {
    const auto copia = observadores_;
    for (const auto& [id, observador] : copia) observador();
}

void DbiSaveChanges(hDBICur cursor) {
    if (cursor == nullptr || !cursor->Active()) throw Erro("Não há tabela aberta para salvar no disco.");
    cursor->arquivo_->Sincronizar();
}

}  // namespace rotulos
