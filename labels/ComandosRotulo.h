#pragma once

// The DPL command lines of one label, produced and written one at a time.

#include <cstddef>
#include <string>
#include <string_view>

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

// Keeps the lines, with their CR LF, in memory.
class SaidaEmMemoria : public SaidaLinhas {
public:
    void EscreverLinha(std::string_view linha) override {
        bytes_ += linha;
        bytes_ += "\r\n";
        ++linhas_;
    }
    const std::string& Bytes() const { return bytes_; }
    std::size_t Linhas() const { return linhas_; }
    void Limpar() {
        bytes_.clear();
        linhas_ = 0;
    }

private:
    std::string bytes_;
    std::size_t linhas_ = 0;
};

// Size index 0 is the small label ("Pequeno"); every other value the large one.
constexpr int kPequeno = 0;

// Writes the label of the current row of `tbTmp`: set-up block, field block and
// closing block. Each field is looked up, read and written before the next, so
// a failure leaves the lines before it written.
void EscreverRotulo(SaidaLinhas& saida, int tamanho, const ConfiguracaoImpressora& config, TTable& tbTmp);

// A control byte inside a value would end the DPL record and let the rest be
// read as commands; each becomes a space. Bytes from 0x80 up are the font's.
std::string SemBytesDeControle(std::string texto);

}  // namespace rotulos
