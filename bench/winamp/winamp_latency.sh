#!/usr/bin/env bash
# The Windows build's component inside the stand-in Winamp (a play list of LIST_SIZE generated
# titles) and the echo half of "winamp_latency" under Wine on one network namespace, the
# measuring half under Wine on the other: volume commands to their reports through the component
# beside plain datagram round trips to the echo program, then the whole list.
#   winamp_latency.sh WINDOWS_BUILD_DIR [COUNT] [LISTS] [LIST_SIZE]
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "$1" && pwd)
count=${2:-200}
lists=${3:-5}
size=${4:-1000}
# shellcheck source=../../tests/e2e/netns.sh
source "$root/tests/e2e/netns.sh"
# shellcheck source=../../tests/e2e/hubhost.sh
source "$root/tests/e2e/hubhost.sh"

program=$build/bench/driven/winamp_latency.exe
standin=$build/doubles/winamp/standin_winamp.exe
component=$build/bin/Cordavelle_winamp.w5s
WINE_RUN=$root/scripts/wine-run
for file in "$program" "$standin" "$component"; do
  [ -f "$file" ] || { echo "winamp_latency: not built: $file"; exit 1; }
done
command -v wine >/dev/null || e2e_skip "wine is not installed"
e2e_start

windows_path() { echo "Z:${1//\//\\}"; }
# One prefix per host, its server inside that host's namespace.
on_host() {
  local host=$1
  shift
  user_vars "$host"
  ip netns exec "$([ "$host" = hub ] && echo "$HUB_NS" || echo "$CLIENT_NS")" \
    env -u DISPLAY -u WAYLAND_DISPLAY TOLVANU_ISOLATED=1 "${USER_ENV[@]}" "$WINE_RUN" --prefix "$WORK/$host.prefix" "$@"
}
on_host hub --up "$program" || fail "the Wine prefix did not come up on the hub host"
netns_on_exit "on_host hub --down"
on_host client --up "$program" || fail "the Wine prefix did not come up on the client host"
netns_on_exit "on_host client --down"

lifetime=$((count / 5 + lists * 30 + 240))
on_host hub "$standin" "$(windows_path "$component")" --generate "$size" --seconds "$lifetime" \
  </dev/null >"$WORK/standin.log" 2>&1 &
netns_track $!
echo_port=47023
on_host hub "$program" echo "$echo_port" "$lifetime" </dev/null >"$WORK/echo.log" 2>&1 &
netns_track $!
said_ready() { tr -d '\r' <"$1" | grep -qx ready; }
for _ in $(seq 300); do said_ready "$WORK/standin.log" && said_ready "$WORK/echo.log" && break; sleep 0.1; done
said_ready "$WORK/standin.log" || fail "the component did not start: $(cat "$WORK/standin.log")"
said_ready "$WORK/echo.log" || fail "the echo program did not start: $(cat "$WORK/echo.log")"

echo "(Windows build $(grep -m1 -o 'CMAKE_BUILD_TYPE:STRING=.*' "$build/CMakeCache.txt" | cut -d= -f2): component in the stand-in Winamp with $size titles; $(wine --version 2>/dev/null) on both hosts)"
on_host client "$program" measure "$HUB_ADDR" "$echo_port" "$count" "$lists" </dev/null | tr -d '\r'
status=${PIPESTATUS[0]}
[ "$status" -eq 0 ] || fail "measurement (status $status)"
