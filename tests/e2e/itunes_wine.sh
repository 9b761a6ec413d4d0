#!/usr/bin/env bash
# Tolvanu.exe with Tolvanu_iTunes.dll under Wine on the hub host, beside the stand-in player (the
# application class's local server in the hub host's prefix); the native client on the client
# host opens "media", is handed the session's port, and drives transport, volume, rating, search
# and the list. The stand-in's own state is checked too.
#   itunes_wine.sh TOLVANU_EXE ITUNES_DLL STANDIN_EXE NATIVE_REMOTE WINE_RUN
# shellcheck source-path=SCRIPTDIR
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/netns.sh"
source "$here/hubhost.sh"
source "$here/winehub.sh"
REMOTE=$4
WINE_RUN=$5
[ -x "$REMOTE" ] || e2e_skip "no native client at $REMOTE (build the native preset first)"
command -v wine >/dev/null || e2e_skip "wine is not installed"
[ -f "$3" ] || e2e_skip "not built: $3"

e2e_start
hub_prepare "$1" "$2"
wine_hub_up "$1"
on_hub_host "$3" -register >/dev/null 2>&1 || fail "the stand-in player did not register"

state=$WORK/state.txt
on_hub_host "$3" --state "$(windows_path "$state")" </dev/null >"$WORK/standin.log" 2>&1 &
netns_track $!
standin_state() { tr -d '\r' 2>/dev/null <"$state"; }
wait_for_state() {
  local _
  for _ in $(seq 150); do [ "$(standin_state)" = "$1" ] && return 0; sleep 0.1; done
  return 1
}
wait_for_state "state play=0 volume=50 track=0 rating=0 shuffle=0 repeat=0" ||
  fail "the stand-in did not start as set up: $(standin_state)"
pass "the stand-in player runs"

on_hub_host "$WORK/hub/$(basename "$1")" </dev/null >"$WORK/hub.log" 2>&1 &
netns_track $!
discover_until_offered media
remote open media
expect_status 0 "open media"
[[ "$OUT" =~ ^[0-9]+$ ]] && [ "$OUT" -gt 0 ] || fail "open media: handed '$OUT', wanted a port"
pass "the hub offers media and hands the client the session's port"

remote --wait 1500 session media <<'LINES'
media.init
media.get_complete
media.set_volume 30
media.set_rating 60
media.search third
media.set_shuffle -1
LINES
expect_status 0 "session"
grep -qE '^media\.app .+:iTunes$' <<<"$OUT" || fail "media.init: no 'media.app NAME:iTunes'"
listed=$(sed -n '/^media\.list_start$/,/^media\.list_end$/p' <<<"$OUT" | sed -n 's/^media\.list_title //p')
[ "$listed" = "$(printf '%s\n' "Alpha - First" "Second" "Gamma - Third")" ] ||
  fail "the list report is not the playlist in play order: $listed"
expect_out_line "media.volume 30.00" "set_volume 30"
expect_out_line "media.rating 60" "set_rating 60"
expect_out_line "media.shuffle 1" "set_shuffle -1"
expect_out_line "media.title Gamma - Third" "search third"
expect_out_line "media.track 2" "search third"
wait_for_state "state play=1 volume=30 track=2 rating=100 shuffle=1 repeat=0" ||
  fail "the stand-in's state after the session: $(standin_state)"
pass "list, volume, rating, shuffle and search reach the stand-in and come back as reports"

remote --wait 1000 session media <<'LINES'
media.play
media.set_repeat 1
LINES
expect_status 0 "second session"
expect_out_line "media.speed 0.0" "play while playing"
expect_out_line "media.repeat 1" "set_repeat 1"
wait_for_state "state play=0 volume=30 track=2 rating=100 shuffle=1 repeat=2" ||
  fail "the stand-in's state after the second session: $(standin_state)"
pass "play toggles to pause and repeat turns on all songs"
