#pragma once

// Binding of edit boxes to the current row of a table, without any widget:
// a data source follows a table, a field link follows one column through it.
// The widget side only shows TextoExibido() and hands typed text to AceitarTexto().

#include <functional>
#include <string>

#include "Avisos.h"
#include "CodePage.h"
#include "TTable.h"

namespace rotulos {

class TDataSource {
public:
    TDataSource() = default;
    ~TDataSource();
    TDataSource(const TDataSource&) = delete;
    TDataSource& operator=(const TDataSource&) = delete;

    // The table must outlive the data source (the window declares it first).
    void SetDataSet(TTable* tabela);
    TTable* DataSet() const { return tabela_; }

    // Called whenever the table's state, current row or a field changes.
    int Ligar(std::function<void()> aoMudar) { return ligacoes_.Ligar(std::move(aoMudar)); }
    void Desligar(int id) { ligacoes_.Desligar(id); }

private:
    TTable* tabela_ = nullptr;
    int observacao_ = 0;
    Avisos ligacoes_;
};

class TFieldDataLink {
public:
    TFieldDataLink(TDataSource& fonte, std::string dataField);
    ~TFieldDataLink();
    TFieldDataLink(const TFieldDataLink&) = delete;
    TFieldDataLink& operator=(const TFieldDataLink&) = delete;

    // The widget refreshes its text from TextoExibido() when told.
    std::function<void()> AoMudar;

    // The field's value decoded from the table's code page to UTF-8; empty
    // while the table is closed or has no such column.
    std::string TextoExibido() const;
    // The same value as the table's 8-bit bytes.
    std::string TextoBruto() const;
    // Encodes UTF-8 text shown by a widget back to the table's bytes; empty
    // when a character has no byte in the code page.
    std::optional<std::string> Codificar(const std::string& utf8) const;
    bool PodeEditar() const;
    // Widest text the column takes, 0 when it is not a text column.
    int TamanhoMaximo() const;
    // Takes typed text into the field; false (and nothing changes) when the row
    // is not being edited or a character cannot be stored in the code page.
    bool AceitarTexto(const std::string& utf8);

private:
    TField* Campo() const;
    CodePage Pagina() const;

    TDataSource& fonte_;
    std::string campo_;
    int ligacao_;
};

}  // namespace rotulos
