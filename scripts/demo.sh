#!/usr/bin/env bash
# The program on a demo installation: a drive C: in demo/ with five labels
# waiting and an empty settings table, the printer ports as files. With a
# display the operator uses the window; without one an X server of our own is
# started and one label is printed as an operator would.
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
bin="$raiz/build/bin"
demo="$raiz/demo"
. "$raiz/scripts/operador.sh"

rm -rf "$demo"
mkdir -p "$demo/C/TARVEL" "$demo/portas"
export ROTULOS_DRIVE_C="$demo/C"
export ROTULOS_DEVICE_DIR="$demo/portas"
: >"$demo/portas/LPT1"
: >"$demo/portas/LPT3"

"$bin/rotulos-tabela" criar "C:\\TARVEL\\TMP239.DB" "$OPERADOR_COLUNAS_ROTULOS"
# The other program writes in the table's code page, 1252.
iconv -f UTF-8 -t CP1252 <<'LINHAS' | "$bin/rotulos-tabela" inserir "C:\\TARVEL\\TMP239.DB"
ÁCIDO SULFÚRICO 98%	Grau técnico	Tambor de 200 litros	Química Brasil Ltda	1830	25,00 kg	26,10 kg	L24031	2024-03-05	2026-03-05
HIDRÓXIDO DE SÓDIO 50%	Solução aquosa	Bombona de 50 kg	Papel e Celulose São João S.A.	1824	50,00 kg	52,30 kg	L24032	2024-03-06	2025-03-06
ÁLCOOL ISOPROPÍLICO	Pureza 99,8%	Tambor de 160 kg	Tintas Paraná Indústria	1219	160,0 kg	178,5 kg	L24033	2024-03-07	2027-03-07
HIPOCLORITO DE SÓDIO 12%	Solução	Bombona de 20 L	Saneamento Ribeirão Ltda	1791	24,00 kg	25,20 kg	L24034	2024-03-08	2024-09-08
ÁCIDO CLORÍDRICO 33%	Grau técnico	Contêiner IBC 1000 L	Galvânica União	1789	1150 kg	1210 kg	L24035	2024-03-11	2025-03-11
LINHAS
"$bin/rotulos-tabela" criar "C:\\TARVEL\\ConfImpr.db" "$OPERADOR_COLUNAS_CONF"

echo "Instalação de demonstração em $demo:"
echo "  C:\\TARVEL\\TMP239.DB com 5 rótulos; C:\\TARVEL\\ConfImpr.db vazia;"
echo "  as portas LPT1 (Pequeno) e LPT3 (Grande) são os arquivos de $demo/portas."

if [ -n "${DISPLAY:-}" ]; then
    echo "Abrindo a janela \"Impressão de Rótulos\"."
    "$bin/imprime-rotulos"
    echo "Saída da impressora: $demo/portas/LPT1 e $demo/portas/LPT3"
    exit 0
fi

echo "Sem tela (DISPLAY vazio): um servidor X próprio (Xvfb), com o gerenciador de janelas"
echo "openbox, faz as vezes da tela, e a demonstração opera a janela como um operador."
operador_iniciar_xvfb
operador_carregar_posicoes "$bin/posicoes-janela"
# Only one label in the table, so the walk takes one pause of two seconds.
"$bin/rotulos-tabela" esvaziar "C:\\TARVEL\\TMP239.DB"
iconv -f UTF-8 -t CP1252 <<'LINHAS' | "$bin/rotulos-tabela" inserir "C:\\TARVEL\\TMP239.DB"
ÁCIDO SULFÚRICO 98%	Grau técnico	Tambor de 200 litros	Química Brasil Ltda	1830	25,00 kg	26,10 kg	L24031	2024-03-05	2026-03-05
LINHAS
"$bin/imprime-rotulos" &
programa=$!
janela=$(operador_esperar_janela "Impressão de Rótulos" "$programa")
echo "1. A janela abriu com as configurações iniciais e \"Pequeno\" (porta LPT1)."
import -window "$janela" "$demo/janela.png"
echo "2. O operador escolhe \"Grande\": a porta passa a LPT3."
operador_clicar "$janela" RadioGroup1.1
echo "3. O operador pressiona \"Imprimir\"."
operador_clicar "$janela" Button1
confirmacao=$(operador_esperar_janela "Confirmação" "$programa")
echo "4. \"Confirma Impressão ?\": o operador responde \"Sim\"."
operador_teclas "$confirmacao" Return
echo "5. O rótulo vai para a impressora; dois segundos depois a janela fecha."
operador_esperar_fim "$programa" 30
echo
echo "O programa terminou com status $OPERADOR_STATUS."
echo "Saída da impressora (DPL): $demo/portas/LPT3 ($(wc -c <"$demo/portas/LPT3") bytes)"
echo "Imagem da janela: $demo/janela.png"
echo "Configurações salvas:"
"$bin/rotulos-tabela" listar "C:\\TARVEL\\ConfImpr.db" | sed 's/^/  /'
echo "Rótulos restantes em TMP239.DB: $(("$("$bin/rotulos-tabela" listar "C:\\TARVEL\\TMP239.DB" | wc -l)" - 1))"
