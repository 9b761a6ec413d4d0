#!/usr/bin/env bash
# Runs the container's test in a Wine prefix of its own, where the stand-in controls are
# registered as in-process servers (nowhere else; the media player's class id there overrides
# Wine's own control):
#   container_under_wine.sh SCRIPTS_DIR WINE_PREFIX TEST_PROGRAM STANDIN_DLL
set -uo pipefail
scripts=$1 prefix=$2 program=$3 standin=$4
shift 4
classes=('{7D1E4B60-2F3A-4C8E-9B1D-5A6C7E8F9003}' '{6BF52A52-394A-11D3-B153-00C04F79FAA6}')

run() { "$scripts/wine-run" --prefix "$prefix" "$@"; }
trap 'run --down' EXIT
run --up "$program" || exit 1
dll="Z:${standin//\//\\}"  # Wine's drive Z: is the host's root
for clsid in "${classes[@]}"; do
  key="HKLM\\Software\\Classes\\CLSID\\$clsid\\InprocServer32"
  run reg add "$key" /ve /d "$dll" /f >/dev/null 2>&1 || exit 1
  run reg add "$key" /v ThreadingModel /d Both /f >/dev/null 2>&1 || exit 1
done
run "$program" "$@"
