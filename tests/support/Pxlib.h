#pragma once

// pxlib, the independent Paradox reader our tables are checked against.
// Test-only: the program never links it.

extern "C" {
#include <paradox.h>
}

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace rotulos::teste {

struct ValorPx {
    bool nulo = true;
    int tipo = 0;
    long inteiro = 0;
    double real = 0;
    std::string texto;
};

struct TabelaPx {
    int registros = 0;
    std::vector<std::string> nomes;
    std::vector<int> tipos;
    std::vector<std::vector<ValorPx>> linhas;
};

inline TabelaPx LerComPxlib(const std::string& caminho) {
    pxdoc_t* doc = PX_new2([](pxdoc_t*, int, const char*, void*) {}, nullptr, nullptr, nullptr);
    if (!doc) throw std::runtime_error("PX_new");
    if (PX_open_file(doc, caminho.c_str()) < 0) {
        PX_delete(doc);
        throw std::runtime_error("pxlib não abriu " + caminho);
    }
    TabelaPx tabela;
    tabela.registros = PX_get_num_records(doc);
    const int n = PX_get_num_fields(doc);
    for (int i = 0; i < n; ++i) {
        pxfield_t* campo = PX_get_field(doc, i);
        tabela.nomes.emplace_back(campo->px_fname);
        tabela.tipos.push_back(campo->px_ftype);
    }
    for (int r = 0; r < tabela.registros; ++r) {
        pxval_t** valores = PX_retrieve_record(doc, r);
        if (!valores) break;
        std::vector<ValorPx> linha;
        for (int i = 0; i < n; ++i) {
            ValorPx v;
            v.nulo = valores[i]->isnull;
            v.tipo = valores[i]->type;
            switch (valores[i]->type) {
                case pxfAlpha:
                case pxfMemoBLOb:
                case pxfBLOb:
                case pxfFmtMemoBLOb:
                case pxfOLE:
                case pxfGraphic:
                case pxfBytes:
                case pxfBCD:
                    if (!v.nulo && valores[i]->value.str.val) {
                        v.texto.assign(valores[i]->value.str.val, static_cast<std::size_t>(valores[i]->value.str.len));
                        doc->free(doc, valores[i]->value.str.val);
                    }
                    break;
                case pxfNumber:
                case pxfCurrency:
                case pxfTimestamp: v.real = valores[i]->value.dval; break;
                default: v.inteiro = valores[i]->value.lval; break;
            }
            // pxlib leaves isnull unset for numbers and dates and hands over the raw
            // decoded blank instead: the most negative value, or 0.0 for doubles.
            if (!v.nulo) {
                switch (v.tipo) {
                    case pxfShort: v.nulo = v.inteiro == -32768; break;
                    case pxfDate:
                    case pxfLong:
                    case pxfAutoInc:
                    case pxfTime: v.nulo = v.inteiro == -2147483647L - 1; break;
                    case pxfTimestamp: v.nulo = v.real == 0.0; break;
                    default: break;
                }
            }
            doc->free(doc, valores[i]);
            linha.push_back(std::move(v));
        }
        doc->free(doc, valores);
        tabela.linhas.push_back(std::move(linha));
    }
    PX_close(doc);
    PX_delete(doc);
    return tabela;
}

}  // namespace rotulos::teste
