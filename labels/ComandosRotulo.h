#pragma once

// The DPL command lines of one label, produced and written one at a time.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "TTable.h"

namespace rotulos {

// The four printer settings as the window shows them, in the table's 8-bit code page.
struct ConfiguracaoImpressora {
    std::string Temperatura;  // heat, behind "H"
    std::string Velocidade;   // print speed, behind "P"
    std::string Borda;        // start offset, behind STX "O0"
    std::string Retorno;      // backfeed, behind STX "f"
};

// Where the lines go. Each call writes one line followed by CR LF.
class SaidaLinhas {
public:
    virtual ~SaidaLinhas() = default;
    virtual void EscreverLinha(std::string_view linha) = 0;
};

// Keeps the lines in memory: a label composed whole before any of it is sent.
class SaidaEmMemoria : public SaidaLinhas {
public:
    void EscreverLinha(std::string_view linha) override { linhas_.emplace_back(linha); }
    const std::vector<std::string>& Linhas() const { return linhas_; }
    // The lines as the printer receives them, each ended by CR LF.
    std::string Bytes() const;
    void Limpar() { linhas_.clear(); }

private:
    std::vector<std::string> linhas_;
};

// Size index 0 is the small label ("Pequeno"); every other value the large one.
constexpr int kPequeno = 0;

// Writes the label of the current row of `tbTmp`: set-up block, field block and
// closing block. Each field is looked up, read and written before the next, so
// a failure leaves the lines before it written; the print run composes into
// memory first for that reason.
void EscreverRotulo(SaidaLinhas& saida, int tamanho, const ConfiguracaoImpressora& config, TTable& tbTmp);

// Throws, naming them, when `tbTmp` lacks a column the layout of `tamanho`
// prints, or has a date column of a type that holds no date: found before the
// printer is opened, not half-way through a label.
void ExigirColunas(TTable& tbTmp, int tamanho);

// A control byte inside a value would end the DPL record and let the rest be
// read as commands; each becomes a space. Bytes from 0x80 up are the font's.
std::string SemBytesDeControle(std::string texto);

}  // namespace rotulos
