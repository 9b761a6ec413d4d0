#!/usr/bin/env bash
# Runs the connector's test against Wine's own media player control, in a prefix where the
# stand-in is not registered:  wine_own_control.sh SCRIPTS_DIR WINE_PREFIX TEST_PROGRAM
set -uo pipefail
scripts=$1 prefix=$2 program=$3
run() { "$scripts/wine-run" --prefix "$prefix" "$@"; }
trap 'run --down' EXIT
run --up "$program" || exit 1
TOLVANU_WMP_WINE_OWN=1 run "$program" --gtest_filter='WineOwnControl.*'
