#!/usr/bin/env bash
# The plug-in is a 32-bit x86 PE library exporting the four entry points, undecorated, and
# nothing else:  plugin-exports.sh FILE
set -uo pipefail
head=$(objdump -f "$1" 2>/dev/null | grep -o 'file format pei-i386')
[ -n "$head" ] || { echo "$1 is not PE32 i386"; exit 1; }
names=$(objdump -p "$1" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | sed -nE 's/^\s*\[\s*[0-9]+\] //p' | sort | tr '\n' ' ')
[ "$names" = "Tolvanu_close Tolvanu_connect Tolvanu_init Tolvanu_search " ] || { echo "exports of $1: ${names:-none}"; exit 1; }
