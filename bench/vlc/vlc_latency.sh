#!/usr/bin/env bash
# The build's hub (level 0) with its VLC plug-in and Debian's VLC playing one long tune on one
# network namespace, "vlc_latency" on the other: volume commands through the hub beside the
# same commands straight to VLC's remote-control port, then the hub's CPU in an idle session.
#   vlc_latency.sh BUILD_DIR [COUNT] [IDLE_SECONDS]
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "$1" && pwd)
count=${2:-200}
idle=${3:-60}
# shellcheck source=../../tests/e2e/netns.sh
source "$root/tests/e2e/netns.sh"
# shellcheck source=../../tests/e2e/hubhost.sh
source "$root/tests/e2e/hubhost.sh"
# shellcheck source=../../tests/e2e/vlc/vlchost.sh
source "$root/tests/e2e/vlc/vlchost.sh"

program=$build/bench/driven/vlc_latency
[ -x "$program" ] || { echo "vlc_latency: not built: $program"; exit 1; }
vlc_check_tools
e2e_start
vlc_watchdog $((count * 2 / 5 + idle + 200))
hub_prepare "$build/bin/tolvanu" "$build/bin/Tolvanu_VLC.so"
hub_level 0
user_vars hub
vlc_prepare "$WORK/users/hub/config"
# Longer than the run: no change of track inside it.
vlc_make_tunes "long.flac|Long Tone|900|440"
vlc_write_default_config
hub_start
[ "$(cat "/proc/$HUB_PID/comm" 2>/dev/null)" = tolvanu ] || fail "no hub process at $HUB_PID"
port=$(sed -n 's/^rc-host=localhost:\([0-9][0-9]*\)$/\1/p' "$VLC_CONFIG/vlc/vlcrc" | head -n 1)
[ -n "$port" ] || fail "the plug-in did not prepare vlcrc"
# shellcheck disable=SC2119  # VLC takes the prepared vlcrc, no option of its own
vlc_start
vlc_wait_ready "Long Tone"

echo "(hub: the build's own tolvanu and Tolvanu_VLC, $(grep -m1 -o 'CMAKE_BUILD_TYPE:STRING=.*' "$build/CMakeCache.txt" | cut -d= -f2) build; VLC $(dpkg-query -W -f='${Version}' vlc-bin 2>/dev/null))"
user_vars client
in_client env "${USER_ENV[@]}" "$program" "$HUB_ADDR" "/run/netns/$HUB_NS" "$port" "$HUB_PID" "$count" "$idle"
