#!/usr/bin/env bash
# Runs the system machine's Wine test in a prefix of its own, where the stand-in endpoint is
# registered for the enumerator's class id (nowhere else):
#   system_under_wine.sh SCRIPTS_DIR WINE_PREFIX TEST_PROGRAM STANDIN_DLL
set -uo pipefail
scripts=$1 prefix=$2 program=$3 standin=$4
shift 4
clsid='{BCDE0395-E52F-467C-8E3D-C4579291692E}'

run() { "$scripts/wine-run" --prefix "$prefix" "$@"; }
trap 'run --down' EXIT
run --up "$program" || exit 1
key="HKLM\\Software\\Classes\\CLSID\\$clsid\\InprocServer32"
dll="Z:${standin//\//\\}"  # Wine's drive Z: is the host's root
run reg add "$key" /ve /d "$dll" /f >/dev/null 2>&1 || exit 1
run reg add "$key" /v ThreadingModel /d Both /f >/dev/null 2>&1 || exit 1
run "$program" "$@"
