// Open a label table and produce every label's command stream into memory.
// Goal: 100 000 rows in under 100 ms on the project's machine, cost linear in rows.
// And list a 200 000-row table as the table tool does, into a sink: the engine's
// walk and every value's text, without the terminal's cost.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <ostream>
#include <streambuf>
#include <string>

#include "ComandosRotulo.h"
#include "Listagem.h"
#include "ParadoxCriar.h"
#include "TTable.h"

namespace {

using namespace rotulos;

const std::string& TabelaCom(int linhas) {
    static std::map<int, std::string> criadas;
    auto& caminho = criadas[linhas];
    if (!caminho.empty()) return caminho;
    caminho = (std::filesystem::temp_directory_path() /
               ("rotulos-bench-" + std::to_string(::getpid()) + "-" + std::to_string(linhas) + ".db"))
                  .string();
    std::filesystem::remove(caminho);
    paradox::CriarTabela(
        caminho, paradox::LerDefinicaoColunas("Nome1:A40,Nome2:A40,Nome3:A40,Cliente:A40,Onu:A10,PesoL:A10,PesoB:A10,"
                                              "Lote:A10,DataFab:D,DataVal:D"));
    TTable t(caminho);
    t.Open();
    for (int i = 0; i < linhas; ++i) {
        t.Insert();
        t.FieldByName("Nome1").SetAsString(
            "\xC1"
            "CIDO SULF\xDA"
            "RICO 98% T\xC9"
            "CNICO GRAU " +
            std::to_string(i));
        t.FieldByName("Nome2").SetAsString("Tambor de 200 litros");
        t.FieldByName("Nome3").SetAsString("Produto perigoso - classe 8");
        t.FieldByName("Cliente").SetAsString(
            "Qu\xED"
            "mica Brasil Ltda");
        t.FieldByName("Onu").SetAsString("1830");
        t.FieldByName("PesoL").SetAsString("25,00 kg");
        t.FieldByName("PesoB").SetAsString("26,10 kg");
        t.FieldByName("Lote").SetAsString("L24031");
        t.FieldByName("DataFab").SetAsString("2024-03-05");
        t.FieldByName("DataVal").SetAsString("2026-03-05");
        t.Post();
    }
    return caminho;
}

void BM_TodosOsRotulos(benchmark::State& estado) {
    const int linhas = static_cast<int>(estado.range(0));
    const std::string& caminho = TabelaCom(linhas);
    const ConfiguracaoImpressora config{"13", "E", "220", "220"};
    SaidaEmMemoria saida;
    for (auto _ : estado) {
        TTable tbTmp(caminho);
        tbTmp.Open();
        std::size_t bytes = 0;
        for (tbTmp.First(); !tbTmp.Eof(); tbTmp.Next()) {
            saida.Limpar();
            EscreverRotulo(saida, 1, config, tbTmp);
            bytes += saida.Bytes().size();
        }
        benchmark::DoNotOptimize(bytes);
    }
    estado.SetComplexityN(linhas);
    estado.SetItemsProcessed(estado.iterations() * linhas);
}

// Takes every character and keeps none.
class Descarte : public std::streambuf {
protected:
    int_type overflow(int_type c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

void BM_ListarTabela(benchmark::State& estado) {
    const int linhas = static_cast<int>(estado.range(0));
    const bool bruto = estado.range(1) != 0;
    const std::string& caminho = TabelaCom(linhas);
    Descarte descarte;
    std::ostream saida(&descarte);
    for (auto _ : estado) {
        TTable tabela(caminho);
        tabela.Open();
        ListarTabela(tabela, bruto, saida);
    }
    estado.SetItemsProcessed(estado.iterations() * linhas);
}

BENCHMARK(BM_ListarTabela)->Args({200'000, 0})->Args({200'000, 1})->Unit(benchmark::kMillisecond);

BENCHMARK(BM_TodosOsRotulos)
    ->Arg(10'000)
    ->Arg(50'000)
    ->Arg(100'000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (const int n : {10'000, 50'000, 100'000, 200'000}) std::filesystem::remove(TabelaCom(n));
    return 0;
}
