#!/usr/bin/env bash
# Installs, from Debian's archive, whatever the build, the tests and the demo
# need and the machine does not have yet. Safe to run again.
set -euo pipefail
pacotes=(
    build-essential cmake ninja-build pkg-config git
    qt6-base-dev qt6-base-dev-tools
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    pxlib-dev
    clang libclang-rt-14-dev clang-format cppcheck
    xvfb xdotool x11-utils openbox imagemagick fonts-dejavu-core fonts-liberation2
    g++-mingw-w64-x86-64 g++-mingw-w64-i686 wine wine64 wixl
)
faltam=()
for p in "${pacotes[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || faltam+=("$p")
done
[ ${#faltam[@]} -eq 0 ] && exit 0
echo "Instalando: ${faltam[*]}"
sudo_=""
[ "$(id -u)" -ne 0 ] && sudo_="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo_ apt-get update -qq
$sudo_ apt-get install -y -qq --no-install-recommends "${faltam[@]}"
