#!/usr/bin/env bash
# Runs a Windows test program under Wine, without a display, in a Wine prefix
# kept in the build folder (made on first use). LPT1 of that prefix is linked
# to a file, which the test finds in ROTULOS_TESTE_LPT1.
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
    : >"$prefixo/lpt1.saida"
    ln -sfn "$prefixo/lpt1.saida" "$prefixo/dosdevices/lpt1"
) 9>"$prefixo.lock"

export ROTULOS_TESTE_LPT1="Z:$prefixo/lpt1.saida"
exec wine "$@"
