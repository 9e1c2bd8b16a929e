#!/usr/bin/env bash
# The Windows program end to end, under Wine in an X server of our own with a
# window manager: a fresh Wine prefix, the MSI installed silently, the
# installed window driven by keyboard and mouse on real C:\TARVEL tables with
# LPT1 and LPT3 as the prefix's DOS devices linked to files, then the MSI
# removed silently. Tables are made by the native rotulos-tabela and read
# back with pxlib.
#   janela_win32_e2e.sh MSI BIN_NATIVO DADOS OPERADOR_SH PREFIXO
# ROTULOS_CENARIOS="pequeno interromper" runs only those scenarios.
set -euo pipefail
msi=$1 bin=$2 dados=$3 prefixo=$5
. "$4"

for programa in rotulos-tabela pxlib-listar posicoes-janela; do
    [ -x "$bin/$programa" ] || { echo "Falta $bin/$programa: construa antes o Linux (make build)." >&2; exit 1; }
done

export WINEPREFIX=$prefixo WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
instalado='C:\Program Files\Impressão de Rótulos\imprime-rotulos.exe'
pasta_instalada="$prefixo/drive_c/Program Files/Impressão de Rótulos"
titulo="Impressão de Rótulos"
falhas=0
trap 'wineserver -k 2>/dev/null; kill "${OPERADOR_WM_PID:-}" "${OPERADOR_XVFB_PID:-}" 2>/dev/null' EXIT

# Ends the scenario (each runs in a subshell) or, outside one, the test; the
# screen as it was is kept beside the prefix.
falhar() {
    echo "FALHA ($caso): $*" >&2
    [ -z "${DISPLAY:-}" ] || import -window root "$prefixo-falha-$caso.png" 2>/dev/null || true
    exit 1
}

# --- a fresh prefix, with the printers and the tables' folder ---------------------
echo "Criando um prefixo novo do Wine em $prefixo..."
rm -rf "$prefixo"
mkdir -p "$(dirname "$prefixo")"
wineboot --init >/dev/null 2>&1
wineserver --wait
for porta in lpt1 lpt3; do ln -sfn "$prefixo/$porta.saida" "$prefixo/dosdevices/$porta"; done
mkdir -p "$prefixo/drive_c/TARVEL"
export ROTULOS_DRIVE_C="$prefixo/drive_c"
rotulos="$prefixo/drive_c/TARVEL/TMP239.DB"
conf="$prefixo/drive_c/TARVEL/ConfImpr.db"

operador_iniciar_xvfb
operador_carregar_posicoes "$bin/posicoes-janela"

# --- silent install -----------------------------------------------------------------
caso=instalar
wine msiexec /i "Z:$msi" /qn
wineserver --wait
[ -f "$pasta_instalada/imprime-rotulos.exe" ] && [ -f "$pasta_instalada/rotulos-tabela.exe" ] ||
    falhar "os programas não estão em $pasta_instalada"
atalho=$(find "$prefixo/drive_c" -path '*Start Menu/Programs/Impressão de Rótulos.lnk' | head -n 1)
[ -n "$atalho" ] || falhar "sem atalho no menu Iniciar"
grep -aq '"DisplayName"="Impress\\xe3o de R\\xf3tulos"' "$prefixo/system.reg" ||
    falhar "sem entrada na lista de programas instalados"
echo "OK (instalar): $pasta_instalada, atalho $(basename "$atalho"), programas instalados"

# --- the scenarios ----------------------------------------------------------------
preparar() {
    local n=$1
    rm -f "$rotulos" "$conf"
    : >"$prefixo/lpt1.saida"
    : >"$prefixo/lpt3.saida"
    operador_criar_tabelas "$bin/rotulos-tabela" "$n"
}

# Presses $2 (Return) on the box titled $1 of the program, once it is there.
responder() {
    local caixa
    caixa=$(operador_esperar_janela "$1" "$programa" "$janela" 30) || falhar "a caixa \"$1\" não apareceu"
    operador_teclas "$caixa" "${2:-Return}"
}

conferir_fim() {
    local porta=$1 restam=$2 temperatura=${3:-13}
    [ "$OPERADOR_STATUS" -eq 0 ] || falhar "status de saída $OPERADOR_STATUS"
    [ "$("$bin/pxlib-listar" "$rotulos" | head -n 1)" = "$restam" ] || falhar "rótulos na tabela: $("$bin/pxlib-listar" "$rotulos" | head -n 1)"
    local salvo
    salvo=$("$bin/pxlib-listar" "$conf")
    [ "$salvo" = "$(printf '1\n%s\tE\t220\t220\t%s' "$temperatura" "$porta")" ] || falhar "configurações salvas: $salvo"
}

