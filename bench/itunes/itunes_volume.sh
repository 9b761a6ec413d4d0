#!/usr/bin/env bash
# The Windows build's iTunes session against the stand-in player under Wine, in a prefix of its
# own where the stand-in is the application class's local server.
#   itunes_volume.sh WINDOWS_BUILD_DIR [COUNT]
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "$1" && pwd)
count=${2:-200}
program=$build/bench/driven/itunes_volume.exe
standin=$build/testplugins/player/standin_player.exe
for file in "$program" "$standin"; do
  [ -f "$file" ] || { echo "itunes_volume: not built: $file"; exit 1; }
done
command -v wine >/dev/null || { echo "itunes_volume: wine is not installed"; exit 77; }
run() { "$root/scripts/wine-run" --prefix "$build/wineprefix-itunes-bench" "$@"; }
trap 'run --down' EXIT
run --up "$program" || exit 1
run "$standin" -register || exit 1
run "$program" "$count"
