#!/usr/bin/env bash
# The Linux hub started twice: the second copy says so on stderr and ends with -1 (255) while the
# first runs on; the first stops on SIGINT as on Ctrl-C, forgets the devices of level 2 and writes
# its level. Then a first start on a clean profile, stopped by SIGTERM, writes -1.
#   hub_two_copies.sh PATH-TO-tolvanu
set -uo pipefail
hub=$1
work=$(mktemp -d)
started=()
cleanup() {
  for pid in "${started[@]}"; do kill -KILL "$pid" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT

export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run
unset DISPLAY WAYLAND_DISPLAY
mkdir -p "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME/tolvanu"
settings=$XDG_CONFIG_HOME/tolvanu/HKEY_CURRENT_USER.ini

fail() { echo "FAIL: $*" >&2; exit 1; }

# Starts the hub in the background as $hub_pid, its output in $work/$1.out, and waits for its banner.
start_hub() {
  "$hub" >"$work/$1.out" 2>"$work/$1.err" &
  hub_pid=$!
  started+=("$hub_pid")
  for _ in $(seq 200); do
    [ -s "$work/$1.out" ] && return 0
    kill -0 "$hub_pid" 2>/dev/null || fail "$1 copy ended early: $(cat "$work/$1.err")"
    sleep 0.1
  done
  fail "$1 copy printed no banner"
}

# Sends signal $1 to $hub_pid and checks it ends with -1.
stop_hub() {
  kill "-$1" "$hub_pid"
  wait "$hub_pid"
  local status=$?
  [ "$status" -eq 255 ] || fail "SIG$1 ended the hub with status $status: $(cat "$work"/*.err)"
}

cat >"$settings" <<'INI'
[SOFTWARE\Tessary\Tolvanu]
"security"=dword:00000002
[SOFTWARE\Tessary\Tolvanu\devices]
"0042"=dword:00000001
INI

start_hub first
banner=$(head -n 1 "$work/first.out")
[[ $banner =~ ^Tolvanu\ 1\.1\.3\ \(build:\ [0-9]{2}\.[0-9]{2}\.[0-9]{4}\ [0-9]{2}:[0-9]{2}:[0-9]{2}\)$ ]] ||
  fail "banner: $banner"

"$hub" >"$work/second.out" 2>"$work/second.err"
status=$?
[ "$status" -eq 255 ] || fail "the second copy ended with status $status"
[ "$(cat "$work/second.err")" = "Another instance of Tolvanu is running!" ] ||
  fail "the second copy said: $(cat "$work/second.err")"
[ -s "$work/second.out" ] && fail "the second copy started a hub: $(cat "$work/second.out")"
kill -0 "$hub_pid" 2>/dev/null || fail "the first copy ended with the second"
grep -q devices "$settings" || fail "devices forgotten before exit"

stop_hub INT
grep -qx '"security"=dword:00000002' "$settings" || fail "level 2 not written: $(cat "$settings")"
grep -q devices "$settings" && fail "level 2 kept the devices: $(cat "$settings")"

rm -rf "$XDG_CONFIG_HOME"
start_hub clean
stop_hub TERM
grep -qx '"security"=dword:ffffffff' "$XDG_CONFIG_HOME/tolvanu/HKEY_CURRENT_USER.ini" ||
  fail "a clean profile did not get -1"
echo "hub_two_copies: passed"
