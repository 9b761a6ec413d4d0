#!/usr/bin/env bash
# Tolvanu.exe with Tolvanu_WMP12.dll under Wine on the hub host, the stand-in player control
# registered in the prefix under the player's class id, and a program owning the "WMP Skin
# Host" window; the native client on the client host opens "media", is handed the session's
# port, and drives volume, transport, position, shuffle and the list. Once the window is gone,
# the hub opens no session for "media".
#   wmp12_wine.sh TOLVANU_EXE WMP12_DLL STANDIN_DLL SKINHOST_EXE NATIVE_REMOTE WINE_RUN
# shellcheck source-path=SCRIPTDIR
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/netns.sh"
source "$here/hubhost.sh"
source "$here/winehub.sh"
REMOTE=$5
WINE_RUN=$6
[ -x "$REMOTE" ] || e2e_skip "no native client at $REMOTE (build the native preset first)"
command -v wine >/dev/null || e2e_skip "wine is not installed"
for file in "$3" "$4"; do [ -f "$file" ] || e2e_skip "not built: $file"; done

e2e_start
hub_prepare "$1" "$2"
WINE_HUB_ENV=(TOLVANU_STANDIN_PLAYLIST="$WORK/playlist.txt" TOLVANU_STANDIN_STATE="$WORK/player.state")
wine_hub_up "$1"
register_inproc_server '{6BF52A52-394A-11D3-B153-00C04F79FAA6}' "$3"
printf '%s\n' 'Artist A|One|200' '|Two|150' 'Artist C||100' >"$WORK/playlist.txt"

on_hub_host "$4" "$(windows_path "$WORK/quit")" </dev/null >"$WORK/skinhost.log" 2>&1 &
skinhost_pid=$!
netns_track "$skinhost_pid"
for _ in $(seq 300); do grep -q ready "$WORK/skinhost.log" && break; sleep 0.1; done
grep -q ready "$WORK/skinhost.log" || fail "the skin host window did not come up: $(cat "$WORK/skinhost.log")"

on_hub_host "$WORK/hub/$(basename "$1")" </dev/null >"$WORK/hub.log" 2>&1 &
netns_track $!
discover_until_offered media
expect_out_line "$HUB_ADDR media" "discover media"
remote open media
expect_status 0 "open media"
[[ "$OUT" =~ ^[1-9][0-9]*$ ]] || fail "open media: handed '$OUT', wanted a port number"
pass "the hub offers media while the player's window exists and hands the client a port"

remote --wait 1500 session media <<'LINES'
media.init
media.get_complete
media.set_volume 35
media.set_pos 50
media.set_shuffle -1
media.set_track 1
media.get_state
LINES
expect_status 0 "session"
grep -qE '^media\.app .+:WMP12$' <<<"$OUT" || fail "media.init: no 'media.app NAME:WMP12': $OUT"
listed=$(sed -n '/^media\.list_start$/,/^media\.list_end$/p' <<<"$OUT" | sed -n 's/^media\.list_title //p')
[ "$listed" = "$(printf '%s\n' 'Artist A - One' 'Two' 'Artist C')" ] || fail "the list report: $listed"
expect_out_line "media.title Artist A - One" "get_complete"
expect_out_line "media.volume 35.00" "set_volume 35"
expect_out_line "media.pos 50.000 1:40 3:20 -1:40" "set_pos 50 on the 200-second item"
expect_out_line "media.shuffle 1" "set_shuffle -1"
expect_out_line "media.title Two" "set_track 1, then get_state"
expect_out_line "media.speed 1.0" "set_track plays"
pass "list, volume, position, shuffle and track reach the stand-in and come back as reports"
# What the stand-in itself holds, written by it from inside the hub's process.
state=$(cat "$WORK/player.state" 2>/dev/null)
[ "$state" = "volume=35 current=1 shuffle=1 loop=0 playState=3" ] ||
  fail "the stand-in's own state after the session: '${state:-none}'"
pass "the stand-in holds volume 35, item 1 playing, shuffle on"

touch "$WORK/quit"
for _ in $(seq 100); do kill -0 "$skinhost_pid" 2>/dev/null || break; sleep 0.1; done
grep -q closed "$WORK/skinhost.log" || fail "the skin host did not end: $(cat "$WORK/skinhost.log")"
remote --timeout 1500 open media
expect_status 3 "open media without the player's window"
pass "without the player's window the hub opens no session for media"
