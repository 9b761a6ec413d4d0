#!/usr/bin/env bash
# The component's file exports GetWinamp5SystemComponent and nothing else:  w5s-exports.sh FILE
set -uo pipefail
names=$(objdump -p "$1" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | sed -nE 's/^\s*\[\s*[0-9]+\] //p')
[ "$names" = GetWinamp5SystemComponent ] || { echo "exports of $1: ${names:-none}"; exit 1; }
