#!/usr/bin/env bash
# Runs the table fuzzer for a bounded time, seeded with the real sample tables.
# Inputs that crash it are kept in fuzz/regressions/tabela/, which the tests replay.
set -euo pipefail
cd "$(dirname "$0")/.."
segundos="${1:-60}"
amostras=tests/data/amostras
corpus=build-fuzz/corpus
mkdir -p "$corpus" fuzz/regressions/tabela
# Small seeds keep the fuzzer fast; the big samples add nothing the small ones lack.
find "$amostras" -maxdepth 1 -name '*.db' -size -40k -exec cp -n {} "$corpus/" \;
cp -n fuzz/regressions/tabela/* "$corpus/" 2>/dev/null || true
echo "Fuzzer das tabelas por ${segundos} s..."
./build-fuzz/bin/tabela_fuzzer "$corpus" -max_total_time="$segundos" -max_len=70000 -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix=fuzz/regressions/tabela/ 2>build-fuzz/fuzz.log \
    || { tail -60 build-fuzz/fuzz.log; echo "O fuzzer encontrou uma falha (guardada em fuzz/regressions/tabela/)."; exit 1; }
grep -E '^stat::number_of_executed_units|^Done' build-fuzz/fuzz.log || tail -3 build-fuzz/fuzz.log
echo "Fuzzer terminou sem falhas."
