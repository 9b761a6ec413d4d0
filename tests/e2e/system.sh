#!/usr/bin/env bash
# The native hub with the system plug-in on a host with its own sound server and X display:
# a program on the client host that never opened a session is turned away; the reference
# client opens "system", gets port 26001 and drives the sink, keys and the pin; after close its
# input is refused as well.
#   system.sh BIN_FOLDER
# shellcheck source-path=SCRIPTDIR
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/netns.sh"
source "$here/hubhost.sh"
source "$here/systempeers.sh"
source "$here/session.sh"
REMOTE=$1/tolvanu-remote
[ -x "$REMOTE" ] || { echo "FAIL: not built: $REMOTE"; exit 1; }

peers_skip_unless_installed
e2e_start
peers_up
HUB_ENV=("${PEER_ENV[@]}")
hub_prepare "$1/tolvanu" "$1/Tolvanu_system.so"
hub_level 0
hub_start
expect_log "(service system) loaded" "start"

# One datagram to the service, from a program on the client host that is no session's client.
datagram() { in_client bash -c 'printf %s "$1" >"/dev/udp/$2/26001"' _ "$1" "$HUB_ADDR"; }
key_presses() { xev_log | grep -c "KeyPress event"; }

start_volume=$(sink_percent)
datagram "k 30"
datagram "system.set_volume 5"
datagram "system.pin"
# Answered without a session, and read after the three: the three were handled before it.
datagram "system.init"
expect_log "[system:$CLIENT_ADDR]  system.init" "init without a session"
expect_log "[system] commands from $CLIENT_ADDR ignored: no session open" "input without a session"
[ "$(sink_percent)" = "$start_volume" ] || fail "the volume changed without a session"
[ "$(key_presses)" -eq 0 ] || fail "a key arrived without a session"
front=$(active_window)
window_maximised "$front" && fail "the window was pinned without a session"
pass "without a session, keys, volume and pin do nothing"

remote open system
expect_status 0 "open"
[ "$OUT" = 26001 ] || fail "open system printed '$OUT', wanted 26001"
pass "open system is handed port 26001"

# The session stays open until every effect is seen: input still queued at close is refused.
session_begin system
for line in "system.set_volume 35" "system.get_state" "k 0x1E" "K 0x1E" "k 0xE04D" "K 0xE04D" "system.pin"; do
  say "$line"
done
expect_log "[system:$CLIENT_ADDR]  system.set_volume 35" "session"
wait_until 5 eval '[ "$(sink_percent)" = 35 ]' || session_fail "the sink is at $(sink_percent) %, wanted 35"
expect_any_report "system.volume 35.0"
wait_until 5 eval 'xev_log | grep -A2 "KeyPress event" | grep -q "keycode 38 (keysym 0x61, a)"' ||
  session_fail "no a key in the window"
wait_until 5 eval 'xev_log | grep -A2 "KeyRelease event" | grep -q "keycode 114 (keysym 0xff53, Right)"' ||
  session_fail "no right arrow in the window"
wait_until 5 window_maximised "$front" || session_fail "the window in front was not maximised"
expect_log "[system.pinned] tolvanu-target" "pin"
session_end
expect_status 0 "session"
pass "the client's session sets the sink, types into the window and pins it"

presses=$(key_presses)
refusals=$(log_count "ignored: no session open")
datagram "k 0x1F"
datagram "system.set_volume 5"
datagram "system.init"
wait_until 5 eval '[ "$(log_count "[system:$CLIENT_ADDR]  system.init")" -ge 2 ]' || fail "second init not handled"
wait_until 5 eval '[ "$(log_count "ignored: no session open")" -gt "$refusals" ]' ||
  fail "no refusal logged after close"
[ "$(key_presses)" -eq "$presses" ] || fail "a key arrived after close"
[ "$(sink_percent)" = 35 ] || fail "the volume changed after close"
pass "after close the client's input is refused"
