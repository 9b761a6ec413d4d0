#!/usr/bin/env bash
# Runs the iTunes connector's tests in a Wine prefix of their own, where the stand-in player is
# the application class's local server (HKCR: Wine ignores per-user classes for local servers);
# the presence case without a registered server runs after the key is gone.
#   itunes_under_wine.sh SCRIPTS_DIR WINE_PREFIX TEST_PROGRAM STANDIN_EXE
set -uo pipefail
scripts=$1 prefix=$2 program=$3 standin=$4
shift 4
key='HKLM\Software\Classes\CLSID\{DC0C2640-1415-4644-875C-6F4D769839BA}'

run() { "$scripts/wine-run" --prefix "$prefix" "$@"; }
trap 'run --down' EXIT
run --up "$program" || exit 1
run "$standin" -register || { echo "itunes_under_wine: the stand-in did not register"; exit 1; }
run "$program" --gtest_filter='-*Unregistered*' "$@" || exit 1
run reg delete "$key" /f >/dev/null 2>&1 || exit 1
TOLVANU_ITUNES_UNREGISTERED=1 run "$program" --gtest_filter='*Unregistered*' "$@"
