#!/usr/bin/env bash
# Runs a Windows test program under Wine, without a display, in a Wine prefix
# kept in the build folder (made on first use). LPT1 and LPT3 of that prefix
# are linked to files, which the tests find in ROTULOS_TESTE_LPT1 and _LPT3.
#   wine-teste.sh PREFIXO PROGRAMA.exe [argumentos...]
set -euo pipefail
prefixo=$1
shift
export WINEPREFIX=$prefixo
export WINEDEBUG=-all
# No Mono or Gecko installers, no windows: the tests need neither.
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY

mkdir -p "$(dirname "$prefixo")"
(
    # ctest may start several programs at once; one of them makes the prefix.
    flock 9
    if [ ! -f "$prefixo/system.reg" ]; then
        echo "Criando o prefixo do Wine em $prefixo..."
        wineboot --init >/dev/null 2>&1
        wineserver --wait
    fi
    mkdir -p "$prefixo/dosdevices"
    for porta in lpt1 lpt3; do
        : >"$prefixo/$porta.saida"
        ln -sfn "$prefixo/$porta.saida" "$prefixo/dosdevices/$porta"
    done
) 9>"$prefixo.lock"

export ROTULOS_TESTE_LPT1="Z:$prefixo/lpt1.saida"
export ROTULOS_TESTE_LPT3="Z:$prefixo/lpt3.saida"
exec wine "$@"
