#!/usr/bin/env bash
# Tolvanu.exe with Tolvanu_system.dll under Wine on the hub host, driven by the native client:
# keys and pin reach a window of ours in front, the volume reaches the stand-in endpoint (Wine
# 8's own refuses every change), registered in this test's prefix only. A program on the client
# host without a session, and the client after close, are turned away.
#   system_wine.sh TOLVANU_EXE SYSTEM_DLL KEYWINDOW_EXE STANDIN_DLL NATIVE_REMOTE WINE_RUN
# shellcheck source-path=SCRIPTDIR
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/netns.sh"
source "$here/hubhost.sh"
source "$here/winehub.sh"
source "$here/session.sh"
REMOTE=$5
WINE_RUN=$6
[ -x "$REMOTE" ] || e2e_skip "no native client at $REMOTE (build the native preset first)"
command -v wine >/dev/null || e2e_skip "wine is not installed"

e2e_start
hub_prepare "$1" "$2"
wine_hub_up "$1"
register_inproc_server '{BCDE0395-E52F-467C-8E3D-C4579291692E}' "$4"

on_hub_host "$WORK/hub/$(basename "$1")" </dev/null >"$WORK/hub.log" 2>&1 &
netns_track $!
discover_until_offered system
pass "the Windows hub offers system"

on_hub_host "$3" </dev/null >"$WORK/window.log" 2>&1 &
netns_track $!
# Its lines end in CR LF.
window_log() { tr -d '\r' <"$WORK/window.log"; }
window_says() { window_log | grep -qx -- "$1"; }
wait_for_window() {
  local _
  for _ in $(seq 100); do window_says "$1" && return 0; sleep 0.1; done
  return 1
}
wait_for_window front || fail "the test window did not get the front: $(window_log)"

datagram() { in_client bash -c 'printf %s "$1" >"/dev/udp/$2/26001"' _ "$1" "$HUB_ADDR"; }
datagram "k 30"
datagram "system.set_volume 5"
datagram "system.pin"

# Datagrams are handled in order: what the session sees was after the three above. The
# session stays open until every effect is seen: input still queued at close is refused.
session_begin system
for line in "system.get_state" "k 0x1F" "K 0x1F" "k 0xE04D" "K 0xE04D" "system.set_volume 35" \
  "system.get_state" "system.pin"; do
  say "$line"
done
expect_any_report "system.volume 50.0"
expect_any_report "system.volume 35.0"
# A pin reaches the window as a sent message, ahead of input still queued: keys and show
# state are checked apart.
wait_for_window zoomed || session_fail "the window in front was not maximised: $(window_log)"
wait_for_window "up 77 ext" || session_fail "the window did not get the right arrow: $(window_log)"
session_end
expect_status 0 "session"
first=$(window_log | grep -E '^(down|up) ' | head -n 1)
[ "$first" = "down 31" ] || fail "without a session a key reached the window first: '$first'"
window_says "up 31" || fail "the window did not get 'up 31': $(window_log)"
window_says restored && fail "a pin without a session was acted on: $(window_log)"
pass "input and volume without a session do nothing; the session's keys, volume and pin arrive"

datagram "k 0x20"
datagram "system.pin"
session_begin system
for line in "k 0x21" "K 0x21" "system.pin"; do say "$line"; done
wait_for_window restored || session_fail "the second session's pin did not restore: $(window_log)"
wait_for_window "up 33" || session_fail "the second session's key did not arrive: $(window_log)"
session_end
expect_status 0 "second session"
window_says "down 32" && fail "a key arrived after close"
# Had the pin after close been acted on, the session's pin would have maximised again.
[ "$(window_log | grep -c '^zoomed$')" -eq 1 ] || fail "a pin after close was acted on: $(window_log)"
pass "after close the client's input is refused; the next session's pin restores the window"
