#pragma once

// A Paradox table as the program uses it: one current row, browsed, edited or
// inserted field by field. The label table is also written by another program,
// and either program may be killed between two writes, so:
// - blocks are read one at a time through a small cache, and the file's header
//   and size are looked at again before what is known of them is trusted
//   (First, RecordCount, a Next past the last row known, every post);
// - rows are where the block chain says. A header whose counts disagree with
//   the chain, as an interrupted writer leaves it, is read past, and our next
//   write sets it right;
// - every write changes only the bytes the operation needs, in an order that
//   leaves a table readable with the old or the new rows wherever it stops.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "Avisos.h"
#include "DataHora.h"
#include "ParadoxFormato.h"
#include "platform/Plataforma.h"

namespace rotulos {

enum class TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert };

class TTable;

class TField {
public:
    const std::string& FieldName() const;
    paradox::TipoCampo DataType() const;
    // The declared size: the width of a text column, the decimals of a BCD one.
    int Size() const;
    bool IsNull() const;
    // The value as text; a pending change while the row is edited or inserted.
    std::string AsString() const;
    // Records a new value for the row in state edit or insert; it is checked
    // and stored by the next post.
    void SetAsString(const std::string& valor);
    // Empty for a blank date.
    std::optional<TDateTime> AsDateTime() const;
    // What a memo column keeps of its text in the row; empty for other columns
    // whose data lives in the .MB file.
    std::string InicioDoMemo() const;

private:
    friend class TTable;
    TField(TTable& tabela, std::size_t indice) : tabela_(&tabela), indice_(indice) {}

    TTable* tabela_;
    std::size_t indice_;
};

// The handle the engine's flush call takes, as the table's own handle.
using hDBICur = TTable*;

class TTable {
public:
    TTable() = default;
    explicit TTable(std::string tableName) : TableName(std::move(tableName)) {}
    ~TTable();
    TTable(const TTable&) = delete;
    TTable& operator=(const TTable&) = delete;

    // The table's file, as the program names it ("C:\TARVEL\TMP239.DB").
    std::string TableName;
    // Runs after every successful post.
    std::function<void(TTable&)> AfterPost;

    void Open();
    void Close();
    bool Active() const { return arquivo_.has_value(); }
    // Whether the table's file is there, by TableName.
    bool Exists() const;
    TDataSetState State() const { return estado_; }

    // Rows in the block chain, as the file holds them now.
    std::uint32_t RecordCount();
    void First();
    void Next();
    bool Eof() const { return eof_; }

    void Insert();
    // Puts the current row in state edit; on an empty table it inserts, as the
    // data-aware controls expect.
    void Edit();
    void Post();
    void Cancel();
    // Posts a row with changes, or cancels an untouched one, before moving away from it.
    void CheckBrowseMode();

    TField& FieldByName(std::string_view nome);
    TField* FindField(std::string_view nome);
    std::size_t FieldCount() const { return campos_.size(); }
    TField& Fields(std::size_t indice) { return campos_.at(indice); }
    const paradox::Cabecalho& Estrutura() const;

    // Deletes every row; works on a closed table, found by TableName.
    void EmptyTable();

    hDBICur Handle();

    // Told whenever the state, the current row or a field value changes.
    int Observar(std::function<void()> observador) { return observadores_.Ligar(std::move(observador)); }
    void DeixarDeObservar(int id) { observadores_.Desligar(id); }

private:
    friend class TField;
    friend void DbiSaveChanges(hDBICur cursor);

    // What the block chain holds, as last walked.
    struct Cadeia {
        std::uint32_t registros = 0;
        std::uint16_t primeiro = 0;
        std::uint16_t ultimo = 0;
        std::uint16_t emUso = 0;
        std::uint16_t maior = 0;  // highest block number in it
        std::uint32_t registrosNoUltimo = 0;
        std::vector<bool> blocos;  // blocos[n]: block n is in it

        // Block `numero`, holding `registrosNoBloco` rows, joins at the end.
        void Acrescentar(std::uint16_t numero, std::uint32_t registrosNoBloco);
    };

    const std::string& Contexto() const;
    void ExigirAtiva() const;
    void ExigirGravavel();

    // The live view of the file: the header as last read, its size, the chain.
    paradox::Cabecalho CabecalhoDoArquivo() const;
    // Looks at the header and the size again; walks the chain only when they
    // changed, and then only the part past what was known when rows were appended.
    void Reconciliar();
    void PercorrerCadeia();
    void SeguirCadeia(std::uint32_t numero);
    void EsquecerVisao();
    std::uint32_t BlocosPossiveis() const;
    void ExigirBlocoNoArquivo(std::uint32_t numero);
    // Up to `n` bytes at `posicao` (fewer at the end of the file), valid until the next read.
    std::span<const std::uint8_t> Ler(std::uint64_t posicao, std::size_t n);
    paradox::InfoBloco LerInfoBloco(std::uint32_t numero);
    // Loads block `numero` with its records into memory.
    paradox::InfoBloco CarregarBloco(std::uint32_t numero);
    // Moves to the first row at or after block `numero`; false at the end of the chain.
    bool IrParaBlocoComRegistros(std::uint32_t numero);
    // Past the current block's last row: to rows appended to it meanwhile, or to
    // the next block with rows. False, with the current row kept, at the end.
    bool IrParaOProximoBloco();
    void CarregarRegistro();
    std::uint64_t PosicaoDoRegistro() const;

    // Every change to the file goes through these two, which keep the cache,
    // the header as last read and the known size true to it.
    void Gravar(std::uint64_t posicao, std::span<const std::uint8_t> bytes);
    void Truncar(std::uint64_t tamanho);
    void GravarU16Em(std::uint64_t posicao, std::uint16_t valor);
    void Anexar(std::vector<std::uint8_t>& registro);
    std::uint16_t BlocoLivreUtilizavel(std::uint16_t& proximoLivre);
    bool CabecalhoDiscordaDaCadeia() const;
    void GravarContagens();
    void MarcarAtualizacao();
    void EsvaziarArquivoDaTabela();

    std::optional<plataforma::Arquivo> arquivo_;
    paradox::Cabecalho cab_{};
    std::array<std::uint8_t, paradox::pos::kFimCabecalhoEstendido> cabecalhoVisto_{};
    std::uint64_t tamanhoArquivo_ = 0;
    Cadeia cadeia_;
    bool visaoValida_ = false;
    std::vector<std::uint8_t> cache_;
    std::uint64_t inicioCache_ = 0;
    bool cacheValido_ = false;

    std::vector<TField> campos_;
    TDataSetState estado_ = TDataSetState::dsInactive;

    std::uint32_t bloco_ = 0;   // current block, 0 when there is no current row
    std::uint32_t indice_ = 0;  // row within the block
    paradox::InfoBloco infoBloco_{};
    std::vector<std::uint8_t> dadosBloco_;
    bool eof_ = true;

    std::vector<std::uint8_t> registro_;
    std::vector<std::optional<std::string>> pendentes_;

    mutable std::string contexto_;
    mutable std::string nomeDoContexto_;

    Avisos observadores_;
};

// Writes the table's changes to disk at once (fsync); throws when it cannot.
void DbiSaveChanges(hDBICur cursor);

}  // namespace rotulos
