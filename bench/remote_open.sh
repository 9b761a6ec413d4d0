#!/usr/bin/env bash
# The node's answer to a bare "search" and the reference client's open, measured across two
# network namespaces: the build's hub with the echo plug-in (level 0) and a datagram reflector on
# one, "remote_open search" and "remote_open measure" on the other.
#   remote_open.sh BUILD_DIR [COUNT]
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
count=${2:-200}
source "$root/tests/e2e/netns.sh"
source "$root/tests/e2e/hubhost.sh"

program=$build/bench/driven/remote_open
[ -x "$program" ] || { echo "remote_open: not built: $program"; exit 1; }
e2e_start
hub_prepare "$build/bin/tolvanu" "$build/testplugins/echo/Tolvanu_echo.so"
hub_level 0
hub_start

reflector=47021
in_hub "$program" reflect "$reflector" 300 &
netns_track $!
sleep 0.2
echo "(hub: the build's own tolvanu, $(grep -m1 -o 'CMAKE_BUILD_TYPE:STRING=.*' "$build/CMakeCache.txt" | cut -d= -f2) build)"
user_vars client
in_client env "${USER_ENV[@]}" "$program" measure "$HUB_ADDR" echo "$reflector" "$count" || exit 1
# Then the node's own answer, from a bare socket on the discovery port: no client library. The
# node knows its address by now (the client's run began with it).
wait_for_log "I'am $HUB_ADDR" 5 || { echo "remote_open: the hub does not know its address"; exit 1; }
in_client "$program" search "$HUB_ADDR" "$CLIENT_ADDR" echo "$reflector" "$count"
