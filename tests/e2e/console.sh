#!/usr/bin/env bash
# The hub's terminal console: single keys on its terminal (tmux) list the plug-ins and addresses,
# change the security level and end the hub in order; an access question gets the keys first.
#   console.sh BIN_FOLDER ECHO_PLUGIN
# shellcheck source-path=SCRIPTDIR
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/netns.sh"
source "$here/hubhost.sh"
REMOTE=$1/tolvanu-remote
[ -x "$REMOTE" ] || { echo "FAIL: not built: $REMOTE"; exit 1; }
command -v tmux >/dev/null || e2e_skip "tmux is not installed"

e2e_start
hub_prepare "$1/tolvanu" "$2"

hub_level 1
hub_start_tty
expect_log "keys: 0 trust all" "the one-line help at start"

question="Do you want to give access to Kitchen tablet? [y/N]"
remote_begin client --timeout 20000 --name "Kitchen tablet" open echo
wait_for_log "$question" 10 || fail "level 1 did not ask"
# Neither key is a command while the question waits: "y" answers it.
hub_type y Enter
remote_finish
expect_status 0 "open answered Yes on the console's terminal"
grep -q "^keys: " <<<"$(hub_log | sed -n "/$question/,\$p" | tail -n +2)" &&
  fail "the answer's keys were taken as commands"
pass "a question gets the keys first"

hub_type p
expect_log "plug-in 1: Test (echo) busy, enabled" "p while the echo session runs"
hub_type i
expect_log "address: $HUB_ADDR (current)" "i lists the hub's address"
hub_type 3
expect_log "security: ask every time" "key 3"
pass "plug-ins and addresses listed, level chosen"

hub_type q
expect_log "exit" "q"
for _ in $(seq 200); do _alive "$HUB_PID" || break; sleep 0.1; done
_alive "$HUB_PID" && fail "q did not end the hub"
HUB_PID=
grep -qF '"security"=dword:00000003' "$(user_settings hub)" || fail "the level was not written at exit"
grep -qF 'devices' "$(user_settings hub)" && fail "level 3 kept the accepted devices"
pass "q ends the hub in order: level 3 written, devices forgotten"