cenario() {
    caso=$1
    local n=2 porta=LPT1 referencia="$dados/rotulo-pequeno.ref"
    case "$caso" in grande) n=1 ;; vazia) n=0 ;; interromper) n=3 ;; esac
    preparar "$n"
    wine "$instalado" &
    programa=$!
    # The first start in a fresh prefix also builds Wine's font cache.
    janela=$(operador_esperar_janela "$titulo" "$programa" "" 90) || falhar "a janela não abriu"
    case "$caso" in
        pequeno | grande)
            local inicio decorrido
            if [ "$caso" = grande ]; then
                # By mouse: the size, then "Imprimir".
                operador_clicar "$janela" RadioGroup1.1
                operador_clicar "$janela" Button1
                porta=LPT3 referencia="$dados/rotulo-grande.ref"
            else
                # By keyboard: the focus starts on "Imprimir", and Enter presses it.
                operador_teclas "$janela" Return
            fi
            inicio=$(date +%s%N)
            responder "Confirmação"
            operador_esperar_fim "$programa" 30 || falhar "o programa não terminou"
            decorrido=$((($(date +%s%N) - inicio) / 1000000))
            [ "$decorrido" -ge $((2000 * n)) ] || falhar "terminou após $decorrido ms para $n rótulos"
            for _ in $(seq $n); do cat "$referencia"; done >"$prefixo/esperado"
            cmp "$prefixo/esperado" "$prefixo/${porta,,}.saida" || falhar "bytes em $porta diferem de $referencia"
            conferir_fim "$porta" 0
            ;;
        nao)
            operador_clicar "$janela" Button1
            responder "Confirmação" Escape
            operador_esperar_fim "$programa" 30 || falhar "o programa não terminou"
            [ ! -s "$prefixo/lpt1.saida" ] || falhar "algo foi impresso"
            conferir_fim LPT1 0
            ;;
        vazia)
            operador_teclas "$janela" Return
            responder "Confirmação"
            responder "$titulo"  # "Arquivo vazio."
            operador_esperar_fim "$programa" 30 || falhar "o programa não terminou"
            [ ! -s "$prefixo/lpt1.saida" ] || falhar "algo foi impresso"
            conferir_fim LPT1 0
            ;;
        porta)
            # A port this prefix has no device for: told, the window stays, "Fechar" closes.
            operador_clicar "$janela" DBEdit1
            operador_teclas "$janela" Home shift+End
            operador_digitar "$janela" LPT2
            operador_clicar "$janela" Button1
            responder "Confirmação"
            responder "$titulo"  # "Não conseguiu abrir impressora!"
            kill -0 "$programa" 2>/dev/null || falhar "a janela fechou"
            # The box gone, the keyboard is back on "Imprimir": Tab to "Fechar", Space presses it.
            operador_teclas "$janela" Tab space
            operador_esperar_fim "$programa" 30 || falhar "o programa não terminou"
            [ ! -s "$prefixo/lpt1.saida" ] && [ ! -s "$prefixo/lpt3.saida" ] || falhar "algo foi impresso"
            conferir_fim LPT2 0
            ;;
        semente)
            # First start: the empty settings table is seeded; Tab to "Fechar", Space presses it.
            operador_teclas "$janela" Tab space
            operador_esperar_fim "$programa" 30 || falhar "o programa não terminou"
            conferir_fim LPT1 0
            ;;
        interromper)
            operador_clicar "$janela" Button1
            responder "Confirmação"
            operador_esperar_titulo "$janela" "$titulo – imprimindo rótulo 1 de 3" 20 || falhar "o título não mostrou o andamento"
            operador_teclas "$janela" alt+F4
            responder "Confirmação"
            responder "$titulo"  # "Impressão interrompida."
            operador_esperar_titulo "$janela" "$titulo" 20 || falhar "o título não voltou"
            cmp "$referencia" "$prefixo/lpt1.saida" || falhar "a porta não tem exatamente o primeiro rótulo"
            [ "$("$bin/pxlib-listar" "$rotulos" | head -n 1)" = 3 ] || falhar "os rótulos não ficaram na tabela"
            operador_clicar "$janela" Button2
            operador_esperar_fim "$programa" 30 || falhar "o programa não terminou"
            conferir_fim LPT1 0
            ;;
    esac
}

for caso in ${ROTULOS_CENARIOS:-semente pequeno grande nao vazia porta interromper}; do
    if (cenario "$caso"); then
        echo "OK ($caso)"
    else
        echo "FALHA ($caso)" >&2
        falhas=$((falhas + 1))
        wineserver -k 2>/dev/null || true
    fi
done

# --- silent uninstall -------------------------------------------------------------
caso=desinstalar
wine msiexec /x "Z:$msi" /qn
wineserver --wait
[ "$falhas" -eq 0 ] || echo "$falhas cenários falharam." >&2
if [ -e "$pasta_instalada" ] || [ -e "$atalho" ] || grep -aq '"DisplayName"="Impress\\xe3o de R\\xf3tulos"' "$prefixo/system.reg"; then
    falhar "ficou algo da instalação"
fi
echo "OK (desinstalar): programas, atalho e entrada removidos"
if [ "$falhas" -ne 0 ]; then exit 1; fi
