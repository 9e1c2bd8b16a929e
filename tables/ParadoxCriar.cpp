#include "ParadoxCriar.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <ctime>

#include "Bytes.h"
#include "Erro.h"
#include "SemCaixa.h"
#include "platform/Plataforma.h"

namespace rotulos::paradox {

namespace {

struct Letra {
    char letra;
    TipoCampo tipo;
    std::uint8_t tamanhoFixo;  // 0: taken from the definition
};

constexpr Letra kLetras[] = {
    {'A', TipoCampo::Alpha, 0},   {'N', TipoCampo::Number, 8}, {'$', TipoCampo::Currency, 8},
    {'D', TipoCampo::Date, 4},    {'S', TipoCampo::Short, 2},  {'I', TipoCampo::Long, 4},
    {'L', TipoCampo::Logical, 1}, {'T', TipoCampo::Time, 4},   {'@', TipoCampo::Timestamp, 8},
    {'+', TipoCampo::AutoInc, 4}, {'#', TipoCampo::Bcd, 0},    {'Y', TipoCampo::Bytes, 0},
};

[[noreturn]] void Invalida(const std::string& coluna, const std::string& causa) {
    throw Erro("Definição de coluna \"" + coluna + "\" inválida: " + causa + ".");
}

std::uint16_t Armazenado(const DefinicaoColuna& c) { return c.tipo == TipoCampo::Bcd ? 17 : c.tamanho; }

}  // namespace

std::vector<DefinicaoColuna> LerDefinicaoColunas(const std::string& texto) {
    std::vector<DefinicaoColuna> colunas;
    std::size_t inicio = 0;
    while (inicio <= texto.size()) {
        std::size_t fim = texto.find(',', inicio);
        if (fim == std::string::npos) fim = texto.size();
        const std::string item = texto.substr(inicio, fim - inicio);
        const auto doisPontos = item.rfind(':');
        if (doisPontos == std::string::npos || doisPontos == 0 || doisPontos + 1 >= item.size())
            Invalida(item, "use NOME:TIPO, como Nome1:A40");
        DefinicaoColuna c{item.substr(0, doisPontos), TipoCampo::Alpha, 0};
        const std::string tipo = item.substr(doisPontos + 1);
        const char letra = static_cast<char>(std::toupper(static_cast<unsigned char>(tipo[0])));
        const auto achada =
            std::find_if(std::begin(kLetras), std::end(kLetras), [&](const Letra& l) { return l.letra == letra; });
        if (achada == std::end(kLetras)) Invalida(item, "tipo \"" + tipo + "\" desconhecido");
        c.tipo = achada->tipo;
        const std::string numero = tipo.substr(1);
        if (achada->tamanhoFixo != 0) {
            if (!numero.empty()) Invalida(item, "o tipo " + std::string(1, letra) + " não leva tamanho");
            c.tamanho = achada->tamanhoFixo;
        } else {
            int n = -1;
            const auto r = std::from_chars(numero.data(), numero.data() + numero.size(), n);
            const int minimo = c.tipo == TipoCampo::Bcd ? 0 : 1;
            const int maximo = c.tipo == TipoCampo::Bcd ? 32 : 255;
            if (numero.empty() || r.ec != std::errc() || r.ptr != numero.data() + numero.size() || n < minimo ||
                n > maximo)
                Invalida(item, "tamanho deve ser de " + std::to_string(minimo) + " a " + std::to_string(maximo));
            c.tamanho = static_cast<std::uint8_t>(n);
        }
        if (c.nome.size() > 25) Invalida(item, "nome com mais de 25 caracteres");
        for (const auto& outra : colunas) {
            if (IguaisSemCaixa(outra.nome, c.nome)) Invalida(item, "nome repetido");
        }
        colunas.push_back(c);
        inicio = fim + 1;
    }
    if (colunas.size() > 255) throw Erro("Uma tabela comporta no máximo 255 colunas.");
    return colunas;
}

std::string LetraDoTipo(const Campo& campo) {
    // Appended rather than `letra + to_string()`, which g++ 12 warns about (-Wrestrict) when inlined.
    const auto comTamanho = [&campo](char letra) {
        std::string texto(1, letra);
        texto += std::to_string(campo.tamanhoDeclarado);
        return texto;
    };
    for (const auto& l : kLetras) {
        if (l.tipo != campo.tipo) continue;
        return l.tamanhoFixo ? std::string(1, l.letra) : comTamanho(l.letra);
    }
    switch (campo.tipo) {
        case TipoCampo::Memo: return comTamanho('M');
        case TipoCampo::Blob: return comTamanho('B');
        case TipoCampo::FmtMemo: return comTamanho('F');
        case TipoCampo::Ole: return comTamanho('O');
        case TipoCampo::Graphic: return comTamanho('G');
        default: return "?";
    }
}

void CriarTabela(const std::string& caminho, const std::vector<DefinicaoColuna>& colunas, std::uint16_t codePage) {
    if (colunas.empty()) throw Erro("Uma tabela precisa de ao menos uma coluna.");
    std::uint32_t tamanhoRegistro = 0;
    for (const auto& c : colunas) tamanhoRegistro += Armazenado(c);
    if (tamanhoRegistro > 0x7FFF) throw Erro("As colunas somam mais bytes do que um registro comporta.");
    std::uint8_t blocoKiB = 2;
    while (blocoKiB < 32 && tamanhoRegistro + kTamanhoInfoBloco > blocoKiB * 1024u) blocoKiB *= 2;
    if (tamanhoRegistro + kTamanhoInfoBloco > blocoKiB * 1024u) throw Erro("O registro não cabe num bloco.");

    const auto barra = caminho.find_last_of("\\/");
    std::string nomeTabela = barra == std::string::npos ? caminho : caminho.substr(barra + 1);
    nomeTabela.resize(std::min<std::size_t>(nomeTabela.size(), 260));
    const bool windows = codePage == 1252;
    const std::string ordem = windows ? "DBWINUS0" : "ascii";

    const std::size_t n = colunas.size();
    std::vector<std::uint8_t> variavel;
    for (const auto& c : colunas) {
        variavel.push_back(static_cast<std::uint8_t>(c.tipo));
        variavel.push_back(c.tamanho);
    }
    variavel.resize(variavel.size() + 4 + 4 * n, 0);  // pointers: memory addresses, meaningless on disk
    const std::size_t inicioNome = variavel.size();
    variavel.resize(inicioNome + 261, 0);
    std::copy(nomeTabela.begin(), nomeTabela.end(), variavel.begin() + static_cast<std::ptrdiff_t>(inicioNome));
    for (const auto& c : colunas) {
        variavel.insert(variavel.end(), c.nome.begin(), c.nome.end());
        variavel.push_back(0);
    }
    for (std::size_t i = 1; i <= n; ++i) {
        variavel.push_back(static_cast<std::uint8_t>(i & 0xFF));
        variavel.push_back(static_cast<std::uint8_t>(i >> 8));
    }
    variavel.insert(variavel.end(), ordem.begin(), ordem.end());
    variavel.push_back(0);

    const std::size_t ocupado = pos::kFimCabecalhoEstendido + variavel.size();
    const std::size_t tamanhoCabecalho = (ocupado + 0x7FF) / 0x800 * 0x800;
    if (tamanhoCabecalho > 0xF800) throw Erro("Colunas demais para o cabeçalho de uma tabela.");
    std::vector<std::uint8_t> h(tamanhoCabecalho, 0);
    GravarU16(&h[0x00], static_cast<std::uint16_t>(tamanhoRegistro));
    GravarU16(&h[0x02], static_cast<std::uint16_t>(tamanhoCabecalho));
    h[0x04] = 2;  // unkeyed
    h[0x05] = blocoKiB;
    GravarU16(&h[0x21], static_cast<std::uint16_t>(n));
    GravarU32(&h[0x25], 0xFF00FF00u);  // "not encrypted" in Paradox 4 and later
    h[0x29] = windows ? 0x4C : 0x00;
    h[0x39] = 0x0C;  // Paradox 7
    h[0x3E] = 0x1F;
    h[0x3F] = 0x0F;
    GravarU16(&h[0x58], 0x010C);
    GravarU16(&h[0x5A], 0x010C);
    GravarU32(&h[pos::kHoraAtualizacao], static_cast<std::uint32_t>(std::time(nullptr)));
    GravarU16(&h[0x64], static_cast<std::uint16_t>(n + 1));
    GravarU16(&h[0x6A], codePage);
    std::copy(variavel.begin(), variavel.end(), h.begin() + pos::kFimCabecalhoEstendido);

    // Check what we wrote with the same reader every table goes through.
    LerCabecalho(h, "Tabela \"" + caminho + "\"");

    const std::string nativo = plataforma::CaminhoNativo(caminho);
    plataforma::Arquivo arquivo = plataforma::Arquivo::Criar(nativo, caminho);
    try {
        arquivo.EscreverEm(0, h.data(), h.size());
        arquivo.Sincronizar();
    } catch (...) {
        plataforma::RemoverArquivo(nativo);
        throw;
    }
}

}  // namespace rotulos::paradox
