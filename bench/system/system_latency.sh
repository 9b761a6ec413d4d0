#!/usr/bin/env bash
# The build's hub (level 0) with its system plug-in, its own PulseAudio and X display and a
# datagram reflector on one network namespace; "system_latency" on the other: the hub's idle
# cost without plug-ins and with this one before any session, keys and volume through a
# session, then the idle cost while active, and last with every native plug-in loaded.
#   system_latency.sh BUILD_DIR [KEYS] [VOLUMES] [IDLE_SECONDS] [ALL_PLUGINS_IDLE_SECONDS]
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "$1" && pwd)
keys=${2:-500}
volumes=${3:-200}
idle=${4:-60}
all_idle=${5:-300}
# shellcheck source=../../tests/e2e/netns.sh
source "$root/tests/e2e/netns.sh"
# shellcheck source=../../tests/e2e/hubhost.sh
source "$root/tests/e2e/hubhost.sh"
# shellcheck source=../../tests/e2e/systempeers.sh
source "$root/tests/e2e/systempeers.sh"

program=$build/bench/driven/system_latency
REMOTE=$build/bin/tolvanu-remote
[ -x "$program" ] || { echo "system_latency: not built: $program"; exit 1; }
peers_skip_unless_installed
e2e_start
peers_up
HUB_ENV=("${PEER_ENV[@]}")
echo "(hub: the build's own tolvanu and Tolvanu_system, $(grep -m1 -o 'CMAKE_BUILD_TYPE:STRING=.*' "$build/CMakeCache.txt" | cut -d= -f2) build)"
# The hub without plug-ins first: the plug-in's own cost is the difference.
hub_prepare "$build/bin/tolvanu"
hub_level 0
hub_start
"$program" idle "$HUB_PID" "$idle" "hub alone, no plug-in" | tee "$WORK/alone.txt"
alone=$(sed -n 's/.* \([0-9.]*\) % of one core.*/\1/p' "$WORK/alone.txt")
[ -n "$alone" ] || fail "idle measurement"
hub_stop
hub_prepare "$build/bin/Tolvanu_system.so"
hub_start
[ "$(cat "/proc/$HUB_PID/comm" 2>/dev/null)" = tolvanu ] || fail "no hub process at $HUB_PID"
reflector=47022
in_hub "$program" reflect "$reflector" $((idle * 2 + keys + volumes + 120)) &
netns_track $!

"$program" idle "$HUB_PID" "$idle" "no session" 0.01 "$alone" || fail "idle measurement"
remote open system
[ "$RC" -eq 0 ] && [ "$OUT" = 26001 ] || fail "open system"
in_client env "${PEER_ENV[@]}" "$program" measure "$HUB_ADDR" "$reflector" "$keys" "$volumes" || fail "measurement (status $?)"
"$program" idle "$HUB_PID" "$idle" "session open, no change" 0.01 "$alone" || fail "idle measurement"

# What a desktop pays all day: every native plug-in loaded, VLC not running, no client.
hub_stop
hub_prepare "$build/bin/Tolvanu_VLC.so"
hub_start
"$program" idle "$HUB_PID" "$all_idle" "every native plug-in, no session" 0.01 || fail "idle measurement"
