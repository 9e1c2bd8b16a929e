#!/usr/bin/env bash
# End to end: the real program in a real X server, driven by mouse and keyboard
# as an operator would, the printer a file. Tables made with rotulos-tabela and
# read back with pxlib.
#   janela_e2e.sh CASO BIN PXLIB_LISTAR DADOS OPERADOR_SH
# CASO: pequeno | grande | nao | fechar
set -euo pipefail
caso=$1 bin=$2 pxlib=$3 dados=$4
. "$5"

pasta=$(mktemp -d)
trap 'kill "${OPERADOR_XVFB_PID:-}" 2>/dev/null; rm -rf "$pasta"' EXIT
mkdir -p "$pasta/C/TARVEL" "$pasta/portas"
export ROTULOS_DRIVE_C="$pasta/C"
export ROTULOS_DEVICE_DIR="$pasta/portas"
rotulos="$pasta/C/TARVEL/TMP239.DB"
conf="$pasta/C/TARVEL/ConfImpr.db"

falhar() {
    echo "FALHA ($caso): $*" >&2
    exit 1
}

"$bin/rotulos-tabela" criar 'C:\TARVEL\TMP239.DB' "$OPERADOR_COLUNAS_ROTULOS"
"$bin/rotulos-tabela" criar 'C:\TARVEL\ConfImpr.db' "$OPERADOR_COLUNAS_CONF"
rotulo='\xC1CIDO SULF\xDARICO 98%	Grau t\xE9cnico	Tambor de 200 litros	Qu\xEDmica Brasil Ltda	1830	25,00 kg	26,10 kg	L24031	2024-03-05	2026-03-05'
n=2
[ "$caso" = grande ] && n=1
for _ in $(seq $n); do printf '%s\n' "$rotulo"; done | "$bin/rotulos-tabela" inserir 'C:\TARVEL\TMP239.DB'
[ "$("$pxlib" "$rotulos" | head -n 1)" = "$n" ] || falhar "a tabela de rótulos não tem $n linhas"

operador_iniciar_xvfb
"$bin/imprime-rotulos" &
programa=$!
janela=$(operador_esperar_janela "Impressão de Rótulos")
sleep 0.5

porta=LPT1 referencia="$dados/rotulo-pequeno.ref" temperatura=13
case "$caso" in
    pequeno | grande)
        if [ "$caso" = grande ]; then
            operador_clicar "$janela" "${OPERADOR_GRANDE[@]}"
            porta=LPT3 referencia="$dados/rotulo-grande.ref"
        fi
        operador_clicar "$janela" "${OPERADOR_IMPRIMIR[@]}"
        confirmacao=$(operador_esperar_janela "Confirmação")
        inicio=$(date +%s%N)
        operador_teclas "$confirmacao" Return
        operador_esperar_fim "$programa" 40 || falhar "o programa não terminou"
        decorrido=$((($(date +%s%N) - inicio) / 1000000))
        # Two seconds after each label, then the window closes.
        [ "$decorrido" -ge $((2000 * n)) ] && [ "$decorrido" -lt $((2000 * n + 10000)) ] ||
            falhar "terminou após $decorrido ms para $n rótulos"
        esperado="$pasta/esperado"
        for _ in $(seq $n); do cat "$referencia"; done >"$esperado"
        cmp "$esperado" "$pasta/portas/$porta" || falhar "bytes na porta $porta diferem de $referencia"
        ;;
    nao)
        operador_clicar "$janela" "${OPERADOR_IMPRIMIR[@]}"
        confirmacao=$(operador_esperar_janela "Confirmação")
        operador_teclas "$confirmacao" Escape
        operador_esperar_fim "$programa" 10 || falhar "o programa não terminou"
        [ ! -s "$pasta/portas/LPT1" ] || falhar "algo foi impresso"
        ;;
    fechar)
        operador_clicar "$janela" "${OPERADOR_TEMPERATURA[@]}"
        operador_teclas "$janela" ctrl+a
        operador_digitar "$janela" 15
        temperatura=15
        operador_clicar "$janela" "${OPERADOR_FECHAR[@]}"
        operador_esperar_fim "$programa" 10 || falhar "o programa não terminou"
        [ ! -s "$pasta/portas/LPT1" ] || falhar "algo foi impresso"
        ;;
    *) falhar "caso desconhecido" ;;
esac

[ "$OPERADOR_STATUS" -eq 0 ] || falhar "status de saída $OPERADOR_STATUS"
[ "$("$pxlib" "$rotulos")" = "0" ] || falhar "ficaram rótulos na tabela: $("$pxlib" "$rotulos")"
salvo=$("$pxlib" "$conf")
[ "$salvo" = "$(printf '1\n%s\tE\t220\t220\t%s' "$temperatura" "$porta")" ] || falhar "configurações salvas: $salvo"
echo "OK ($caso)"
